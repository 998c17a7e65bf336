// The SDK's batches against a real collection service on 127.0.0.1.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "CollectServer.h"
#include "analytics/sdk/LastDelivery.h"
#include "analytics/sdk/Sdk.h"
#include "analytics_support/TestFolder.h"

namespace usage_analytics {
namespace {

namespace fs = std::filesystem;
using analytics_test::CollectServer;

class SdkDeliveryTest : public ::testing::Test {
  protected:
    void SetUp() override { dataFile_ = (folder_.path() / "records.txt").string(); }

    void TearDown() override { Sdk::Shutdown(); }

    void Start(const CollectServer& server) {
        ASSERT_TRUE(Sdk::Init(dataFile_, server.Url(), "distinct-1", false));
    }

    static void TrackNumbered(int from, int to) {
        for (int seq = from; seq < to; ++seq) {
            PropertiesNode properties;
            properties.SetInteger("seq", seq);
            Sdk::Track("ZrEventTask", properties);
        }
    }

    static std::vector<int> Sequence(const nlohmann::json& records) {
        std::vector<int> seqs;
        for (const auto& record : records) {
            seqs.push_back(record["properties"]["seq"].get<int>());
        }
        return seqs;
    }

    static std::vector<int> Range(int from, int to) {
        std::vector<int> values;
        for (int value = from; value < to; ++value) {
            values.push_back(value);
        }
        return values;
    }

