#include "analytics/tracker/UsageTrackerImpl.h"

#include <cstdio>

#include "analytics/sdk/Sdk.h"
#include "analytics/tracker/CollectionUrl.h"
#include "analytics/tracker/NativeUserTracker.h"
#include "analytics/tracker/PresetProperties.h"
#include "analytics/tracker/ZrException.h"
#include "platform/CodePage.h"
#include "utils/TextConversion.h"

namespace zoren::usage {

namespace {

using usage_analytics::PropertiesNode;
using usage_analytics::Sdk;

constexpr char kInstallSource[] = "android_id=123##imei=1234##mac=123";

void setText(PropertiesNode& properties, const std::string& name, const std::string& value) {
    if (!value.empty()) {
        properties.SetString(name, ensureUtf8(value));
    }
}

void setContext(PropertiesNode& properties, const ZrContextProperties& context, int eventType) {
    for (const auto& entry : context.getEventProperties(eventType)) {
        properties.SetString(entry.name, *entry.value);
    }
}

// Every event that counts as a first occurrence ends its properties this way.
void setFirstTimeContext(PropertiesNode& properties, const ZrContextProperties& context,
                         int eventType) {
    properties.SetBool("$is_first_time", true);
    setContext(properties, context, eventType);
}

template <class Number>
void setOptionalInteger(PropertiesNode& properties, const std::string& name,
                        const std::optional<Number>& value) {
    if (value) {
        properties.SetInteger(name, *value);
    }
}

void setOptionalNumber(PropertiesNode& properties, const std::string& name,
                       const std::optional<float>& value) {
    if (value) {
        properties.SetNumber(name, *value);
    }
}

void setPositive(PropertiesNode& properties, const std::string& name, float value) {
    if (value > 0) {
        properties.SetNumber(name, value);
    }
}

// Results other than Unknown; a value outside the enumeration still raises.
void setDecidedResult(PropertiesNode& properties, const std::string& name,
                      const std::optional<ZrResult>& result) {
    if (!result) {
        return;
    }
    const std::string text = toString(*result);
    if (*result != ZrResult::Unknown) {
        properties.SetString(name, text);
    }
}

std::string sixDecimals(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%f", value);
    return text;
}

}  // namespace

UsageTrackerImpl::UsageTrackerImpl(const ZrTrackerConfig& config) : config_(config) {}

UsageTrackerImpl::~UsageTrackerImpl() {
    if (!context_.settingsPath.empty()) {
        context_.saveIdentity();
    }
    delivery_.Shutdown();
    Sdk::Shutdown();
}

void UsageTrackerImpl::init() {
    if (config_.appName.empty()) {
        ZR_RAISE("init", "appName is empty");
    }
    if (config_.appVersion.empty()) {
        ZR_RAISE("init", "appVersion is empty");
    }
    if (config_.appStore.empty()) {
        ZR_RAISE("init", "appStore is empty");
    }
    context_.locateFiles(config_.appName, config_.logPath);
    context_.loadIdentity();
    serverUrl_ = config_.serverUrl.empty() ? defaultCollectionUrl() : config_.serverUrl;
    context_.applyServerUrl(serverUrl_);
    logger_ = std::make_unique<NativeTrackLogger>(context_.logPath);
    const std::string& identity = context_.loggedIn ? context_.userId : context_.distinctId;
    if (!Sdk::Init(Utils::WideToMultiByte(context_.sdkDataFile, win32::CP_ACP), serverUrl_,
                   identity, context_.loggedIn)) {
        ZR_RAISE("init", "usage_analytics::Sdk::Init is failed");
    }
    Sdk::RegisterSuperProperties(presetProperties(config_, context_.userId, context_.locale));
    context_.writeUninstallInfo(config_.appStore, config_.appName, config_.appVersion);
}

void UsageTrackerImpl::send(const std::string& eventName, const PropertiesNode& properties,
                            int pendingRaise, bool flushNow) {
    Sdk::Track(eventName, properties);
    delivery_.RaisePending(pendingRaise);
    delivery_.RequestDelivery(flushNow);
}

void UsageTrackerImpl::trackActivity(const ZrContextProperties& context) {
    PropertiesNode properties;
    setContext(properties, context, kEventActivity);
    setText(properties, "zr_app_store", config_.appStore);
    setText(properties, "zr_app_id", config_.appName);
    setText(properties, "$app_id", config_.appName);
    setText(properties, "$app_version", config_.appVersion);
    properties.SetString("$ios_install_source", kInstallSource);
    setText(properties, "$user_agent", userAgent());
    properties.SetBool("$is_first_time", true);
    properties.SetString("$os", "Windows");
    properties.SetString("$os_version", operatingSystemName());
    Sdk::TrackInstallation("ZrEventActivity", properties);
    delivery_.RaisePending(NativeUserTracker::activityProfile(
        operatingSystemName(), config_.appStore, config_.appName, config_.appVersion));
    delivery_.RequestDelivery(true);
}

void UsageTrackerImpl::trackLaunch(const ZrContextProperties& context) {
    PropertiesNode properties;
    setContext(properties, context, kEventLaunch);
    Sdk::Track("ZrEventLaunch", properties);
    if (!context_.userId.empty()) {
        delivery_.RaisePending(NativeUserTracker::launchProfile());
    }
    delivery_.RequestDelivery(true);
}

void UsageTrackerImpl::trackLogin(const ZrUserInfo& user, bool succeeded, const std::string& reason,
                                  const ZrContextProperties& context) {
    PropertiesNode properties;
    if (!user.userId.empty()) {
        properties.SetString("zr_user_id", user.userId);
        properties.SetString("zr_login_id", user.userId);
    }
    properties.SetString("zr_type", toString(user.userType));
    properties.SetString("zr_result", succeeded ? "Success" : "Fail");
    setText(properties, "zr_reason", reason);
    if (!user.userId.empty()) {
        properties.SetBool("$is_first_time", true);
    }
    setContext(properties, context, kEventLogin);
    Sdk::Track("ZrEventLogin", properties);
    if (!user.userId.empty()) {
        context_.vipLevel = user.vipLevel;
        if (!context_.loggedIn || context_.userId.empty()) {
            Sdk::TrackSignup(user.userId);
            context_.loggedIn = true;
            context_.userId = user.userId;
            context_.distinctId = user.userId;
            PropertiesNode userProperty;
            userProperty.SetString("zr_user_id", user.userId);
            Sdk::RegisterSuperProperties(userProperty);
        }
        context_.saveIdentity();
    }
    delivery_.RequestDelivery(true);
}

void UsageTrackerImpl::trackClick(const ZrEventClick& event, const ZrContextProperties& context) {
    if (event.name.empty()) {
        ZR_RAISE("trackClick", "zrEventClick.name is empty");
    }
    PropertiesNode properties;
    setText(properties, "zr_aname", event.aname);
    setText(properties, "zr_name", event.name);
    properties.SetString("zr_click_type", toString(event.clickType));
    setText(properties, "zr_title", event.title);
    setText(properties, "zr_module", event.module);
    setText(properties, "zr_position", event.position);
    setOptionalInteger(properties, "zr_tab_index", event.tabIndex);
    setText(properties, "zr_tab_name", event.tabName);
    setOptionalInteger(properties, "zr_banner_index", event.bannerIndex);
    setText(properties, "zr_banner_name", event.bannerName);
    setFirstTimeContext(properties, context, kEventClick);
    send("ZrEventClick", properties, 1, false);
}

void UsageTrackerImpl::trackView(const ZrEventView& event, const ZrContextProperties& context) {
    if (event.name.empty()) {
        ZR_RAISE("trackView", "zrEventView.name is empty");
    }
    PropertiesNode properties;
    setText(properties, "zr_aname", event.aname);
    setText(properties, "zr_name", event.name);
    setText(properties, "zr_title", event.title);
    setText(properties, "zr_position", event.position);
    setFirstTimeContext(properties, context, kEventView);
    send("ZrEventView", properties, 1, false);
}

void UsageTrackerImpl::trackCashier(const ZrEventCashier& event,
                                    const ZrContextProperties& context) {
    if (event.zr_cashier_name.empty()) {
        ZR_RAISE("trackCashier", "zrEventCashier.zr_cashier_name is empty");
    }
    PropertiesNode properties;
    setText(properties, "zr_cashier_name", event.zr_cashier_name);
    setText(properties, "zr_cashier_title", event.cashierTitle);
    setText(properties, "zr_subitem", event.subitem);
    setFirstTimeContext(properties, context, kEventCashier);
    send("ZrEventCashier", properties, 1, false);
}

void UsageTrackerImpl::trackShare(const ZrEventShare& event, const ZrContextProperties& context) {
    PropertiesNode properties;
    setText(properties, "zr_aname", event.aname);
    setText(properties, "zr_channel", event.channel);
    setText(properties, "zr_position", event.position);
    setText(properties, "zr_shared_name", event.sharedName);
    if (event.result) {
        properties.SetString("zr_result", toString(*event.result));
    }
    setFirstTimeContext(properties, context, kEventShare);
    send("ZrEventShare", properties, 1, false);
}

void UsageTrackerImpl::trackTask(const ZrEventTask& event, const ZrContextProperties& context) {
    if (event.name.empty()) {
        ZR_RAISE("trackTask", "zrEventTask.name is empty");
    }
    PropertiesNode properties;
    setText(properties, "zr_aname", event.aname);
    setText(properties, "zr_task_name", event.name);
    setText(properties, "zr_reason", event.reason);
    setOptionalNumber(properties, "zr_task_elapsed", event.elapsed);
    setDecidedResult(properties, "zr_task_result", event.result);
    setFirstTimeContext(properties, context, kEventTask);
    send("ZrEventTask", properties, 0, false);
}

void UsageTrackerImpl::trackFile(const ZrEventFile& event, const ZrContextProperties& context) {
    if (event.aname.empty()) {
        ZR_RAISE("trackFile", "zrEventFile.aname is empty");
    }
    PropertiesNode properties;
    setText(properties, "zr_aname", event.aname);
    setText(properties, "zr_name", event.name);
    if (event.io) {
        properties.SetString("zr_io", toString(*event.io));
    }
    setText(properties, "zr_ext", event.ext);
    if (event.size) {
        setPositive(properties, "zr_size", *event.size);
    }
    setOptionalInteger(properties, "zr_duration", event.duration);
    setOptionalNumber(properties, "zr_fps", event.fps);
    setOptionalNumber(properties, "zr_bps", event.bps);
    setOptionalInteger(properties, "zr_width", event.width);
    setOptionalInteger(properties, "zr_height", event.height);
    setOptionalInteger(properties, "zr_depth", event.depth);
    setDecidedResult(properties, "zr_result", event.result);
    setFirstTimeContext(properties, context, kEventFile);
    send("ZrEventFile", properties, 1, false);
}

void UsageTrackerImpl::trackOrder(const ZrEventOrder& event, const ZrContextProperties& context) {
    if (event.zrSuitId.empty()) {
        ZR_RAISE("trackOrder", "zrEventOrder.zrSuitId is empty");
    }
    if (!event.zrCurrency) {
        ZR_RAISE("trackOrder", "zrEventOrder.zrCurrency is nullptr");
    }
    if (event.originalAmount <= 0) {
        ZR_RAISE("trackOrder", "zrEventOrder.originalAmount is less than zero");
    }
    if (event.paidAmount <= 0) {
        ZR_RAISE("trackOrder", "paidAmount = " + sixDecimals(event.paidAmount) + " is invalid");
    }
    PropertiesNode properties;
    setText(properties, "zr_order_id", event.orderId);
    setText(properties, "zr_subitem", event.subitem);
    setText(properties, "zr_sku", event.sku);
    setText(properties, "zr_suit_id", event.zrSuitId);
    properties.SetString("zr_currency", toString(*event.zrCurrency));
    properties.SetNumber("zr_original_amount", event.originalAmount);
    setText(properties, "zr_voucher_id", event.voucherId);
    properties.SetNumber("zr_paid_amount", event.paidAmount);
    setText(properties, "zr_cashier_name", event.cashierName);
    setText(properties, "zr_cashier_title", event.cashierTitle);
    setOptionalInteger(properties, "zr_campaign_code", event.campaignCode);
    setPositive(properties, "zr_cur_original_amount", event.curOriginalAmount);
    setPositive(properties, "zr_cur_paid_amount", event.curPaidAmount);
    setFirstTimeContext(properties, context, kEventOrder);
    send("ZrEventOrder", properties, 1, false);
}

void UsageTrackerImpl::trackPayment(const ZrEventPayment& event,
                                    const ZrContextProperties& context) {
    if (event.zrOrderId.empty()) {
        ZR_RAISE("trackPayment", "zrEventPayment.zrOrderId is empty");
    }
    if (event.paidAmount < 0) {
        ZR_RAISE("trackPayment", "paidAmount = " + sixDecimals(event.paidAmount) + " is invalid");
    }
    if (event.originalAmount < 0) {
        ZR_RAISE("trackPayment",
                 "originalAmount = " + sixDecimals(event.originalAmount) + " is invalid");
    }
    if (event.result != ZrResult::Success && event.result != ZrResult::Fail) {
        ZR_RAISE("trackPayment", "zrEventPayment.result is invalid");
    }
    if (!event.currency) {
        ZR_RAISE("trackPayment", "zrEventPayment.currency is nullptr");
    }
    if (!event.paidPlatform) {
        ZR_RAISE("trackPayment", "zrEventPayment.paidPlatform is nullptr");
    }
    PropertiesNode properties;
    setText(properties, "zr_order_id", event.zrOrderId);
    setText(properties, "zr_subitem", event.subitem);
    setText(properties, "zr_sku", event.sku);
    properties.SetString("zr_currency", toString(*event.currency));
    properties.SetNumber("zr_original_amount", event.originalAmount);
    setOptionalInteger(properties, "zr_campaign_code", event.campaignCode);
    setText(properties, "zr_voucher_id", event.voucherId);
    setText(properties, "zr_used_voucher_id", event.usedVoucherId);
    properties.SetNumber("zr_paid_amount", event.paidAmount);
    setText(properties, "zr_suit_id", event.suitId);
    setText(properties, "zr_cashier_name", event.cashierName);
    setText(properties, "zr_cashier_title", event.cashierTitle);
    properties.SetString("zr_paid_platform", toString(*event.paidPlatform));
    properties.SetString("zr_result", toString(event.result));
    if (event.zrIapType) {
        properties.SetString("zr_iap_type", toString(*event.zrIapType));
    }
    setPositive(properties, "zr_cur_original_amount", event.curOriginalAmount);
    setPositive(properties, "zr_cur_paid_amount", event.curPaidAmount);
    setFirstTimeContext(properties, context, kEventPayment);
    Sdk::Track("ZrEventPayment", properties);
    delivery_.RaisePending(NativeUserTracker::paymentProfile(event.paidAmount));
    if (event.result == ZrResult::Success) {
        context_.vipLevel = 1;
        context_.saveIdentity();
    }
    delivery_.RequestDelivery(true);
}

void UsageTrackerImpl::trackUninstall(const std::string& reason,
                                      const ZrContextProperties& context) {
    PropertiesNode properties;
    setText(properties, "zr_uninstall_reason", reason);
    setContext(properties, context, kEventUninstall);
    send("ZrEventUninstall", properties, 0, true);
}

void UsageTrackerImpl::trackCrash(const std::string& reason) {
    if (Sdk::InUseByThisThread()) {
        return;  // crashed inside the SDK, whose locks this thread may hold
    }
    PropertiesNode properties;
    setText(properties, "app_crashed_reason", reason);
    Sdk::Track("AppCrashed", properties);
    // Pending, so that the delivery below sends it: a crashing process has no later chance.
    delivery_.RaisePending(1);
    delivery_.DeliverNow();
}

void UsageTrackerImpl::trackUpdate(const ZrEventUpdate& event, const ZrContextProperties& context) {
    PropertiesNode properties;
    properties.SetString("zr_update_op", toString(event.op));
    switch (event.op) {
        case ZrUpdateOp::UpdateCheck:
            properties.SetString("zr_update_result", event.result ? toString(*event.result) : "");
            break;
        case ZrUpdateOp::DownloadEnd:
        case ZrUpdateOp::UpgrateEnd:
            if (!event.result) {
                ZR_RAISE("trackUpdate", "Unknown updateResultInfo info");
            }
            properties.SetString("zr_update_result", toString(*event.result));
            if (event.op == ZrUpdateOp::UpgrateEnd) {
                properties.SetBool("$is_first_time", true);
            }
            if (!event.elapsed) {
                ZR_RAISE("trackUpdate", "invalid elapsed info");
            }
            properties.SetNumber("zr_elapsed", *event.elapsed);
            break;
        case ZrUpdateOp::DownloadStart:
        case ZrUpdateOp::UpgrateStart:
            break;
    }
    setContext(properties, context, kEventUpdate);
    send("ZrEventUpdate", properties, 0, true);
}

void UsageTrackerImpl::trackAppOpenNotification(const ZrEventAppOpenNotification* event,
                                                const ZrContextProperties& context) {
    if (event == nullptr) {
        ZR_RAISE("trackAppOpenNotification", "&appOpenNotification is nullptr");
    }
    if (event->planID.empty()) {
        ZR_RAISE("trackAppOpenNotification", "planID is emptry");
    }
    if (event->planType.empty()) {
        ZR_RAISE("trackAppOpenNotification", "planType is emptry");
    }
    if (event->msgTitle.empty()) {
        ZR_RAISE("trackAppOpenNotification", "msgTitle is emptry");
    }
    PropertiesNode properties;
    setText(properties, "$sf_msg_title", event->msgTitle);
    setText(properties, "$sf_msg_content", event->msgContent);
    const auto setUnchanged = [&](const char* name, const std::string& value) {
        if (!value.empty()) {
            properties.SetString(name, value);
        }
    };
    setUnchanged("$sf_link_url", event->linkUrl);
    setUnchanged("$sf_plan_id", event->planID);
    setUnchanged("$sf_audience_id", event->audienceId);
    setUnchanged("$sf_plan_strategy_id", event->planStrategyId);
    setUnchanged("$sf_plan_type", event->planType);
    setUnchanged("$sf_strategy_unit_id", event->strategyUnitId);
    setFirstTimeContext(properties, context, kEventAppOpenNotification);
    send("AppOpenNotification", properties, 0, false);
}

void UsageTrackerImpl::setLocale(const std::string& locale) {
    context_.locale = ensureUtf8(locale);
    PropertiesNode properties;
    setLocaleProperties(properties, localeParts(context_.locale));
    Sdk::RegisterSuperProperties(properties);
}

std::string UsageTrackerImpl::getPrimaryDistinctId() {
    return context_.primaryDistinctId;
}

TrackLogger* UsageTrackerImpl::getLogger() {
    return logger_.get();
}

}  // namespace zoren::usage
