// The tracker against a real collection service: identity, catalogue rules and the wrapper.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>

#include "TrackerFixture.h"
#include "analytics/tracker/UsageTracker.h"
#include "platform/Ini.h"
#include "utils/TextConversion.h"

namespace zoren::usage {
namespace {

using analytics_test::TrackerFixture;

class TrackerTest : public TrackerFixture {
  protected:
    // One run of the tracker: created, used, released (which delivers).
    void Run(const std::string& url, const std::function<void(UsageTracker&)>& use) {
        createTracker(Config(url));
        use(*sharedTracker());
        releaseTracker();
    }

    static void Click(UsageTracker& tracker) {
        ZrEventClick click;
        click.name = "button";
        tracker.trackClick(click, ZrContextProperties());
    }
};

TEST_F(TrackerTest, TheIdentityLastsAcrossRunsAndBelongsToOneCollectionUrl) {
    std::string primary;
    Run(server_.Url(), [&](UsageTracker& tracker) { primary = tracker.getPrimaryDistinctId(); });
    ASSERT_EQ(primary.size(), 36u);
    for (std::size_t i = 0; i < primary.size(); ++i) {
        const bool dash = i == 8 || i == 13 || i == 18 || i == 23;
        EXPECT_TRUE(dash ? primary[i] == '-'
                         : std::isxdigit(primary[i]) && !std::islower(primary[i]))
            << primary;
    }
    EXPECT_EQ(Setting(L"Base", L"DistinctId"), primary);
    EXPECT_EQ(Setting(L"Base", L"PrimaryDistinctId"), primary);
    EXPECT_EQ(Setting(L"Base", L"UserId"), "");
    EXPECT_EQ(Setting(L"Base", L"UserVipLevel"), "0");
    EXPECT_EQ(Setting(L"Base", L"URL"), server_.Url());
    EXPECT_EQ(Setting(L"Base", L"isLogined"), "NG");
    EXPECT_EQ(Setting(L"UninstallInfo", L"AppStore"), "setup.exe");
    EXPECT_EQ(Setting(L"UninstallInfo", L"AppName"), kAppName);
    EXPECT_EQ(Setting(L"UninstallInfo", L"AppVersion"), "1.7.9");
    EXPECT_TRUE(std::filesystem::exists(DataFolder() / "Quillon.downloader_ZRSLog.txt"));

    Run(server_.Url(), &Click);
    EXPECT_EQ(Events().back()["distinct_id"], primary) << "the second run keeps the identity";

    Run(server_.Url(), [](UsageTracker& tracker) {
        ZrUserInfo user;
        user.userId = "user-7";
        user.userType = ZrUserType::Email;
        user.vipLevel = 3;
        tracker.trackLogin(user, true, "", ZrContextProperties());
    });
    EXPECT_EQ(Setting(L"Base", L"DistinctId"), "user-7");
    EXPECT_EQ(Setting(L"Base", L"PrimaryDistinctId"), primary);
    EXPECT_EQ(Setting(L"Base", L"UserId"), "user-7");
    EXPECT_EQ(Setting(L"Base", L"UserVipLevel"), "3");
    EXPECT_EQ(Setting(L"Base", L"isLogined"), "OK");

    // A login asks for no delivery of its own: its records wait in the data file for the
    // next run.
    Run(server_.Url(), &Click);
    const auto records = server_.Records();
    ASSERT_GE(records.size(), 3u);
    const auto& login = records[records.size() - 3];
    const auto& signup = records[records.size() - 2];
    EXPECT_EQ(login["event"], "ZrEventLogin");
    EXPECT_EQ(login["properties"]["zr_login_id"], "user-7");
    EXPECT_EQ(login["properties"]["zr_type"], "email");
    EXPECT_EQ(login["properties"]["zr_result"], "Success");
    EXPECT_EQ(signup["type"], "track_signup");
    EXPECT_EQ(signup["distinct_id"], "user-7");
    EXPECT_EQ(signup["original_id"], primary);
    EXPECT_EQ(Events().back()["distinct_id"], "user-7");
    EXPECT_EQ(Events().back()["properties"]["$is_login_id"], true);
    EXPECT_EQ(Events().back()["properties"]["zr_user_id"], "user-7");

    WriteSetting(L"Base", L"isLogined", L"ok");
    Run(server_.Url(), &Click);
    EXPECT_FALSE(Events().back()["properties"].contains("$is_login_id"))
        << "only an exact OK reads as logged in";

    const std::string staging = server_.Url() + "&stage=1";
    Run(staging, &Click);
    EXPECT_EQ(Events().back()["distinct_id"], primary);
    EXPECT_EQ(Setting(L"Base", L"DistinctId"), primary);
    EXPECT_EQ(Setting(L"Base", L"UserId"), "");
    EXPECT_EQ(Setting(L"Base", L"isLogined"), "NG");
    EXPECT_EQ(Setting(L"Base", L"URL"), staging);
}

struct CatalogueCase {
    const char* what;
    std::function<void(UsageTracker&)> track;
    const char* failureLine;  // empty when the record is queued
    std::function<void(const nlohmann::json& properties)> check;
};

TEST_F(TrackerTest, RecordsFollowTheCatalogueAndFailuresStayInside) {
    const std::string gbkName = "\xB0\xB2\xD7\xB0";  // 安装 in GBK
    const CatalogueCase cases[] = {
        {"click without a name",
         [](UsageTracker& t) { t.trackClick(ZrEventClick(), ZrContextProperties()); },
         "Failed to trackClick\n", nullptr},
        {"click of an unknown type",
         [](UsageTracker& t) {
             ZrEventClick click;
             click.name = "x";
             click.clickType = static_cast<ClickType>(5);
             t.trackClick(click, ZrContextProperties());
         },
         "Failed to trackClick\n", nullptr},
        {"task with an unknown result",
         [&](UsageTracker& t) {
             ZrEventTask task;
             task.name = gbkName;
             task.result = ZrResult::Unknown;
             t.trackTask(task, ZrContextProperties());
         },
         "",
         [](const nlohmann::json& p) {
             EXPECT_FALSE(p.contains("zr_task_result"));
             EXPECT_FALSE(p.contains("zr_task_elapsed"));
             EXPECT_EQ(p["zr_task_name"], "安装") << "converted from the system code page";
         }},
        {"share with an unknown result",
         [](UsageTracker& t) {
             ZrEventShare share;
             share.result = ZrResult::Unknown;
             t.trackShare(share, ZrContextProperties());
         },
         "", [](const nlohmann::json& p) { EXPECT_EQ(p["zr_result"], "Unknown"); }},
        {"order without a paid amount",
         [](UsageTracker& t) {
             ZrEventOrder order;
             order.zrSuitId = "suit";
             order.zrCurrency = ZrCurrency::CNY;
             order.originalAmount = 10;
             t.trackOrder(order, ZrContextProperties());
         },
         "Failed to trackOrder\n", nullptr},
        {"payment of nothing",
         [](UsageTracker& t) {
             ZrEventPayment payment;
             payment.zrOrderId = "order-1";
             payment.currency = ZrCurrency::USD;
             payment.paidPlatform = ZrPaidPlatform::Paddle;
             t.trackPayment(payment, ZrContextProperties());
         },
         "",
         [](const nlohmann::json& p) {
             EXPECT_EQ(p["zr_paid_amount"], 0);
             EXPECT_EQ(p["zr_paid_platform"], "Paddle");
         }},
        {"download end without elapsed time",
         [](UsageTracker& t) {
             ZrEventUpdate update;
             update.op = ZrUpdateOp::DownloadEnd;
             update.result = ZrUpdateResult::Success;
             t.trackUpdate(update, ZrContextProperties());
         },
         "Failed to trackUpdate\n", nullptr},
        {"update check without a result",
         [](UsageTracker& t) { t.trackUpdate(ZrEventUpdate(), ZrContextProperties()); }, "",
         [](const nlohmann::json& p) { EXPECT_EQ(p["zr_update_result"], ""); }},
        {"notification without a plan",
         [](UsageTracker& t) {
             ZrEventAppOpenNotification notification;
             notification.msgTitle = "title";
             t.trackAppOpenNotification(&notification, ZrContextProperties());
         },
         "Failed to trackAppOpenNotification\n", nullptr},
        {"click with an A/B group",
         [](UsageTracker& t) {
             ZrContextProperties context;
             context.setProperty("IN", {kEventClick, kEventView});
             ZrEventClick click;
             click.name = "立即安装";
             click.tabIndex = 2;
             t.trackClick(click, context);
         },
         "",
         [](const nlohmann::json& p) {
             EXPECT_EQ(p["zrc_ab"], "IN");
             EXPECT_EQ(p["zr_tab_index"], 2);
             EXPECT_EQ(p["zr_click_type"], "Button");
             EXPECT_EQ(p["$is_first_time"], true);
             EXPECT_EQ(p["zr_app_id"], kAppName);
             EXPECT_EQ(p["$lib"], "cpp");
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::size_t before = Events().size();
        ::testing::internal::CaptureStdout();
        Run(server_.Url(), c.track);
        EXPECT_EQ(::testing::internal::GetCapturedStdout(), c.failureLine);
        // Some records wait for a later delivery: a click in the next run brings them along.
        Run(server_.Url(), &Click);
        const auto events = Events();
        if (c.check) {
            ASSERT_EQ(events.size(), before + 2);
            c.check(events[events.size() - 2]["properties"]);
        } else {
            EXPECT_EQ(events.size(), before + 1) << "a refused record queues nothing";
        }
    }
}

TEST_F(TrackerTest, OnVistaTheDataLivesInTheCommonDocuments) {
    setenv("QUILLON_WINVER", "6.0.6002", 1);
    setenv("XDG_DOCUMENTS_DIR", (folder_ / "documents").c_str(), 1);
    Run(server_.Url(), &Click);
    unsetenv("QUILLON_WINVER");
    unsetenv("XDG_DOCUMENTS_DIR");
    const auto data = folder_ / "documents" / "ZRLocal" / kAppName;
    EXPECT_TRUE(std::filesystem::exists(data / "Quillon.downloader_ZRSConfigure.ini"));
    EXPECT_TRUE(std::filesystem::exists(data / "Quillon.downloader_ZRSLog.txt"));
    EXPECT_FALSE(std::filesystem::exists(DataFolder()));
    EXPECT_EQ(Events().back()["properties"]["$os_version"], "Vista64");
}

TEST_F(TrackerTest, SetIniBesideTheProgramNamesTheSettingsFile) {
    // The probe runs from a folder of its own, with the pointer beside it, written with "/".
    const auto programFolder = folder_ / "program";
    std::filesystem::create_directories(programFolder);
    const auto probe = programFolder / "analytics_identity_probe";
    std::filesystem::copy_file(QUILLON_BIN "/analytics_identity_probe", probe);
    const auto shared = folder_ / "shared" / "deep";
    const auto settings = shared / "product_settings.ini";
    {
        std::ofstream pointer(programFolder / "Set.ini");
        pointer << "[Install]\nZRUsageAnalyticsIni=" << settings.string() << "\n";
    }
    std::string output;
    for (int run = 0; run < 2; ++run) {
        FILE* child = popen((probe.string() + " '" + server_.Url() + "'").c_str(), "r");
        ASSERT_NE(child, nullptr);
        char line[128] = "";
        output = std::fgets(line, sizeof line, child) ? line : "";
        EXPECT_EQ(pclose(child), 0);
    }
    ASSERT_TRUE(std::filesystem::exists(settings));
    EXPECT_TRUE(std::filesystem::exists(shared / "Quillon.downloader_ZRSLog.txt"));
    EXPECT_FALSE(std::filesystem::exists(DataFolder()));
    wchar_t primary[64] = {};
    win32::GetPrivateProfileStringW(L"Base", L"PrimaryDistinctId", L"", primary, 64,
                                    Utils::FromUtf8(settings.string()).c_str());
    EXPECT_EQ(output, "primary=" + Utils::ToUtf8(primary) + "\n") << "the same id in both runs";
}

TEST_F(TrackerTest, ATrackerThatCouldNotStartQueuesNothing) {
    auto config = Config(server_.Url());
    config.appStore.clear();
    createTracker(config);
    ::testing::internal::CaptureStdout();
    Click(*sharedTracker());
    sharedTracker()->trackClick(ZrEventClick(), ZrContextProperties());
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "") << "no logger, no failure line";
    releaseTracker();
    EXPECT_EQ(server_.Arrived(), 0);
    EXPECT_FALSE(std::filesystem::exists(DataFolder()));
}

}  // namespace
}  // namespace zoren::usage
