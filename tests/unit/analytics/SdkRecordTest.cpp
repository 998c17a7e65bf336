// Record building, seen through the data file that Shutdown writes.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "analytics/sdk/Sdk.h"
#include "analytics_support/QueuedRecords.h"
#include "analytics_support/TestFolder.h"

namespace usage_analytics {
namespace {

namespace fs = std::filesystem;

class SdkRecordTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dataFile_ = (folder_.path() / "records.txt").string();
        // Nothing listens there: the records stay queued and end in the data file.
        ASSERT_TRUE(Sdk::Init(dataFile_, "http://127.0.0.1:9/sa", "distinct-1", false));
    }

    void TearDown() override { Sdk::Shutdown(); }

    // Ends the instance and reads back what it had queued.
    std::vector<nlohmann::json> Records() {
        return analytics_test::ShutDownAndReadQueuedRecords(dataFile_);
    }

    analytics_test::TestFolder folder_{"sdk-record"};
    std::string dataFile_;
};

TEST_F(SdkRecordTest, TrackRecordsCarryTheSuperProperties) {
    PropertiesNode presets;
    presets.SetString("zr_app_id", "Quillon.downloader");
    presets.SetString("shared", "preset");
    Sdk::RegisterSuperProperties(presets);
    PropertiesNode properties;
    properties.SetString("shared", "event");
    Sdk::Track("ZrEventClick", properties);
    Sdk::ProfileSet("zr_os", std::string("Windows"));

    const auto records = Records();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0]["type"], "track");
    EXPECT_EQ(records[0]["event"], "ZrEventClick");
    EXPECT_EQ(records[0]["distinct_id"], "distinct-1");
    EXPECT_EQ(records[0]["properties"], nlohmann::json({{"$lib", "cpp"},
                                                        {"$lib_version", "0.9"},
                                                        {"zr_app_id", "Quillon.downloader"},
                                                        {"shared", "event"}}));
    EXPECT_EQ(records[0]["lib"],
              nlohmann::json({{"$lib", "cpp"}, {"$lib_method", "code"}, {"$lib_version", "0.9"}}));
    EXPECT_EQ(records[1]["type"], "profile_set");
    EXPECT_FALSE(records[1].contains("event"));
    EXPECT_EQ(records[1]["properties"], nlohmann::json({{"zr_os", "Windows"}}));
    for (const auto& record : records) {
        EXPECT_LT(record["_track_id"].get<std::int64_t>(), 1000000000);
        EXPECT_GT(record["time"].get<std::int64_t>(), 1600000000000);
    }
}

TEST_F(SdkRecordTest, InvalidNamesDropTheWholeRecord) {
    const std::pair<std::string, std::string> cases[] = {
        {"9abc", "The Property Key need to be a valid variable name.\n"},
        {"a-b", "The Property Key need to be a valid variable name.\n"},
        {std::string(101, 'k'), "The Property Key is empty or too long, max length is 100\n"},
    };
    for (const auto& [name, complaint] : cases) {
        PropertiesNode properties;
        properties.SetInteger("fine", 1);
        properties.SetInteger(name, 1);
        ::testing::internal::CaptureStderr();
        Sdk::Track("ZrEventClick", properties);
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), complaint);
    }
    ::testing::internal::CaptureStderr();
    Sdk::Track("Zr-Event", PropertiesNode());
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "The Event Name need to be a valid variable name.\n");
    EXPECT_EQ(Sdk::QueuedRecordCount(), 0u);

    PropertiesNode longest;
    longest.SetInteger(std::string(100, 'k'), 1);
    Sdk::Track("ZrEventClick", longest);
    EXPECT_EQ(Sdk::QueuedRecordCount(), 1u);
}

TEST_F(SdkRecordTest, TimeAndProjectPropertiesMoveIntoTheRecord) {
    PropertiesNode properties;
    properties.SetDateTime("$time", 1700000000, 250);
    properties.SetString("$project", "staging");
    Sdk::Track("ZrEventView", properties);

    PropertiesNode wrongTime;
    wrongTime.SetInteger("$time", 5);
    ::testing::internal::CaptureStderr();
    Sdk::Track("ZrEventView", wrongTime);
    PropertiesNode wrongProject;
    wrongProject.SetBool("$project", true);
    Sdk::Track("ZrEventView", wrongProject);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "The property '$time' should be DateTime type.\n"
              "The property '$project' should be String type.\n");

    const auto records = Records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0]["time"], 1700000000250);
    EXPECT_EQ(records[0]["project"], "staging");
    EXPECT_FALSE(records[0]["properties"].contains("$time"));
    EXPECT_FALSE(records[0]["properties"].contains("$project"));
}

TEST_F(SdkRecordTest, SignupSwitchesToTheLoginId) {
    Sdk::Track("Before", PropertiesNode());
    Sdk::TrackSignup("user-42");
    Sdk::Track("After", PropertiesNode());
    Sdk::ProfileIncrement("zr_paid_count", 1);

    const auto records = Records();
    ASSERT_EQ(records.size(), 4u);
    EXPECT_FALSE(records[0]["properties"].contains("$is_login_id"));
    EXPECT_EQ(records[1]["type"], "track_signup");
    EXPECT_EQ(records[1]["event"], "$SignUp");
    EXPECT_EQ(records[1]["distinct_id"], "user-42");
    EXPECT_EQ(records[1]["original_id"], "distinct-1");
    EXPECT_FALSE(records[1]["properties"].contains("$is_login_id"));
    EXPECT_EQ(records[2]["distinct_id"], "user-42");
    EXPECT_EQ(records[2]["properties"]["$is_login_id"], true);
    EXPECT_EQ(records[3]["type"], "profile_increment");
    EXPECT_EQ(records[3]["properties"],
              nlohmann::json({{"$is_login_id", true}, {"zr_paid_count", 1}}));
}

TEST_F(SdkRecordTest, ProfileOperationsNameTheirRecordType) {
    Sdk::ProfileSetOnce("zr_first_visit_date", std::int64_t{7});
    Sdk::ProfileSet("zr_consumption", 2.5);
    Sdk::ProfileAppend("tags", "a");
    PropertiesNode installation;
    installation.SetString("zr_app_store", "setup.exe");
    Sdk::TrackInstallation("ZrEventActivity", installation);

    const auto records = Records();
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(records[0]["type"], "profile_set_once");
    EXPECT_EQ(records[1]["type"], "profile_set");
    EXPECT_EQ(records[1]["properties"]["zr_consumption"], 2.5);
    EXPECT_EQ(records[2]["type"], "profile_append");
    EXPECT_EQ(records[2]["properties"]["tags"], nlohmann::json::array({"a"}));
    EXPECT_EQ(records[3]["properties"]["$ios_install_source"], "");
    EXPECT_EQ(records[3]["properties"]["zr_app_store"], "setup.exe");
}

TEST_F(SdkRecordTest, DistinctIdMustBeAValidId) {
    Sdk::Shutdown();
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(Sdk::Init(dataFile_, "http://127.0.0.1:9/sa", std::string(256, 'd'), false));
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "The Distinct ID is too long, max length is 255.\n");
    Sdk::Track("Ignored", PropertiesNode());
    EXPECT_EQ(Sdk::QueuedRecordCount(), 0u);
    EXPECT_TRUE(Sdk::Init(dataFile_, "http://127.0.0.1:9/sa", std::string(255, 'd'), false));
}

}  // namespace
}  // namespace usage_analytics
