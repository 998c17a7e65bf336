// The tracker: typed event records become SDK records with fixed property names, carrying
// the context properties and the presets, and their delivery is requested.
#pragma once

#include <memory>

#include "analytics/sdk/DeliveryScheduler.h"
#include "analytics/sdk/ObjectNode.h"
#include "analytics/tracker/NativeTrackLogger.h"
#include "analytics/tracker/TrackerContext.h"
#include "analytics/tracker/UsageTracker.h"

namespace zoren::usage {

class UsageTrackerImpl : public UsageTracker {
  public:
    explicit UsageTrackerImpl(const ZrTrackerConfig& config);
    // Saves the identity, delivers what is pending and shuts the SDK down.
    ~UsageTrackerImpl() override;

    // Loads the identity and starts the SDK; raises a ZrException when that fails.
    void init();

    void trackActivity(const ZrContextProperties& context) override;
    void trackLaunch(const ZrContextProperties& context) override;
    void trackLogin(const ZrUserInfo& user, bool succeeded, const std::string& reason,
                    const ZrContextProperties& context) override;
    void trackClick(const ZrEventClick& event, const ZrContextProperties& context) override;
    void trackView(const ZrEventView& event, const ZrContextProperties& context) override;
    void trackCashier(const ZrEventCashier& event, const ZrContextProperties& context) override;
    void trackShare(const ZrEventShare& event, const ZrContextProperties& context) override;
    void trackTask(const ZrEventTask& event, const ZrContextProperties& context) override;
    void trackFile(const ZrEventFile& event, const ZrContextProperties& context) override;
    void trackOrder(const ZrEventOrder& event, const ZrContextProperties& context) override;
    void trackPayment(const ZrEventPayment& event, const ZrContextProperties& context) override;
    void trackUninstall(const std::string& reason, const ZrContextProperties& context) override;
    void trackCrash(const std::string& reason) override;
    void trackUpdate(const ZrEventUpdate& event, const ZrContextProperties& context) override;
    void trackAppOpenNotification(const ZrEventAppOpenNotification* event,
                                  const ZrContextProperties& context) override;
    void setLocale(const std::string& locale) override;
    std::string getPrimaryDistinctId() override;
    TrackLogger* getLogger() override;

  private:
    // Track, then raise the pending count and ask for a delivery as the event kind wants.
    void send(const std::string& eventName, const usage_analytics::PropertiesNode& properties,
              int pendingRaise, bool flushNow);

    const ZrTrackerConfig config_;
    std::string serverUrl_;
    std::unique_ptr<NativeTrackLogger> logger_;
    // Written by init, a login and a successful payment, which the application does not run
    // concurrently with each other.
    TrackerContext context_;
    usage_analytics::DeliveryScheduler delivery_;
};

}  // namespace zoren::usage
