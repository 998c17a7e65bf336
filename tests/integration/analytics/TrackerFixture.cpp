#include "TrackerFixture.h"

#include <cstdlib>

#include "platform/Ini.h"
#include "utils/TextConversion.h"

namespace analytics_test {

namespace fs = std::filesystem;

void TrackerFixture::SetUp() {
    setenv("XDG_DATA_HOME", folder_.c_str(), 1);
    unsetenv("QUILLON_COLLECT_URL");
}

void TrackerFixture::TearDown() {
    zoren::usage::releaseTracker();
}

zoren::usage::ZrTrackerConfig TrackerFixture::Config(const std::string& serverUrl) const {
    zoren::usage::ZrTrackerConfig config;
    config.appName = kAppName;
    config.appVersion = "1.7.9";
    config.appStore = "setup.exe";
    config.dlAppId = "Quillon";
    config.serverUrl = serverUrl;
    return config;
}

fs::path TrackerFixture::DataFolder() const {
    return folder_ / "ZRLocal" / kAppName;
}

std::wstring TrackerFixture::SettingsFile() const {
    return Utils::FromUtf8((DataFolder() / (std::string(kAppName) + "_ZRSConfigure.ini")).string());
}

std::string TrackerFixture::Setting(const wchar_t* section, const wchar_t* key) const {
    wchar_t value[256] = {};
    win32::GetPrivateProfileStringW(section, key, L"(missing)", value, 256, SettingsFile().c_str());
    return Utils::ToUtf8(value);
}

void TrackerFixture::WriteSetting(const wchar_t* section, const wchar_t* key,
                                  const wchar_t* value) const {
    win32::WritePrivateProfileStringW(section, key, value, SettingsFile().c_str());
}

nlohmann::json TrackerFixture::Events() {
    nlohmann::json events = nlohmann::json::array();
    for (const auto& record : server_.Records()) {
        if (record["type"] == "track") {
            events.push_back(record);
        }
    }
    return events;
}

}  // namespace analytics_test
