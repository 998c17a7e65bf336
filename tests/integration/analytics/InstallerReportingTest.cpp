// The installer's reports as the collection service receives them.
#include "analytics/tracker/InstallerReporting.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "TrackerFixture.h"
#include "shell/LaunchConfig.h"

namespace zoren::usage {
namespace {

class InstallerReportingTest : public analytics_test::TrackerFixture {
  protected:
    void SetUp() override {
        TrackerFixture::SetUp();
        saved_ = Shell::GetLaunchConfig();
        Shell::GetLaunchConfig().InstallerFileName = L"QuillonSetup.exe";
        setenv("QUILLON_COLLECT_URL", server_.Url().c_str(), 1);
    }

    void TearDown() override {
        TrackerFixture::TearDown();
        Shell::GetLaunchConfig() = saved_;
        unsetenv("QUILLON_COLLECT_URL");
    }

    const ReportProperties group_{{L"AB", L"IN"}};
    Shell::LaunchConfig saved_;
};

TEST_F(InstallerReportingTest, AQuickInstallationDeliversItsMilestonesInOrder) {
    ReportInstallerEvent(L"libcurl初始化失败", L"", 0, group_);  // no tracker yet: skipped
    StartTracker();
    ReportInstallerClick(group_, L"立即安装");
    ReportInstallerPage(group_);
    ReportInstallerEvent(L"下载器启动", L"", 0, group_);
    ReportInstallerEvent(L"开始下载大包", L"", 0, group_);
    ReportInstallerEvent(L"下载失败原因", L":1.code=28；2.msg=timeout", 0, group_);
    ReportInstallerEvent(L"开始下载大包", L"", 0, group_);
    ReportInstallerEvent(L"大包下载完毕", L"", 12.5f, group_);
    ReportInstallerEvent(L"安装成功", L"", 30.25f, group_);
    ReportInstallerClick(group_, L"立即体验");
    EXPECT_EQ(server_.Arrived(), 0) << "reports wait for the end of the run";
    releaseTracker();
    ReportInstallerCrash();  // after the release: skipped

    struct Expected {
        const char* event;
        const char* name;
        double elapsed;
        const char* reason;
    };
    const Expected expected[] = {
        {"ZrEventClick", "立即安装", -1, nullptr},
        {"ZrEventView", "安装中", -1, nullptr},
        {"ZrEventTask", "下载器启动", 0, nullptr},
        {"ZrEventTask", "开始下载大包", 0, nullptr},
        {"ZrEventTask", "下载失败原因", 0, ":1.code=28；2.msg=timeout"},
        {"ZrEventTask", "开始下载大包", 0, nullptr},
        {"ZrEventTask", "大包下载完毕", 12.5, nullptr},
        {"ZrEventTask", "安装成功", 30.25, nullptr},
        {"ZrEventClick", "立即体验", -1, nullptr},
    };
    const auto events = Events();
    ASSERT_EQ(events.size(), std::size(expected));
    for (std::size_t i = 0; i < events.size(); ++i) {
        SCOPED_TRACE(expected[i].name);
        const auto& p = events[i]["properties"];
        EXPECT_EQ(events[i]["event"], expected[i].event);
        const bool isTask = std::string(expected[i].event) == "ZrEventTask";
        EXPECT_EQ(p[isTask ? "zr_task_name" : "zr_name"], expected[i].name);
        if (isTask) {
            EXPECT_EQ(p["zr_task_elapsed"], expected[i].elapsed);
            EXPECT_EQ(p["zr_task_result"], "Success");
        }
        if (expected[i].reason) {
            EXPECT_EQ(p["zr_reason"], expected[i].reason);
        } else {
            EXPECT_FALSE(p.contains("zr_reason"));
        }
        if (std::string(expected[i].event) == "ZrEventClick") {
            EXPECT_EQ(p["zr_click_type"], "Button");
        }
        EXPECT_EQ(p["zrc_ab"], "IN");
        EXPECT_EQ(p["$is_first_time"], true);
        EXPECT_EQ(p["zr_app_id"], "Quillon.downloader");
        EXPECT_EQ(p["$app_id"], "Quillon.downloader");
        EXPECT_EQ(p["$app_version"], "1.7.9");
        EXPECT_EQ(p["zr_app_store"], "QuillonSetup.exe");
        EXPECT_EQ(p["zr_dlapp_id"], "Quillon");
        EXPECT_FALSE(p.contains("zr_dlapp_version"));
        EXPECT_EQ(p["zr_edition"], "china");
        EXPECT_EQ(p["zr_app_platform"], "Windows");
        EXPECT_EQ(p["$os"], "Windows");
    }
    for (const auto& batch : server_.Batches()) {
        EXPECT_EQ(batch["path"], "/sa?project=pc") << "QUILLON_COLLECT_URL names the service";
    }
}

TEST_F(InstallerReportingTest, ACrashReportLeavesAtOnceWithoutTheGroup) {
    StartTracker();
    ReportInstallerClick(group_, L"立即安装");
    ReportInstallerEvent(L"崩溃退出", L"", 0, group_);
    ReportInstallerCrash();
    const auto events = Events();  // before the release: the crash delivered in this thread
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[1]["properties"]["zr_task_name"], "崩溃退出");
    EXPECT_EQ(events[2]["event"], "AppCrashed");
    EXPECT_EQ(events[2]["properties"]["app_crashed_reason"], "崩溃");
    EXPECT_FALSE(events[2]["properties"].contains("zrc_ab"));
    EXPECT_EQ(events[2]["properties"]["zr_app_store"], "QuillonSetup.exe");
}

TEST_F(InstallerReportingTest, AnInvalidGroupSkipsTheReportQuietly) {
    StartTracker();
    ReportInstallerClick({{L"AB", L"in"}}, L"立即安装");
    ReportInstallerPage({{L"AB", L""}});
    ReportInstallerEvent(L"下载器启动", L"", 0, {});
    releaseTracker();
    const auto events = Events();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0]["event"], "ZrEventView");
    EXPECT_FALSE(events[0]["properties"].contains("zrc_ab"));
    EXPECT_FALSE(events[1]["properties"].contains("zrc_ab"));
}

TEST_F(InstallerReportingTest, WithAnalyticsOffNothingIsTouched) {
    Shell::GetLaunchConfig().IsEnableAppAnalytics = false;
    StartTracker();
    EXPECT_EQ(sharedTracker(), nullptr);
    ReportInstallerClick(group_, L"立即安装");
    ReportInstallerPage(group_);
    ReportInstallerEvent(L"下载器启动", L"", 0, group_);
    ReportInstallerCrash();
    releaseTracker();
    EXPECT_EQ(server_.Arrived(), 0);
    EXPECT_TRUE(std::filesystem::is_empty(folder_));
}

}  // namespace
}  // namespace zoren::usage
