#include <gtest/gtest.h>

#include <cstdlib>

#include "shell/LaunchConfig.h"
#include "support/TempFolder.h"

namespace {

// A configuration loaded for an executable in a fresh folder, with or without an INI file.
struct Loaded {
    TestSupport::TempFolder folder;
    Shell::LaunchConfig config;
    explicit Loaded(const char* ini, const std::wstring& switches = L"") {
        if (ini != nullptr) {
            folder.Write("ZorenInstallerConfig.ini", ini);
        }
        config.Load(folder.WideFile("QuillonSetup.exe"));
        if (!switches.empty()) {
            config.ApplyCommandLine(L"QuillonSetup.exe " + switches);
        }
    }
};

TEST(LaunchConfig, DefaultsWithoutIniFileOrSwitches) {
    Loaded loaded(nullptr);
    const Shell::LaunchConfig& c = loaded.config;
    EXPECT_EQ(c.ProductName, L"Quillon");
    EXPECT_EQ(c.ProductVersion, L"1.7.9");
    EXPECT_EQ(c.InstallerFileName, L"QuillonSetup.exe");
    EXPECT_EQ(c.DownloadType, 1);
    EXPECT_FALSE(c.IsCheckNet);
    EXPECT_TRUE(c.IsEnableAppAnalytics);
    EXPECT_DOUBLE_EQ(c.DownloadScale, 0.7);
    EXPECT_EQ(c.DlAppNameSuffix, L".downloader");
    EXPECT_EQ(c.InstCmd, L"");
    EXPECT_EQ(c.AbGroup, L"IN");
    EXPECT_EQ(c.DownloadUrl, Shell::kDefaultDownloadUrl);
    EXPECT_NE(c.DownloadUrl.find(L"/software/265"), std::wstring::npos);
}

TEST(LaunchConfig, AnIniFileSetsAllItsFieldsWithItsOwnDefaults) {
    Loaded onlyHeader("[Install]\n");
    EXPECT_TRUE(onlyHeader.config.IsCheckNet);  // its default there is "true"
    EXPECT_EQ(onlyHeader.config.DownloadType, 1);
    EXPECT_DOUBLE_EQ(onlyHeader.config.DownloadScale, 0.7);

    Loaded full(
        "[Install]\nDownloadUrl=http://h/${ROUTE}/p\nDownloadType=3\nIsCheckNet=True\n"
        "IsEnableAppAnalytics=false\nDlAppNameSuffix=.x\nm_DlAppVersion=2.0\nDownloadScale= "
        "0.25kg\n"
        "InstCmd=-a -b\n");
    const Shell::LaunchConfig& c = full.config;
    EXPECT_EQ(c.DownloadUrl, L"http://h/download_silent/p");
    EXPECT_EQ(c.DownloadType, 3);
    EXPECT_FALSE(c.IsCheckNet);  // "True" is not "true"
    EXPECT_FALSE(c.IsEnableAppAnalytics);
    EXPECT_EQ(c.DlAppNameSuffix, L".x");
    EXPECT_EQ(c.m_DlAppVersion, L"2.0");
    EXPECT_DOUBLE_EQ(c.DownloadScale, 0.25);
    EXPECT_EQ(c.InstCmd, L"-a -b");
    EXPECT_EQ(c.ProductName, L"Quillon");
}

TEST(LaunchConfig, IniNumbersThatAreNotNumbers) {
    EXPECT_DOUBLE_EQ(Loaded("[Install]\nDownloadScale=abc\n").config.DownloadScale, 0.0);
    EXPECT_EQ(Loaded("[Install]\nDownloadType=abc\n").config.DownloadType, 0);
    EXPECT_DOUBLE_EQ(Loaded("[Install]\nDownloadScale=1e999\n").config.DownloadScale, 0.7);
    EXPECT_DOUBLE_EQ(Loaded("[Install]\nDownloadScale=nan\n").config.DownloadScale, 0.7);
}

TEST(LaunchConfig, SwitchesOverrideTheIniFile) {
    struct Case {
        const wchar_t* switches;
        std::function<void(const Shell::LaunchConfig&)> check;
    };
    const Case cases[] = {
        {L"-downloadtype=2", [](auto& c) { EXPECT_EQ(c.DownloadType, 2); }},
        {L"-downloadtype=abc", [](auto& c) { EXPECT_EQ(c.DownloadType, 0); }},
        {L"\"-downloadtype= 7x\"", [](auto& c) { EXPECT_EQ(c.DownloadType, 7); }},
        {L"-downloadtype=99999999999", [](auto& c) { EXPECT_EQ(c.DownloadType, 3); }},
        {L"-downloadtype", [](auto& c) { EXPECT_EQ(c.DownloadType, 0); }},
        {L"-downloadscale=0.5", [](auto& c) { EXPECT_DOUBLE_EQ(c.DownloadScale, 0.5); }},
        {L"-downloadscale=abc", [](auto& c) { EXPECT_DOUBLE_EQ(c.DownloadScale, 0.25); }},
        {L"-downloadscale=1e400", [](auto& c) { EXPECT_DOUBLE_EQ(c.DownloadScale, 0.25); }},
        {L"-ischecknet", [](auto& c) { EXPECT_FALSE(c.IsCheckNet); }},
        {L"-ischecknet=true", [](auto& c) { EXPECT_TRUE(c.IsCheckNet); }},
        {L"-isenableappanalytics=yes", [](auto& c) { EXPECT_FALSE(c.IsEnableAppAnalytics); }},
        {L"-downloadurl=http://a/1 -downloadurl=http://b/2",
         [](auto& c) { EXPECT_EQ(c.DownloadUrl, L"http://a/1"); }},
        {L"-downloadurl=http://a/?x=1=2",
         [](auto& c) { EXPECT_EQ(c.DownloadUrl, L"http://a/?x=1=2"); }},
        {L"-instcmd=a b", [](auto& c) { EXPECT_EQ(c.InstCmd, L"a"); }},
        {L"\"-instcmd=a b\"", [](auto& c) { EXPECT_EQ(c.InstCmd, L"a b"); }},
        {L"-dlappnamesuffix= -dlappversion=9",
         [](auto& c) {
             EXPECT_EQ(c.DlAppNameSuffix, L"");
             EXPECT_EQ(c.m_DlAppVersion, L"9");
         }},
        {L"-DownloadType=2 downloadtype=2", [](auto& c) { EXPECT_EQ(c.DownloadType, 3); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Utils::ToUtf8(c.switches));
        Loaded loaded(
            "[Install]\nDownloadType=3\nDownloadScale=0.25\nIsCheckNet=true\nInstCmd=ini\n",
            c.switches);
        c.check(loaded.config);
    }
}

TEST(RouteDownloadUrl, ReplacesEveryPlaceholderByTheRouteWord) {
    const std::wstring url = L"http://h/${ROUTE}/x/${ROUTE}";
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"7", L"http://h/download_silent/x/download_silent"},
        {L"XP+", L"http://h/download_silent_xp/x/download_silent_xp"},
        {L"XP-", L"http://h/download_silent_xp/x/download_silent_xp"},
        {L"2K", L"http://h/download_silent/x/download_silent"},
        {L"Vista", L"http://h/download_silent/x/download_silent"},
    };
    for (const auto& [word, routed] : cases) {
        EXPECT_EQ(Shell::RouteDownloadUrl(url, word), routed) << Utils::ToUtf8(word);
    }
    EXPECT_EQ(Shell::RouteDownloadUrl(L"http://h/plain", L"XP"), L"http://h/plain");
    ::setenv("QUILLON_WINVER", "5.1.2600", 1);
    EXPECT_EQ(Shell::RouteDownloadUrl(L"${ROUTE}"), L"download_silent_xp");
    ::unsetenv("QUILLON_WINVER");
}

}  // namespace
