// The analytics interface applications call, and the process-wide tracker behind it.
// No tracking operation ever throws to its caller.
#pragma once

#include <memory>
#include <string>

#include "analytics/tracker/ZrContextProperties.h"
#include "analytics/tracker/ZrEvents.h"

namespace zoren::usage {

class TrackLogger;

class UsageTracker {
  public:
    virtual ~UsageTracker() = default;
    virtual void trackActivity(const ZrContextProperties& context) = 0;
    virtual void trackLaunch(const ZrContextProperties& context) = 0;
    virtual void trackLogin(const ZrUserInfo& user, bool succeeded, const std::string& reason,
                            const ZrContextProperties& context) = 0;
    virtual void trackClick(const ZrEventClick& event, const ZrContextProperties& context) = 0;
    virtual void trackView(const ZrEventView& event, const ZrContextProperties& context) = 0;
    virtual void trackCashier(const ZrEventCashier& event, const ZrContextProperties& context) = 0;
    virtual void trackShare(const ZrEventShare& event, const ZrContextProperties& context) = 0;
    virtual void trackTask(const ZrEventTask& event, const ZrContextProperties& context) = 0;
    virtual void trackFile(const ZrEventFile& event, const ZrContextProperties& context) = 0;
    virtual void trackOrder(const ZrEventOrder& event, const ZrContextProperties& context) = 0;
    virtual void trackPayment(const ZrEventPayment& event, const ZrContextProperties& context) = 0;
    virtual void trackUninstall(const std::string& reason, const ZrContextProperties& context) = 0;
    virtual void trackCrash(const std::string& reason) = 0;
    virtual void trackUpdate(const ZrEventUpdate& event, const ZrContextProperties& context) = 0;
    virtual void trackAppOpenNotification(const ZrEventAppOpenNotification* event,
                                          const ZrContextProperties& context) = 0;
    // Language, "_", country.
    virtual void setLocale(const std::string& locale) = 0;
    virtual std::string getPrimaryDistinctId() = 0;
    virtual TrackLogger* getLogger() = 0;
};

// Creates and initialises the process's tracker, replacing any earlier one. A tracker whose
// initialisation failed is installed all the same: it validates records but queues none.
void createTracker(const ZrTrackerConfig& config);

// Empties the holder; the last reference shuts the tracker down, which delivers what is
// still queued.
void releaseTracker();

// The process's tracker, or null before createTracker and after releaseTracker.
std::shared_ptr<UsageTracker> sharedTracker();

}  // namespace zoren::usage
