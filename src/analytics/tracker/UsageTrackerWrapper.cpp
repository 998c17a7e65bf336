#include "analytics/tracker/UsageTrackerWrapper.h"

#include <cstdio>

namespace zoren::usage {

template <class Operation>
void UsageTrackerWrapper::guarded(const char* failureLine, Operation operation) {
    if (!impl_) {
        return;
    }
    try {
        operation(*impl_);
    } catch (...) {
        if (impl_->getLogger() != nullptr) {
            std::printf("%s\n", failureLine);
            std::fflush(stdout);
        }
    }
}

void UsageTrackerWrapper::trackActivity(const ZrContextProperties& context) {
    guarded("Failed to trackActivity", [&](UsageTracker& t) { t.trackActivity(context); });
}

void UsageTrackerWrapper::trackLaunch(const ZrContextProperties& context) {
    guarded("Failed to trackLaunch", [&](UsageTracker& t) { t.trackLaunch(context); });
}

void UsageTrackerWrapper::trackLogin(const ZrUserInfo& user, bool succeeded,
                                     const std::string& reason,
                                     const ZrContextProperties& context) {
    guarded("Failed to trackLogin",
            [&](UsageTracker& t) { t.trackLogin(user, succeeded, reason, context); });
}

void UsageTrackerWrapper::trackClick(const ZrEventClick& event,
                                     const ZrContextProperties& context) {
    guarded("Failed to trackClick", [&](UsageTracker& t) { t.trackClick(event, context); });
}

void UsageTrackerWrapper::trackView(const ZrEventView& event, const ZrContextProperties& context) {
    guarded("Failed to trackView", [&](UsageTracker& t) { t.trackView(event, context); });
}

void UsageTrackerWrapper::trackCashier(const ZrEventCashier& event,
                                       const ZrContextProperties& context) {
    guarded("Failed to trackCashier", [&](UsageTracker& t) { t.trackCashier(event, context); });
}

void UsageTrackerWrapper::trackShare(const ZrEventShare& event,
                                     const ZrContextProperties& context) {
    guarded("Failed to trackShare", [&](UsageTracker& t) { t.trackShare(event, context); });
}

void UsageTrackerWrapper::trackTask(const ZrEventTask& event, const ZrContextProperties& context) {
    guarded("Failed to trackTask", [&](UsageTracker& t) { t.trackTask(event, context); });
}

void UsageTrackerWrapper::trackFile(const ZrEventFile& event, const ZrContextProperties& context) {
    guarded("Failed to trackFile", [&](UsageTracker& t) { t.trackFile(event, context); });
}

void UsageTrackerWrapper::trackOrder(const ZrEventOrder& event,
                                     const ZrContextProperties& context) {
    guarded("Failed to trackOrder", [&](UsageTracker& t) { t.trackOrder(event, context); });
}

void UsageTrackerWrapper::trackPayment(const ZrEventPayment& event,
                                       const ZrContextProperties& context) {
    guarded("Failed to trackPayment", [&](UsageTracker& t) { t.trackPayment(event, context); });
}

void UsageTrackerWrapper::trackUninstall(const std::string& reason,
                                         const ZrContextProperties& context) {
    guarded("Failed to trackUninstall",
            [&](UsageTracker& t) { t.trackUninstall(reason, context); });
}

void UsageTrackerWrapper::trackCrash(const std::string& reason) {
    guarded("Failed to trackCrash", [&](UsageTracker& t) { t.trackCrash(reason); });
}

void UsageTrackerWrapper::trackUpdate(const ZrEventUpdate& event,
                                      const ZrContextProperties& context) {
    guarded("Failed to trackUpdate", [&](UsageTracker& t) { t.trackUpdate(event, context); });
}

void UsageTrackerWrapper::trackAppOpenNotification(const ZrEventAppOpenNotification* event,
                                                   const ZrContextProperties& context) {
    guarded("Failed to trackAppOpenNotification",
            [&](UsageTracker& t) { t.trackAppOpenNotification(event, context); });
}

void UsageTrackerWrapper::setLocale(const std::string& locale) {
    if (impl_) {
        impl_->setLocale(locale);
    }
}

std::string UsageTrackerWrapper::getPrimaryDistinctId() {
    return impl_ ? impl_->getPrimaryDistinctId() : std::string();
}

}  // namespace zoren::usage
