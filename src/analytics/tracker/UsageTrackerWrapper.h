// Keeps every tracking failure away from the application: each operation runs guarded, and
// a failure costs one line on the standard output stream.
#pragma once

#include <memory>

#include "analytics/tracker/UsageTrackerImpl.h"

namespace zoren::usage {

class UsageTrackerWrapper : public UsageTracker {
  public:
    explicit UsageTrackerWrapper(std::unique_ptr<UsageTrackerImpl> impl) : impl_(std::move(impl)) {}

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
    // The wrapper keeps no logger of its own.
    TrackLogger* getLogger() override { return nullptr; }

  private:
    template <class Operation>
    void guarded(const char* failureLine, Operation operation);

    const std::unique_ptr<UsageTrackerImpl> impl_;
};

}  // namespace zoren::usage
