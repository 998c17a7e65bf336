#include "analytics/tracker/ZrContextProperties.h"

#include "analytics/sdk/TextRules.h"
#include "analytics/tracker/ZrException.h"
#include "platform/CodePage.h"
#include "utils/TextConversion.h"

namespace zoren::usage {

namespace {

constexpr char kAbPropertyName[] = "zrc_ab";
constexpr win32::UINT kChineseCodePage = 936;

void CheckEventType(int eventType, const char* operation) {
    if (eventType < 0 || eventType >= kEventTypeCount) {
        ZR_RAISE(operation, "ZrEvent[" + std::to_string(eventType) + "] overflow!");
    }
}

bool IsUpper(char c) {
    return c >= 'A' && c <= 'Z';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Empty when the text is not valid in the system code page.
std::wstring StrictAnsiToWide(const std::string& text) {
    const int length = static_cast<int>(text.size());
    const int needed = win32::MultiByteToWideChar(win32::CP_ACP, win32::MB_ERR_INVALID_CHARS,
                                                  text.data(), length, nullptr, 0);
    if (needed <= 0) {
        return {};
    }
    std::wstring wide(static_cast<std::size_t>(needed), L'\0');
    if (win32::MultiByteToWideChar(win32::CP_ACP, win32::MB_ERR_INVALID_CHARS, text.data(), length,
                                   wide.data(), needed) != needed) {
        return {};
    }
    return wide;
}

}  // namespace

void ZrContextProperties::setProperty(const std::string& value,
                                      const std::vector<int>& eventTypes) {
    if (registered_.count(kAbPropertyName) != 0) {
        ZR_RAISE("setProperty", std::string("Property[") + kAbPropertyName + "] already exist!");
    }
    auto shared = std::make_shared<const std::string>(value);
    registered_[kAbPropertyName] = shared;
    for (int eventType : eventTypes) {
        CheckEventType(eventType, "setProperty");
        events_[eventType].push_back({ValueKind::String, shared, kAbPropertyName});
    }
}

const std::vector<ZrContextProperties::Entry>& ZrContextProperties::getEventProperties(
    int eventType) const {
    CheckEventType(eventType, "getEventProperties");
    return events_[eventType];
}

bool isValidABValue(const std::string& value) {
    if (value.empty()) {
        return false;
    }
    if (value.size() > 3) {
        ZR_RAISE("isValidABValue", "value's length is great than 3.");
    }
    if (!IsUpper(value[0])) {
        ZR_RAISE("isValidABValue", "First char is not in A to Z");
    }
    if (value.size() > 1 && !IsUpper(value[1]) && !IsDigit(value[1])) {
        ZR_RAISE("isValidABValue", "second char is not in A to Z and 0 to 9");
    }
    if (value.size() > 2 && !IsUpper(value[2]) && !IsDigit(value[2])) {
        ZR_RAISE("isValidABValue", "third char is not in A to Z and 0 to 9");
    }
    return true;
}

std::string ensureUtf8(const std::string& text) {
    if (text.empty() || usage_analytics::IsValidUtf8(text)) {
        return text;
    }
    std::wstring wide = StrictAnsiToWide(text);
    if (wide.empty()) {
        // With a UTF-8 locale nothing invalid is ANSI text; the product's fields then come
        // from a Chinese system, whose code page is GBK.
        wide = Utils::MultiByteToWide(text, kChineseCodePage);
    }
    return Utils::ToUtf8(wide);
}

}  // namespace zoren::usage
