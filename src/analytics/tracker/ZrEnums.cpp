#include "analytics/tracker/ZrEnums.h"

#include "analytics/tracker/ZrException.h"

namespace zoren::usage {

namespace {

template <class Enum, std::size_t Count>
std::string WireString(Enum value, const char* const (&names)[Count], const char* unknownPrefix) {
    const int index = static_cast<int>(value);
    if (index < 0 || index >= static_cast<int>(Count)) {
        ZR_RAISE("toString", unknownPrefix + std::to_string(index) + "]!");
    }
    return names[index];
}

}  // namespace

std::string toString(ClickType value) {
    static const char* const names[] = {"Button", "Banner", "Tutorial", "File", "Others"};
    return WireString(value, names, "Unknown ClickType [");
}

std::string toString(ZrUserType value) {
    static const char* const names[] = {"unknown", "mobilephone", "email",  "weixin",
                                        "qq",      "deviceid",    "baidu",  "huawei",
                                        "apple",   "zorenuserid", "google", "facebook"};
    return WireString(value, names, "Unknown user type [");
}

std::string toString(ZrResult value) {
    static const char* const names[] = {"Success", "Cancelled", "Fail", "Unknown"};
    return WireString(value, names, "Unknown task result [");
}

std::string toString(ZrCurrency value) {
    static const char* const names[] = {"CNY", "USD", "EUR", "HKD", "TWD", "MOP",
                                        "SGD", "JPY", "KRW", "INR", "GBP"};
    return WireString(value, names, "Unknown currency [");
}

std::string toString(ZrPaidPlatform value) {
    static const char* const names[] = {"Alipay", "WeChatPay",    "PayPal",    "Tenpay",
                                        "CIECC",  "GooglePay",    "HuaweiPay", "AppleIAP",
                                        "Paddle", "ChinaUnionPay"};
    return WireString(value, names, "Unknown paid platform [");
}

std::string toString(ZrIapType value) {
    static const char* const names[] = {"Consumable", "NonConsumable", "AutoRenewable",
                                        "NonRenewable"};
    return WireString(value, names, "Unknown zrIapType [");
}

std::string toString(ZrUpdateOp value) {
    static const char* const names[] = {"UpdateCheck", "DownloadStart", "DownloadEnd",
                                        "UpgrateStart", "UpgrateEnd"};
    return WireString(value, names, "Unknown ZrUpdateOp [");
}

std::string toString(ZrUpdateResult value) {
    static const char* const names[] = {"Success", "Cancelled", "Timeout",
                                        "Fail",    "Latest",    "Updateable"};
    return WireString(value, names, "Unknown ZrUpdateResult [");
}

std::string toString(ZrEdition value) {
    static const char* const names[] = {"china", "overseas"};
    return WireString(value, names, "Unknown edition [");
}

std::string toString(ZrIoType value) {
    if (value != ZrIoType::Input && value != ZrIoType::Output) {
        ZR_RAISE("toString", "the io type is invalid");
    }
    return value == ZrIoType::Input ? "Input" : "Output";
}

}  // namespace zoren::usage
