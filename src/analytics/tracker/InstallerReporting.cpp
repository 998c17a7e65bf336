#include "analytics/tracker/InstallerReporting.h"

#include "analytics/tracker/UsageTracker.h"
#include "analytics/tracker/ZrException.h"
#include "shell/LaunchConfig.h"
#include "utils/TextConversion.h"

namespace zoren::usage {

namespace {

// The tracker to report to, or null when analytics is off or no tracker is started.
std::shared_ptr<UsageTracker> reportingTracker() {
    if (!Shell::GetLaunchConfig().IsEnableAppAnalytics) {
        return nullptr;
    }
    return sharedTracker();
}

// Registers the report's A/B group as "zrc_ab" for the event type. False when the group is
// not a valid A/B value, and the report is then not made: a report must never fail the
// installer.
bool applyAbGroup(const ReportProperties& properties, ZrContextProperties& context, int eventType) {
    const auto group = properties.find(L"AB");
    if (group == properties.end()) {
        return true;
    }
    const std::string value = Utils::ToUtf8(group->second);
    try {
        if (isValidABValue(value)) {
            context.setProperty(value, {eventType});
        }
    } catch (const ZrException&) {
        return false;
    }
    return true;
}

}  // namespace

void StartTracker() {
    const Shell::LaunchConfig& launch = Shell::GetLaunchConfig();
    if (!launch.IsEnableAppAnalytics) {
        return;
    }
    ZrTrackerConfig config;
    config.appName = Utils::ToUtf8(launch.ProductName + launch.DlAppNameSuffix);
    config.appVersion = Utils::ToUtf8(launch.ProductVersion);
    config.appStore = Utils::ToUtf8(launch.InstallerFileName);
    config.dlAppId = Utils::ToUtf8(launch.ProductName);
    config.dlAppVersion = Utils::ToUtf8(launch.m_DlAppVersion);
    config.edition = ZrEdition::China;
    createTracker(config);
}

void ReportInstallerEvent(const std::wstring& event, const std::wstring& detail,
                          float elapsedSeconds, ReportProperties properties) {
    const auto tracker = reportingTracker();
    ZrContextProperties context;
    if (!tracker || !applyAbGroup(properties, context, kEventTask)) {
        return;
    }
    ZrEventTask task;
    task.name = Utils::ToUtf8(event);
    task.reason = Utils::ToUtf8(detail);
    task.elapsed = elapsedSeconds;
    task.result = ZrResult::Success;
    tracker->trackTask(task, context);
}

void ReportInstallerClick(ReportProperties properties, const std::wstring& buttonText) {
    const auto tracker = reportingTracker();
    ZrContextProperties context;
    if (!tracker || !applyAbGroup(properties, context, kEventClick)) {
        return;
    }
    ZrEventClick click;
    click.name = Utils::ToUtf8(buttonText);
    click.clickType = ClickType::Button;
    tracker->trackClick(click, context);
}

void ReportInstallerPage(ReportProperties properties) {
    const auto tracker = reportingTracker();
    ZrContextProperties context;
    if (!tracker || !applyAbGroup(properties, context, kEventView)) {
        return;
    }
    ZrEventView view;
    view.name = Utils::ToUtf8(L"安装中");
    tracker->trackView(view, context);
}

void ReportInstallerCrash() {
    if (const auto tracker = reportingTracker()) {
        tracker->trackCrash(Utils::ToUtf8(L"崩溃"));
    }
}

}  // namespace zoren::usage
