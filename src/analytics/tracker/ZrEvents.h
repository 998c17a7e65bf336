// The typed event records an application hands to the tracker, and the tracker's
// configuration. Strings are UTF-8 (or the system code page, which the tracker converts);
// an optional field that is empty is not sent.
#pragma once

#include <optional>
#include <string>

#include "analytics/tracker/ZrEnums.h"

namespace zoren::usage {

struct ZrTrackerConfig {
    std::string appName;     // required
    std::string appVersion;  // required
    std::string appStore;    // required
    std::string dlAppId;
    std::string dlAppVersion;
    std::string logPath;  // empty: beside the settings file
    ZrEdition edition = ZrEdition::China;
    std::string serverUrl;  // empty: the build's collection address (or QUILLON_COLLECT_URL)
};

struct ZrEventClick {
    std::string aname;
    std::string name;  // required
    ClickType clickType = ClickType::Button;
    std::string title;
    std::string module;
    std::string position;
    std::optional<int> tabIndex;
    std::string tabName;
    std::optional<int> bannerIndex;
    std::string bannerName;
};

struct ZrEventView {
    std::string aname;
    std::string name;  // required
    std::string title;
    std::string position;
};

struct ZrEventCashier {
    std::string zr_cashier_name;  // required
    std::string cashierTitle;
    std::string subitem;
};

struct ZrEventShare {
    std::string aname;
    std::string channel;
    std::string position;
    std::string sharedName;
    std::optional<ZrResult> result;
};

struct ZrEventTask {
    std::string aname;
    std::string name;  // required
    std::string reason;
    std::optional<float> elapsed;
    std::optional<ZrResult> result;  // sent for Success, Cancelled and Fail only
};

struct ZrEventFile {
    std::string aname;  // required
    std::string name;
    std::optional<ZrIoType> io;
    std::string ext;
    std::optional<float> size;  // sent when above 0
    std::optional<int> duration;
    std::optional<float> fps;
    std::optional<float> bps;
    std::optional<int> width;
    std::optional<int> height;
    std::optional<int> depth;
    std::optional<ZrResult> result;  // sent for Success, Cancelled and Fail only
};

struct ZrEventOrder {
    std::string orderId;
    std::string subitem;
    std::string sku;
    std::string zrSuitId;                  // required
    std::optional<ZrCurrency> zrCurrency;  // required
    float originalAmount = 0;              // above 0
    std::string voucherId;
    float paidAmount = 0;  // above 0
    std::string cashierName;
    std::string cashierTitle;
    std::optional<int> campaignCode;
    float curOriginalAmount = 0;  // sent when above 0
    float curPaidAmount = 0;      // sent when above 0
};

struct ZrEventPayment {
    std::string zrOrderId;  // required
    std::string subitem;
    std::string sku;
    std::optional<ZrCurrency> currency;  // required
    float originalAmount = 0;            // not negative
    std::optional<int> campaignCode;
    std::string voucherId;
    std::string usedVoucherId;
    float paidAmount = 0;  // not negative
    std::string suitId;
    std::string cashierName;
    std::string cashierTitle;
    std::optional<ZrPaidPlatform> paidPlatform;  // required
    ZrResult result = ZrResult::Success;         // Success or Fail
    std::optional<ZrIapType> zrIapType;
    float curOriginalAmount = 0;  // sent when above 0
    float curPaidAmount = 0;      // sent when above 0
};

struct ZrEventUpdate {
    ZrUpdateOp op = ZrUpdateOp::UpdateCheck;
    std::optional<ZrUpdateResult> result;
    std::optional<float> elapsed;
};

struct ZrEventAppOpenNotification {
    std::string msgTitle;  // required
    std::string msgContent;
    std::string linkUrl;
    std::string planID;  // required
    std::string audienceId;
    std::string planStrategyId;
    std::string planType;  // required
    std::string strategyUnitId;
};

// Only the id, its type and the VIP level reach the tracker; the profile fields are the
// application's own.
struct ZrUserInfo {
    std::string userId;
    ZrUserType userType = ZrUserType::Unknown;
    int vipLevel = 0;
    std::string name;
    std::string nickname;
    std::string portrait;
    std::string mobilePhone;
    std::string email;
    std::string weixin;
    std::string qq;
    std::string deviceId;
    std::string createdTime;
    std::string lastLoginTime;
    std::string lastIp;
    std::string vipEndDate;
};

}  // namespace zoren::usage
