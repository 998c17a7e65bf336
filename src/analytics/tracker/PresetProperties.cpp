#include "analytics/tracker/PresetProperties.h"

#include "platform/SystemInfo.h"
#include "utils/MachineFacts.h"
#include "utils/TextConversion.h"

namespace zoren::usage {

namespace {

constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;
constexpr std::size_t kMaxLocalePartLength = 15;

// The analytics table of version names differs from the installer's version word: it tells
// 64-bit systems apart and knows Windows 11.
std::string NameForMajor6(unsigned minor, bool is64Bit) {
    switch (minor) {
        case 0:
            return is64Bit ? "Vista64" : "Vista";
        case 1:
            return is64Bit ? "7" : "7-32";
        case 2:
            return is64Bit ? "8" : "8-32";
        case 3:
            return "8.1";
        default:
            return "8.1+";
    }
}

std::string NameForMajor5(unsigned minor, bool is64Bit, bool isServerR2) {
    switch (minor) {
        case 0:
            return "2K";
        case 1:
            return "XP";
        case 2:
            if (is64Bit) {
                return "XP64";
            }
            return isServerR2 ? "Server 2003 R2" : "Server 2003";
        default:
            return "XP+";
    }
}

std::string LocalePart(const std::wstring& part) {
    return Utils::ToUtf8(part.substr(0, kMaxLocalePartLength));
}

}  // namespace

std::string operatingSystemName(unsigned major, unsigned minor, unsigned build, bool is64Bit,
                                bool isServerR2) {
    if (major <= 4) {
        return "XP-";
    }
    switch (major) {
        case 5:
            return NameForMajor5(minor, is64Bit, isServerR2);
        case 6:
            return NameForMajor6(minor, is64Bit);
        case 10:
            if (minor > 0) {
                return "11+";
            }
            return build < 22000 ? "10" : "11";
        default:
            return std::to_string(major) + "." + std::to_string(minor) + "." +
                   std::to_string(build);
    }
}

std::string operatingSystemName() {
    win32::DWORD major = 0, minor = 0, build = 0;
    win32::RtlGetNtVersionNumbers(&major, &minor, &build);
    return operatingSystemName(major, minor, build & 0x0FFFFFFF, Utils::Is64BitSystem(),
                               win32::GetSystemMetrics(win32::SM_SERVERR2) != 0);
}

std::string userAgent() {
    return "Mozilla/5.0(Windows " + operatingSystemName() + "; Win" +
           (Utils::Is64BitSystem() ? "64;)" : "32;)");
}

LocaleParts localeParts(const std::string& setLocale) {
    const std::size_t underscore = setLocale.find('_');
    if (underscore != std::string::npos) {
        return {setLocale, setLocale.substr(0, underscore), setLocale.substr(underscore + 1)};
    }
    const std::string language = LocalePart(win32::GetUserLanguage());
    const std::string country = LocalePart(win32::GetUserCountry());
    if (language.empty() || country.empty()) {
        return {};
    }
    return {language + "_" + country, language, country};
}

void setLocaleProperties(usage_analytics::PropertiesNode& properties, const LocaleParts& parts) {
    properties.SetString("zr_l10n_locale", parts.locale);
    properties.SetString("zr_l10n_language", parts.language);
    properties.SetString("zr_l10n_country", parts.country);
}

ScreenSize primaryScreenSize() {
    return {win32::GetSystemMetrics(SM_CXSCREEN), win32::GetSystemMetrics(SM_CYSCREEN)};
}

usage_analytics::PropertiesNode presetProperties(const ZrTrackerConfig& config,
                                                 const std::string& userId,
                                                 const std::string& setLocale) {
    usage_analytics::PropertiesNode properties;
    properties.SetString("zr_app_id", config.appName);
    properties.SetString("$app_id", config.appName);
    properties.SetString("$app_version", config.appVersion);
    properties.SetString("zr_app_store", config.appStore);
    properties.SetString("zr_edition", toString(config.edition));
    if (!config.dlAppId.empty()) {
        properties.SetString("zr_dlapp_id", config.dlAppId);
    }
    if (!config.dlAppVersion.empty()) {
        properties.SetString("zr_dlapp_version", config.dlAppVersion);
    }
    properties.SetString("zr_app_platform", "Windows");
    properties.SetString("zr_track_type", "Client");
    properties.SetString("zr_sdk_version", "3.3.8");
    properties.SetString("zr_sdk", "WindowsCPP");
    properties.SetString("$os", "Windows");
    properties.SetString("$os_version", operatingSystemName());
    setLocaleProperties(properties, localeParts(setLocale));
    const ScreenSize screen = primaryScreenSize();
    properties.SetInteger("$screen_height", screen.height);
    properties.SetInteger("$screen_width", screen.width);
    if (!userId.empty()) {
        properties.SetString("zr_user_id", userId);
    }
    return properties;
}

}  // namespace zoren::usage
