// The orchestrator end to end: an older installation's uninstaller, the real downloader against
// the local package server, and the downloaded package run as a real child program.
#include <curl/curl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <thread>

#include "integration/setup/ChildScript.h"
#include "integration/setup/PackageServer.h"
#include "integration/setup/SetupRecorder.h"
#include "setup/DownloadInstaller.h"
#include "setup/InstallationRecord.h"
#include "setup/SetupStatus.h"
#include "support/TempFolder.h"
#include "utils/TextConversion.h"

namespace {

using SetupTest::ChildScript;
using SetupTest::PackageServer;
using SetupTest::SetupEndCodes;
using SetupTest::SetupRecorder;
namespace fs = std::filesystem;

// libcurl's global state is set up once, as the installer's start sequence does.
class CurlEnvironment : public ::testing::Environment {
  public:
    void SetUp() override { curl_global_init(CURL_GLOBAL_DEFAULT); }
    void TearDown() override { curl_global_cleanup(); }
};

const auto* const kCurlEnvironment = ::testing::AddGlobalTestEnvironment(new CurlEnvironment);

class DownloadInstaller : public ::testing::Test {
  protected:
    void SetUp() override {
        // The uninstaller's copy goes to the user's temporary folder; here one with a blank.
        fs::create_directories(folder_.File("temp dir"));
        setenv("TMPDIR", folder_.File("temp dir").c_str(), 1);
        fs::create_directories(folder_.File("served"));
    }
    // The next test's own temporary folder is made under TMPDIR.
    void TearDown() override { unsetenv("TMPDIR"); }

    // Publishes a package that plays the scenario when it runs.
    void Publish(const std::string& scenario, bool corruptFirstGet = false) {
        package_ = std::make_unique<ChildScript>(folder_.File("www/package"), scenario, false);
        server_ = std::make_unique<PackageServer>(folder_.File("www/package"),
                                                  folder_.File("served"), corruptFirstGet);
    }

    // An earlier installation whose uninstaller plays the scenario.
    std::wstring OldInstallation(const std::string& scenario) {
        uninstaller_ = std::make_unique<ChildScript>(folder_.File("old/uninst.ep"), scenario, true);
        return folder_.WideFile("old/uninst.ep");
    }

    std::wstring Url() const { return Utils::FromUtf8(server_->LatestUrl()); }

    // Runs one setup as the main window does, to one of its ends.
    int RunSetup(const std::wstring& url, const std::wstring& oldUninstaller) {
        installer_->SetParams(url, folder_.WideFile("old"), oldUninstaller, installDir_, true, true,
                              false, false);
        installer_->Start();
        return recorder_.WaitForOneOf(SetupEndCodes());
    }

    // Polls for at most two minutes, so that a broken setup cannot hang the suite.
    static bool WaitUntil(const std::function<bool()>& done) {
        for (int attempt = 0; attempt < 1200 && !done(); ++attempt) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return done();
    }

    std::string PackageFile() const { return folder_.File("target/Quillon/__Package_Quillon.exe"); }

