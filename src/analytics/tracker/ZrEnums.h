// The enumerations of the event records and their wire strings.
#pragma once

#include <string>

namespace zoren::usage {

enum class ClickType { Button, Banner, Tutorial, File, Others };
enum class ZrUserType {
    Unknown,
    MobilePhone,
    Email,
    Weixin,
    QQ,
    DeviceId,
    Baidu,
    Huawei,
    Apple,
    ZorenUserId,
    Google,
    Facebook
};
enum class ZrResult { Success, Cancelled, Fail, Unknown };
enum class ZrCurrency { CNY, USD, EUR, HKD, TWD, MOP, SGD, JPY, KRW, INR, GBP };
enum class ZrPaidPlatform {
    Alipay,
    WeChatPay,
    PayPal,
    Tenpay,
    CIECC,
    GooglePay,
    HuaweiPay,
    AppleIAP,
    Paddle,
    ChinaUnionPay
};
enum class ZrIapType { Consumable, NonConsumable, AutoRenewable, NonRenewable };
enum class ZrUpdateOp { UpdateCheck, DownloadStart, DownloadEnd, UpgrateStart, UpgrateEnd };
enum class ZrUpdateResult { Success, Cancelled, Timeout, Fail, Latest, Updateable };
enum class ZrEdition { China, Overseas };
enum class ZrIoType { Input, Output };

// The wire string; a value outside the enumeration raises a ZrException.
std::string toString(ClickType value);
std::string toString(ZrUserType value);
std::string toString(ZrResult value);
std::string toString(ZrCurrency value);
std::string toString(ZrPaidPlatform value);
std::string toString(ZrIapType value);
std::string toString(ZrUpdateOp value);
std::string toString(ZrUpdateResult value);
std::string toString(ZrEdition value);
std::string toString(ZrIoType value);

}  // namespace zoren::usage
