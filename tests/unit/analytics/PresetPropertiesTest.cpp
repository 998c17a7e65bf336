#include "analytics/tracker/PresetProperties.h"

#include <gtest/gtest.h>

namespace zoren::usage {
namespace {

struct VersionCase {
    unsigned major, minor, build;
    bool is64Bit, isServerR2;
    const char* name;
};

TEST(PresetPropertiesTest, NamesTheWindowsVersion) {
    const VersionCase cases[] = {
        {4, 0, 1381, false, false, "XP-"},
        {5, 0, 2195, false, false, "2K"},
        {5, 1, 2600, false, false, "XP"},
        {5, 2, 3790, true, false, "XP64"},
        {5, 2, 3790, false, true, "Server 2003 R2"},
        {5, 2, 3790, false, false, "Server 2003"},
        {5, 3, 0, false, false, "XP+"},
        {6, 0, 6002, true, false, "Vista64"},
        {6, 0, 6002, false, false, "Vista"},
        {6, 1, 7601, true, false, "7"},
        {6, 1, 7601, false, false, "7-32"},
        {6, 2, 9200, true, false, "8"},
        {6, 2, 9200, false, false, "8-32"},
        {6, 3, 9600, false, false, "8.1"},
        {6, 4, 0, false, false, "8.1+"},
        {10, 0, 19045, true, false, "10"},
        {10, 0, 22000, true, false, "11"},
        {10, 1, 0, true, false, "11+"},
        {11, 2, 300, true, false, "11.2.300"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(operatingSystemName(c.major, c.minor, c.build, c.is64Bit, c.isServerR2), c.name)
            << c.major << "." << c.minor << "." << c.build;
    }
}

TEST(PresetPropertiesTest, ASetLocaleNeedsAnUnderscore) {
    const LocaleParts set = localeParts("zh_CN");
    EXPECT_EQ(set.locale, "zh_CN");
    EXPECT_EQ(set.language, "zh");
    EXPECT_EQ(set.country, "CN");
    const LocaleParts system = localeParts("zh");
    EXPECT_EQ(system.locale, system.language + "_" + system.country);
    EXPECT_FALSE(system.language.empty());
}

TEST(PresetPropertiesTest, PresetsDescribeTheApplicationAndTheSystem) {
    ZrTrackerConfig config;
    config.appName = "Quillon.downloader";
    config.appVersion = "1.7.9";
    config.appStore = "QuillonSetup.exe";
    config.dlAppId = "Quillon";
    const auto properties = presetProperties(config, "", "zh_CN");
    const auto text = [&](const char* name) {
        const auto* value = properties.Find(name);
        return value ? std::get<std::string>(*value) : std::string("(unset)");
    };
    EXPECT_EQ(text("zr_app_id"), "Quillon.downloader");
    EXPECT_EQ(text("$app_id"), "Quillon.downloader");
    EXPECT_EQ(text("$app_version"), "1.7.9");
    EXPECT_EQ(text("zr_app_store"), "QuillonSetup.exe");
    EXPECT_EQ(text("zr_edition"), "china");
    EXPECT_EQ(text("zr_dlapp_id"), "Quillon");
    EXPECT_EQ(text("zr_dlapp_version"), "(unset)");
    EXPECT_EQ(text("zr_user_id"), "(unset)");
    EXPECT_EQ(text("zr_sdk"), "WindowsCPP");
    EXPECT_EQ(text("zr_sdk_version"), "3.3.8");
    EXPECT_EQ(text("zr_track_type"), "Client");
    EXPECT_EQ(text("$os"), "Windows");
    EXPECT_EQ(text("zr_l10n_locale"), "zh_CN");
    EXPECT_NE(properties.Find("$screen_width"), nullptr);
    EXPECT_NE(properties.Find("$screen_height"), nullptr);
}

}  // namespace
}  // namespace zoren::usage
