// When deliveries run, against a real collection service.
#include "analytics/sdk/DeliveryScheduler.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>

#include "CollectServer.h"
#include "analytics/sdk/LastDelivery.h"
#include "analytics/sdk/Sdk.h"
#include "analytics_support/TestFolder.h"

namespace usage_analytics {
namespace {

namespace fs = std::filesystem;
using analytics_test::CollectServer;

bool Eventually(const std::function<bool()>& condition) {
    for (int wait = 0; wait < 1000; ++wait) {
        if (condition()) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return condition();
}

class DeliverySchedulerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dataFile_ = (folder_.path() / "records.txt").string();
        ASSERT_TRUE(Sdk::Init(dataFile_, server_.Url(), "distinct-1", false));
    }

    void TearDown() override { Sdk::Shutdown(); }

    static void TrackOne() { Sdk::Track("ZrEventClick", PropertiesNode()); }

    CollectServer server_;
    analytics_test::TestFolder folder_{"delivery-scheduler"};
    std::string dataFile_;
};

TEST_F(DeliverySchedulerTest, DeferredRecordsWaitForAFlushNowRequest) {
    SetLastDeliverySucceeded(true);
    DeliveryScheduler scheduler;
    TrackOne();
    scheduler.RequestDelivery(false);
    EXPECT_EQ(scheduler.Pending(), 1);
    EXPECT_EQ(server_.Arrived(), 0);

    TrackOne();
    scheduler.RequestDelivery(true);  // the last delivery succeeded: in this thread
    EXPECT_EQ(server_.Arrived(), 1);
    EXPECT_EQ(server_.Records().size(), 2u);
    EXPECT_EQ(scheduler.Pending(), 0);

    TrackOne();
    scheduler.RequestDelivery(true);  // nothing pending: the record waits
    EXPECT_EQ(server_.Arrived(), 1);
    EXPECT_EQ(Sdk::QueuedRecordCount(), 1u);
}

TEST_F(DeliverySchedulerTest, AfterAFailureDeliveriesRunOnTheirOwnThread) {
    SetLastDeliverySucceeded(false);
    DeliveryScheduler scheduler;
    TrackOne();
    scheduler.RequestDelivery(false);
    ASSERT_TRUE(Eventually([&] { return scheduler.Pending() == 1; }));
    scheduler.RequestDelivery(true);
    ASSERT_TRUE(Eventually([&] { return scheduler.Pending() == 0; }));
    EXPECT_EQ(server_.Records().size(), 1u);
    EXPECT_TRUE(LastDeliverySucceeded());
}

TEST_F(DeliverySchedulerTest, ShutdownDeliversWhatIsPendingAndRefusesLaterRequests) {
    SetLastDeliverySucceeded(true);
    DeliveryScheduler scheduler;
    server_.Control({{"script", {500, 500}}});
    TrackOne();
    scheduler.RaisePending(1);
    scheduler.Shutdown();  // two failed attempts, then the third succeeds
    EXPECT_EQ(server_.Arrived(), 3);
    EXPECT_EQ(server_.Records().size(), 1u);

    TrackOne();
    scheduler.RaisePending(1);
    scheduler.RequestDelivery(true);
    scheduler.DeliverNow();
    EXPECT_EQ(server_.Arrived(), 3);
}

TEST_F(DeliverySchedulerTest, DeliverNowSendsInTheCallingThreadAfterAFailure) {
    SetLastDeliverySucceeded(false);
    DeliveryScheduler scheduler;
    TrackOne();
    scheduler.RaisePending(1);
    scheduler.DeliverNow();
    EXPECT_EQ(server_.Records().size(), 1u);
}

}  // namespace
}  // namespace usage_analytics
