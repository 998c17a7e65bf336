// Profile records, seen through the data file the SDK writes when it shuts down.
#include "analytics/tracker/NativeUserTracker.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <nlohmann/json.hpp>

#include "analytics/sdk/Sdk.h"
#include "analytics/tracker/ZrException.h"
#include "analytics_support/QueuedRecords.h"
#include "analytics_support/TestFolder.h"

namespace zoren::usage {
namespace {

namespace fs = std::filesystem;

class NativeUserTrackerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dataFile_ = (folder_.path() / "records.txt").string();
        ASSERT_TRUE(usage_analytics::Sdk::Init(dataFile_, "http://127.0.0.1:9/sa", "d", false));
    }

    void TearDown() override { usage_analytics::Sdk::Shutdown(); }

    std::vector<nlohmann::json> Records() {
        return analytics_test::ShutDownAndReadQueuedRecords(dataFile_);
    }

    static std::string Complaint(const std::function<void()>& action) {
        try {
            action();
        } catch (const ZrException& e) {
            return e.what();
        }
        return {};
    }

    analytics_test::TestFolder folder_{"native-user-tracker"};
    std::string dataFile_;
};

TEST_F(NativeUserTrackerTest, EachPropertyBecomesTheRecordItsTableNames) {
    NativeUserTracker::userPropertyString("zr_os", "Windows");
    NativeUserTracker::userPropertyString("$ios_install_source", "x");
    NativeUserTracker::userPropertyNumber("zr_visit_count", std::int64_t{2});
    NativeUserTracker::userPropertyNumber("zr_consumption", 9.5);
    NativeUserTracker::userPropertyDateTime("zr_first_visit_date", 1700000000123);
    NativeUserTracker::userPropertyDateTime("zr_last_visit_date", 1700000000);  // seconds

    const auto records = Records();
    ASSERT_EQ(records.size(), 6u);
    const char* types[] = {"profile_set",       "profile_set_once", "profile_increment",
                           "profile_increment", "profile_set_once", "profile_set"};
    for (std::size_t i = 0; i < records.size(); ++i) {
        EXPECT_EQ(records[i]["type"], types[i]) << i;
    }
    EXPECT_EQ(records[3]["properties"]["zr_consumption"], 9.5);
    const std::string firstVisit = records[4]["properties"]["zr_first_visit_date"];
    const std::string lastVisit = records[5]["properties"]["zr_last_visit_date"];
    EXPECT_EQ(firstVisit.substr(firstVisit.size() - 4), ".123");
    EXPECT_EQ(lastVisit.substr(lastVisit.size() - 4), ".000");
    EXPECT_EQ(firstVisit.substr(0, 16), lastVisit.substr(0, 16)) << "the same minute";
}

TEST_F(NativeUserTrackerTest, RefusesWhatAPropertyCannotTake) {
    EXPECT_EQ(Complaint([] { NativeUserTracker::userPropertyString("zr_visit_count", "1"); }),
              "user property [zr_visit_count] is string type value, it cannot be accumulated!");
    EXPECT_EQ(Complaint([] { NativeUserTracker::userPropertyDateTime("zr_paid_count", 1); }),
              "user property [zr_paid_count] is boolean value, it cannot be accumulative!");
    EXPECT_EQ(Complaint([] { NativeUserTracker::userPropertyNumber("zr_age", 1.0); }),
              "Not supported user property [zr_age]!");
    EXPECT_TRUE(Records().empty());
}

TEST_F(NativeUserTrackerTest, TheProfileStepsOfActivityAndPayment) {
    EXPECT_EQ(NativeUserTracker::activityProfile("10", "setup.exe", "Quillon.downloader", "1.7.9"),
              9);
    EXPECT_EQ(NativeUserTracker::paymentProfile(12.5), 4);
    const auto records = Records();
    ASSERT_EQ(records.size(), 14u);
    EXPECT_EQ(records[9]["properties"]["$ios_install_source"],
              "android_id=123##imei=1234##mac=123");
}

}  // namespace
}  // namespace zoren::usage
