// The installation record and the folder decisions, against a registry store, data folders
// and INI files in a temporary home.
#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>

#include "platform/Ini.h"
#include "setup/InstallationRecord.h"
#include "support/TempFolder.h"
#include "utils/MachineFacts.h"

namespace {

using TestSupport::TempFolder;

class InstallationRecord : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("HOME", folder_.File("home").c_str(), 1);
        setenv("XDG_CONFIG_HOME", folder_.File("config").c_str(), 1);
        setenv("XDG_DATA_HOME", folder_.File("data").c_str(), 1);
        setenv("APPDATA", folder_.File("appdata").c_str(), 1);
    }

    std::wstring Wide(const std::string& name) const { return folder_.WideFile(name); }

    static std::wstring Registry(const wchar_t* name) {
        std::wstring value;
        return Utils::ReadProductRegistryValue(name, &value) ? value : L"<absent>";
    }

    static std::wstring Ini(const std::wstring& file, const wchar_t* section, const wchar_t* key) {
        wchar_t value[300] = {};
        win32::GetPrivateProfileStringW(section, key, L"<absent>", value, 300, file.c_str());
        return value;
    }

    TempFolder folder_;
};

TEST_F(InstallationRecord, FindsNothingWithoutARecord) {
    const ExistingInstallation existing = FindExistingInstallation();
    EXPECT_EQ(existing.installPath, L"");
    EXPECT_EQ(existing.uninstallEp, L"");
}

TEST_F(InstallationRecord, LooksForUninstEpInTheFolderWhenOnlyThePathIsRecorded) {
    Utils::WriteProductRegistryValue(L"InstallPath", L"/opt/Quillon");
    EXPECT_EQ(FindExistingInstallation().uninstallEp, L"/opt/Quillon\\uninst.ep");

    Utils::WriteProductRegistryValue(L"UnInstallEp", L"/elsewhere/remove");
    EXPECT_EQ(FindExistingInstallation().uninstallEp, L"/elsewhere/remove");
}

TEST_F(InstallationRecord, DefaultFolderIsTheEarlierInstallationOnlyWhileItsUninstallerExists) {
    const std::wstring old = Wide("old");
    folder_.Write("old/uninst.ep", "");  // folder missing: nothing written
    ExistingInstallation existing{old, old + L"\\uninst.ep"};
    AccountFacts facts{};

    const std::wstring fresh = GetDefaultInstallDir(existing, &facts);
    const std::wstring expected = facts.adminAct && facts.authorizationAct
                                      ? Wide("appdata") + L"\\zoren\\Quillon"
                                      : Wide("data") + L"\\Quillon";
    EXPECT_EQ(fresh, expected);

    std::filesystem::create_directories(folder_.File("old"));
    folder_.Write("old/uninst.ep", "#!/bin/sh\n");
    EXPECT_EQ(GetDefaultInstallDir(existing, &facts), old);
}

TEST_F(InstallationRecord, CustomFolderGetsAQuillonSubfolderUnlessItIsTheDefault) {
    struct Case {
        const wchar_t* typed;
        const wchar_t* result;
    };
    const Case cases[] = {
        {L"/opt/Quillon", L"/opt/Quillon"},
        {L"/opt/Quillon/", L"/opt/Quillon"},
        {L"\\opt\\Quillon\\.", L"/opt/Quillon"},
        {L"/opt/x/../Quillon", L"/opt/Quillon"},
        {L"/opt", L"/opt\\Quillon"},
        {L"/opt/quillon", L"/opt/quillon\\Quillon"},
        {L"", L"\\Quillon"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GetCustomInstallDir(L"/opt/Quillon", c.typed), c.result) << c.typed;
    }
}

TEST_F(InstallationRecord, OverrideIsDisabledOnlyBySetIniFalseInTheSameFolder) {
    const std::wstring old = Wide("old");
    std::filesystem::create_directories(folder_.File("old"));
    EXPECT_FALSE(IsOverrideDisabled(old, old)) << "no set.ini";

    struct Case {
        const wchar_t* value;
        const std::wstring folder;
        bool disabled;
    };
    const Case cases[] = {
        {L"false", old, true}, {L"false", old + L"/", true},     {L"False", old, false},
        {L"true", old, false}, {L"false", Wide("other"), false},
    };
    for (const Case& c : cases) {
        win32::WritePrivateProfileStringW(L"Uninstall", L"IsOverride", c.value,
                                          (old + L"\\set.ini").c_str());
        EXPECT_EQ(IsOverrideDisabled(old, c.folder), c.disabled) << c.value;
    }
}

TEST_F(InstallationRecord, SavesTheUninstallerOnlyWhenItExists) {
    const std::wstring dir = Wide("inst");
    std::wstring uninstallEp;
    SaveInstallInfo(dir, &uninstallEp);
    EXPECT_EQ(uninstallEp, dir + L"\\uninst.ep");
    EXPECT_EQ(Registry(L"InstallPath"), dir);
    EXPECT_EQ(Registry(L"UnInstallEp"), L"<absent>");

    std::filesystem::create_directories(folder_.File("inst"));
    folder_.Write("inst/remove-me", "");
    uninstallEp = dir + L"/remove-me";
    SaveInstallInfo(dir, &uninstallEp);
    EXPECT_EQ(Registry(L"UnInstallEp"), dir + L"/remove-me");
}

TEST_F(InstallationRecord, SetIniNamesTheProductAndItsAnalyticsFile) {
    const std::wstring dir = Wide("inst");
    std::filesystem::create_directories(folder_.File("inst"));

    WriteSetIni(dir);

    const std::wstring setIni = dir + L"\\set.ini";
    EXPECT_EQ(Ini(setIni, L"Install", L"AppName"), L"Quillon");
    EXPECT_EQ(Ini(setIni, L"Install", L"APPStore"), L"setup_unit");
    const std::wstring deviceId = Ini(setIni, L"Install", L"DeviceID");
    EXPECT_TRUE(std::regex_match(deviceId, std::wregex(L"[0-9A-F]{12}[0-9a-f]{4}[0-9A-F]{16}")))
        << std::string(deviceId.begin(), deviceId.end());
    const std::wstring analytics = Wide("appdata") + L"\\ZoRenData\\Quillon\\ZRUsageAnalytics.ini";
    EXPECT_EQ(Ini(setIni, L"Install", L"ZRUsageAnalyticsIni"), analytics);
    EXPECT_TRUE(std::regex_match(Ini(analytics, L"Init", L"UpdateTime"),
                                 std::wregex(L"\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d")));

    WriteSetIni(dir);
    EXPECT_NE(Ini(setIni, L"Install", L"DeviceID"), deviceId) << "a new identifier each time";
}

TEST_F(InstallationRecord, ProductDataFolderFallsBackToTheDocumentsFolder) {
    unsetenv("APPDATA");
    setenv("XDG_DOCUMENTS_DIR", folder_.File("docs").c_str(), 1);
    EXPECT_EQ(ProductDataFolder(), Wide("docs") + L"\\ZoRenData\\Quillon");
    unsetenv("XDG_DOCUMENTS_DIR");
}

}  // namespace
