#include "analytics/tracker/UsageTracker.h"

#include <atomic>

#include "analytics/tracker/UsageTrackerWrapper.h"

namespace zoren::usage {

namespace {

// Read from any thread (reports from worker threads and the crash filter) while the main
// thread creates or releases it.
std::atomic<std::shared_ptr<UsageTracker>> holder;

}  // namespace

void createTracker(const ZrTrackerConfig& config) {
    // The previous tracker goes first: the process has one SDK instance, and a tracker shut
    // down after its successor started would take the successor's instance with it.
    releaseTracker();
    auto impl = std::make_unique<UsageTrackerImpl>(config);
    try {
        impl->init();
    } catch (...) {
        // A tracker that could not start still validates what it is given.
    }
    holder.store(std::make_shared<UsageTrackerWrapper>(std::move(impl)));
}

void releaseTracker() {
    holder.store(nullptr);
}

std::shared_ptr<UsageTracker> sharedTracker() {
    return holder.load();
}

}  // namespace zoren::usage