    analytics_test::TestFolder folder_{"sdk-delivery"};
    std::string dataFile_;
};

TEST_F(SdkDeliveryTest, OneRecordArrivesInItsExactText) {
    setenv("TZ", "CST-8", 1);
    tzset();
    CollectServer server;
    Start(server);
    PropertiesNode properties;
    properties.SetDateTime("$time", 1700000000, 123);
    properties.SetString("zr_task_name", "\xE5\xAE\x89\xE8\xA3\x85\xE6\x88\x90\xE5\x8A\x9F");
    properties.SetNumber("zr_task_elapsed", 12.5);
    properties.SetNumber("big", 1234567.5);
    properties.SetInteger("count", 1234567);
    properties.SetBool("$is_first_time", true);
    properties.SetList("tags", {"a", "b\"c"});
    properties.SetDateTime("when", 1700000000, 5);
    properties.SetString("text", "tab\there\nquote\" back\\ slash/");
    Sdk::Track("ZrEventTask", properties);
    ASSERT_TRUE(Sdk::FlushAll());

    const auto batches = server.Batches();
    ASSERT_EQ(batches.size(), 1u);
    const std::string text = batches[0]["text"];
    const std::string prefix = "[{\"_track_id\":";
    ASSERT_EQ(text.rfind(prefix, 0), 0u) << text;
    const std::size_t digits = text.find_first_not_of("0123456789", prefix.size());
    ASSERT_GT(digits, prefix.size());
    ASSERT_LE(digits - prefix.size(), 9u);
    const std::string id = text.substr(prefix.size(), digits - prefix.size());
    const std::string expected =
        prefix + id +
        ",\"distinct_id\":\"distinct-1\",\"event\":\"ZrEventTask\","
        "\"lib\":{\"$lib\":\"cpp\",\"$lib_method\":\"code\",\"$lib_version\":\"0.9\"},"
        "\"properties\":{\"$is_first_time\":true,\"$lib\":\"cpp\",\"$lib_version\":\"0.9\","
        "\"big\":1.23457e+06,\"count\":1234567,\"tags\":[\"a\",\"b\\\"c\"],"
        "\"text\":\"tab\\there\\nquote\\\" back\\\\ slash/\","
        "\"when\":\"2023-11-15 06:13:20.005\",\"zr_task_elapsed\":12.5,"
        "\"zr_task_name\":\"\xE5\xAE\x89\xE8\xA3\x85\xE6\x88\x90\xE5\x8A\x9F\"},"
        "\"time\":1700000000123,\"type\":\"track\"}]";
    EXPECT_EQ(text, expected);
    EXPECT_EQ(batches[0]["path"], "/sa?project=pc");
    EXPECT_EQ(batches[0]["user_agent"], "UsageAnalytics CPP SDK 0.9");
    EXPECT_EQ(batches[0]["records"][0]["properties"]["zr_task_name"], "安装成功");
    EXPECT_TRUE(LastDeliverySucceeded());
    unsetenv("TZ");
    tzset();
}

TEST_F(SdkDeliveryTest, SendsBatchesOfThirtyOldestFirst) {
    CollectServer server;
    Start(server);
    TrackNumbered(0, 65);
    ASSERT_TRUE(Sdk::FlushAll());
    const auto batches = server.Batches();
    ASSERT_EQ(batches.size(), 3u);
    EXPECT_EQ(batches[0]["records"].size(), 30u);
    EXPECT_EQ(batches[1]["records"].size(), 30u);
    EXPECT_EQ(batches[2]["records"].size(), 5u);
    EXPECT_EQ(Sequence(server.Records()), Range(0, 65));
    EXPECT_EQ(Sdk::QueuedRecordCount(), 0u);
}

TEST_F(SdkDeliveryTest, AFailedBatchStopsTheFlushAndGoesBack) {
    CollectServer server;
    Start(server);
    server.Control({{"script", {200, 500}}});
    TrackNumbered(0, 65);
    EXPECT_FALSE(Sdk::FlushAll());
    EXPECT_EQ(server.Arrived(), 2);
    EXPECT_EQ(Sdk::QueuedRecordCount(), 35u);
    EXPECT_FALSE(LastDeliverySucceeded());

    server.Control({{"status", 200}});
    EXPECT_TRUE(Sdk::FlushAll());
    EXPECT_EQ(Sequence(server.Records()), Range(0, 65)) << "nothing lost, nothing twice";
}

TEST_F(SdkDeliveryTest, OnlyStatus200IsASuccess) {
    CollectServer server;
    Start(server);
    TrackNumbered(0, 3);
    for (int status : {201, 204, 302, 500}) {
        server.Control({{"status", status}});
        ::testing::internal::CaptureStderr();
        EXPECT_FALSE(Sdk::FlushAll()) << status;
        const std::string complaint = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(Sdk::QueuedRecordCount(), 3u) << status;
        EXPECT_NE(complaint.find("UsageAnalytics SDK send failed: "), std::string::npos);
    }
    server.Control({{"status", 200}});
    EXPECT_TRUE(Sdk::FlushAll());
    EXPECT_EQ(Sequence(server.Records()), Range(0, 3));
}

TEST_F(SdkDeliveryTest, TheOldestRecordMakesRoomForThe1025th) {
    CollectServer server;
    Start(server);
    TrackNumbered(0, 1025);
    EXPECT_EQ(Sdk::QueuedRecordCount(), 1024u);
    ASSERT_TRUE(Sdk::FlushAll());
    EXPECT_EQ(Sequence(server.Records()), Range(1, 1025));
}

TEST_F(SdkDeliveryTest, AFailedBatchReturnsOnlyAsManyRecordsAsThereIsRoom) {
    CollectServer server;
    Start(server);
    server.Control({{"status", 500}, {"hold", true}});
    TrackNumbered(0, 30);
    std::thread flush([] { EXPECT_FALSE(Sdk::FlushAll()); });
    for (int wait = 0; wait < 500 && server.Arrived() == 0; ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_EQ(server.Arrived(), 1);
    TrackNumbered(30, 1030);  // while the batch is out
    server.Release();
    flush.join();
    EXPECT_EQ(Sdk::QueuedRecordCount(), 1024u);

    server.Control({{"status", 200}});
    ASSERT_TRUE(Sdk::FlushAll());
    EXPECT_EQ(Sequence(server.Records()), Range(6, 1030)) << "the batch's 6 oldest are lost";
}

TEST_F(SdkDeliveryTest, AServiceThatNeverAnswersKeepsTheRecords) {
    CollectServer server;
    Start(server);
    server.Control({{"silent", true}});
    TrackNumbered(0, 2);
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(Sdk::FlushAll());
    const std::string complaint = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(complaint.find("UsageAnalytics SDK send failed: "), std::string::npos);
    EXPECT_NE(complaint.find("timed out"), std::string::npos) << complaint;
    EXPECT_EQ(Sdk::QueuedRecordCount(), 2u);
}

TEST_F(SdkDeliveryTest, TrackingFromSeveralThreadsWhileFlushingLosesNothing) {
    CollectServer server;
    Start(server);
    std::atomic<bool> tracking{true};
    std::thread flusher([&] {
        while (tracking) {
            Sdk::FlushAll();
        }
    });
    std::vector<std::thread> trackers;
    for (int t = 0; t < 4; ++t) {
        trackers.emplace_back([t] { TrackNumbered(t * 200, t * 200 + 200); });
    }
    for (auto& thread : trackers) {
        thread.join();
    }
    tracking = false;
    flusher.join();
    ASSERT_TRUE(Sdk::FlushAll());
    std::vector<int> seqs = Sequence(server.Records());
    std::sort(seqs.begin(), seqs.end());
    EXPECT_EQ(seqs, Range(0, 800));
}

TEST_F(SdkDeliveryTest, DeliversOverHttpsWithAThrowAwayCertificate) {
    CollectServer server(true);
    ASSERT_EQ(server.Url().rfind("https://", 0), 0u);
    Start(server);
    TrackNumbered(0, 2);
    ASSERT_TRUE(Sdk::FlushAll());
    EXPECT_EQ(Sequence(server.Records()), Range(0, 2));
}

TEST_F(SdkDeliveryTest, RecordsSurviveARestartThroughTheDataFile) {
    {
        std::ofstream saved(dataFile_);
        saved << "{\"saved\":1}\nnot a record\n\n{broken\n{\"saved\":2}\r\n";
    }
    ASSERT_TRUE(Sdk::Init(dataFile_, "http://127.0.0.1:9/sa", "distinct-1", false));
    TrackNumbered(0, 3);
    Sdk::Shutdown();  // nothing was flushed: the saved lines and the new records stay together

    CollectServer server;
    Start(server);
    TrackNumbered(3, 4);
    ASSERT_TRUE(Sdk::FlushAll());
    const auto records = server.Records();
    ASSERT_EQ(records.size(), 6u);
    EXPECT_EQ(records[0], nlohmann::json({{"saved", 1}}));
    EXPECT_EQ(records[1], nlohmann::json({{"saved", 2}}));
    EXPECT_EQ(
        Sequence(nlohmann::json(std::vector<nlohmann::json>(records.begin() + 2, records.end()))),
        Range(0, 4));
    EXPECT_EQ(fs::file_size(dataFile_), 0u) << "loaded records are not handed out twice";
    Sdk::Shutdown();
    EXPECT_EQ(fs::file_size(dataFile_), 0u);
}

}  // namespace
}  // namespace usage_analytics
