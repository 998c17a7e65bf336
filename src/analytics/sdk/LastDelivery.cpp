#include "analytics/sdk/LastDelivery.h"

#include <mutex>

namespace usage_analytics {

namespace {

std::mutex& FlagLock() {
    static std::mutex lock;
    return lock;
}

// Starts false, so the first delivery of a run never blocks its caller.
bool lastDeliverySucceeded = false;  // guarded by FlagLock()

}  // namespace

bool LastDeliverySucceeded() {
    std::lock_guard<std::mutex> guard(FlagLock());
    return lastDeliverySucceeded;
}

void SetLastDeliverySucceeded(bool succeeded) {
    std::lock_guard<std::mutex> guard(FlagLock());
    lastDeliverySucceeded = succeeded;
}

}  // namespace usage_analytics
