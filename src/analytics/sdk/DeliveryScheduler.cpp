#include "analytics/sdk/DeliveryScheduler.h"

#include <chrono>
#include <mutex>
#include <thread>

#include "analytics/sdk/LastDelivery.h"
#include "analytics/sdk/Sdk.h"
#include "platform/DebugOutput.h"

namespace usage_analytics {

namespace {

constexpr int kFlushAttempts = 3;
// A crash inside a delivery must not hang the crash report for good.
constexpr std::chrono::seconds kCrashLockWait{5};

// Deliveries of every tracker of the process run one at a time. Never destroyed: detached
// delivery threads may still wait on it while the process exits.
std::timed_mutex& DeliveryLock() {
    static auto* lock = new std::timed_mutex;
    return *lock;
}

}  // namespace

// Shared with the delivery threads, which may outlive the scheduler.
struct DeliveryScheduler::State {
    std::atomic<int> pending{0};  // only zero versus non-zero matters
    bool stopped = false;         // guarded by DeliveryLock()

    // Called with DeliveryLock() held.
    void Deliver() {
        if (!stopped) {
            FlushWhilePending(true);
        }
    }

    void FlushWhilePending(bool pauseBetweenAttempts) {
        for (int attempt = 0; attempt < kFlushAttempts && pending > 0; ++attempt) {
            if (Sdk::FlushAll()) {
                pending = 0;
                return;
            }
            if (pauseBetweenAttempts) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        }
    }
};

DeliveryScheduler::DeliveryScheduler() : state_(std::make_shared<State>()) {}

DeliveryScheduler::~DeliveryScheduler() {
    std::lock_guard<std::timed_mutex> guard(DeliveryLock());
    state_->stopped = true;
}

void DeliveryScheduler::RaisePending(int count) {
    state_->pending += count;
}

int DeliveryScheduler::Pending() const {
    return state_->pending;
}

void DeliveryScheduler::RequestDelivery(bool flushNow) {
    if (!flushNow) {
        // Marked at once rather than on a thread of its own: a mark still on its way when the
        // tracker shuts down would leave the record undelivered.
        state_->pending += 1;
        return;
    }
    if (LastDeliverySucceeded()) {
        std::lock_guard<std::timed_mutex> guard(DeliveryLock());
        state_->Deliver();
        return;
    }
    win32::OutputDebugStringW(L"[Usage] Sending messages asynchronously");
    std::thread([state = state_] {
        std::lock_guard<std::timed_mutex> guard(DeliveryLock());
        state->Deliver();
    }).detach();
}

void DeliveryScheduler::DeliverNow() {
    std::unique_lock<std::timed_mutex> guard(DeliveryLock(), kCrashLockWait);
    if (guard.owns_lock()) {
        state_->Deliver();
    }
}

void DeliveryScheduler::Shutdown() {
    std::lock_guard<std::timed_mutex> guard(DeliveryLock());
    if (state_->stopped) {
        return;
    }
    state_->stopped = true;
    state_->FlushWhilePending(false);
}

}  // namespace usage_analytics