    TestSupport::TempFolder folder_;
    const std::wstring installDir_ = folder_.WideFile("target/Quillon");
    std::unique_ptr<ChildScript> package_;
    std::unique_ptr<ChildScript> uninstaller_;
    std::unique_ptr<PackageServer> server_;
    SetupRecorder recorder_;
    std::unique_ptr<CDownloadInstaller> installer_ =
        std::make_unique<CDownloadInstaller>(recorder_.Callback(), L"", L"", L"", true, true, true);
};

TEST_F(DownloadInstaller, RemovesTheOldInstallationThenDownloadsAndRunsThePackage) {
    Publish("lines");

    EXPECT_EQ(RunSetup(Url(), OldInstallation("silent")), IST_CODE_SUCCESS);

    const std::vector<int> milestones = recorder_.Milestones();
    ASSERT_GE(milestones.size(), 3u);
    EXPECT_EQ(std::vector<int>(milestones.begin(), milestones.begin() + 3),
              (std::vector<int>{UNIST_CODE_PROGRESS, UNIST_CODE_SUCCESS, DL_CODE_START}));
    EXPECT_EQ(milestones.back(), IST_CODE_SUCCESS);
    EXPECT_EQ(recorder_.Reports().back().value, 0.0);
    // The uninstaller ran from its copy in the private temporary folder, told the old folder.
    EXPECT_TRUE(
        fs::exists(folder_.File("temp dir/~ZoRenTemp.92482B06FB471E17/Quillon_un_asa.exe")));
    const std::vector<std::string> uninstallerArgs = uninstaller_->Arguments();
    ASSERT_FALSE(uninstallerArgs.empty());
    EXPECT_EQ(uninstallerArgs.back(), "_?=" + folder_.File("old"));
    // The package was started from the target folder with it as -instdir, then removed.
    const std::vector<std::string> packageArgs = package_->Arguments();
    ASSERT_GE(packageArgs.size(), 2u);
    EXPECT_EQ(packageArgs[packageArgs.size() - 2], "-instdir=" + folder_.File("target/Quillon"));
    installer_.reset();
    EXPECT_FALSE(fs::exists(PackageFile()));
}

TEST_F(DownloadInstaller, GoesStraightToTheDownloadWhenTheOldUninstallerIsGone) {
    Publish("silent");

    EXPECT_EQ(RunSetup(Url(), folder_.WideFile("old/uninst.ep")), IST_CODE_SUCCESS);

    EXPECT_EQ(recorder_.Milestones().front(), DL_CODE_START);
    EXPECT_EQ(recorder_.Reports().back().value, kEndedWithoutFinalState);
}

TEST_F(DownloadInstaller, KeepsAnInstallationWhoseSetIniForbidsRemovingItInTheSameFolder) {
    Publish("silent");
    const std::wstring uninstaller = OldInstallation("silent");
    folder_.Write("old/set.ini", "[Uninstall]\nIsOverride=false\n");
    const std::wstring old = folder_.WideFile("old");
    // The window's removal decision for a setup into the old folder.
    const std::wstring toRemove = IsOverrideDisabled(old, old) ? L"" : uninstaller;

    installer_->SetParams(Url(), old, toRemove, old, true, true, false, false);
    installer_->Start();
    EXPECT_EQ(recorder_.WaitForOneOf(SetupEndCodes()), IST_CODE_SUCCESS);

    EXPECT_EQ(recorder_.Milestones().front(), DL_CODE_START);
    EXPECT_TRUE(uninstaller_->Arguments().empty()) << "the uninstaller ran";
}

TEST_F(DownloadInstaller, StopsWhenTheOldUninstallerFails) {
    Publish("silent");

    EXPECT_EQ(RunSetup(Url(), OldInstallation("uninstall-fail")), UNIST_CODE_ERROR);
    installer_.reset();

    EXPECT_EQ(recorder_.Milestones(),
              (std::vector<int>{UNIST_CODE_PROGRESS, UNIST_CODE_ERROR, UNIST_CODE_PROGRESS}));
    EXPECT_TRUE(package_->Arguments().empty()) << "the package ran";
}

TEST_F(DownloadInstaller, RemovesThePackageFileAfterAFailedDownload) {
    Publish("silent");
    fs::create_directories(folder_.File("target/Quillon"));
    folder_.Write("target/Quillon/__Package_Quillon.exe", "left by an earlier setup");
    // Nobody listens on the server's port once it is stopped.
    const std::wstring url = Url();
    server_.reset();

    EXPECT_EQ(RunSetup(url, L""), DL_CODE_FAIL);
    installer_.reset();  // the window hears of the failure before the cleanup runs

    EXPECT_FALSE(fs::exists(PackageFile()));
    EXPECT_TRUE(package_->Arguments().empty());
}

TEST_F(DownloadInstaller, StartsTheNextAttemptItselfAfterARetryReport) {
    Publish("lines", true);

    EXPECT_EQ(RunSetup(Url(), L""), IST_CODE_SUCCESS);

    const std::vector<int> milestones = recorder_.Milestones();
    const std::vector<int> expectedStart = {DL_CODE_START, DL_CODE_REASON,  DL_CODE_RETRY,
                                            DL_CODE_START, DL_CODE_SUCCESS, IST_CODE_START};
    ASSERT_GE(milestones.size(), expectedStart.size());
    EXPECT_EQ(std::vector<int>(milestones.begin(), milestones.begin() + expectedStart.size()),
              expectedStart);
}

TEST_F(DownloadInstaller, RetriesIntoAnotherFolderWithTheFirstDownloaderAndCleansBoth) {
    Publish("fail");
    EXPECT_EQ(RunSetup(Url(), L""), IST_CODE_FAIL);
    const std::size_t firstRun = recorder_.Reports().size();
    // The window hears of the failure before the cleanup runs; a user is never that quick.
    ASSERT_TRUE(WaitUntil([&] { return !fs::exists(PackageFile()); }));

    // The user picks another folder and tries again: the download still goes to the first
    // folder, but the package installs into the new one.
    const std::wstring secondDir = folder_.WideFile("second/Quillon");
    installer_->SetParams(Url(), L"", L"", secondDir, false, true, false, false);
    installer_->Start();
    ASSERT_TRUE(WaitUntil([&] {
        const std::vector<DownloadTest::Report> reports = recorder_.Reports();
        return std::any_of(reports.begin() + firstRun, reports.end(),
                           [](const DownloadTest::Report& r) { return r.code == IST_CODE_FAIL; });
    }));
    installer_.reset();

    EXPECT_EQ(recorder_.Reports()[firstRun].code, DL_CODE_START);
    const std::vector<std::string> packageArgs = package_->Arguments();
    ASSERT_GE(packageArgs.size(), 2u);
    EXPECT_EQ(packageArgs[packageArgs.size() - 2], "-instdir=" + folder_.File("second/Quillon"));
    EXPECT_FALSE(fs::exists(PackageFile())) << "the package in the first folder is left behind";
}

}  // namespace
