#include <gtest/gtest.h>

#include <atomic>

#include "platform/Thread.h"
#include "utils/Thread.h"

namespace {

TEST(Thread, RunsItsBodyOnlyAfterResume) {
    std::atomic<int> runs{0};
    int argument = 41;
    Utils::Thread thread([&](void* value) { runs = *static_cast<int*>(value) + 1; }, &argument,
                         L"worker");
    EXPECT_TRUE(thread.HasThread());
    EXPECT_NE(thread.Id(), static_cast<win32::DWORD>(-1));
    win32::Sleep(50);
    EXPECT_EQ(runs.load(), 0);
    ASSERT_TRUE(thread.Resume());
    thread.Join();
    EXPECT_EQ(runs.load(), 42);
    EXPECT_FALSE(thread.HasThread());
    EXPECT_EQ(thread.Id(), static_cast<win32::DWORD>(-1));
    EXPECT_FALSE(thread.Resume());
}

TEST(Thread, DestructionWaitsForTheBody) {
    std::atomic<bool> finished{false};
    {
        Utils::Thread thread(
            [&](void*) {
                win32::Sleep(100);
                finished = true;
            },
            nullptr, L"");
        thread.Resume();
    }
    EXPECT_TRUE(finished.load());
}

TEST(Thread, AThreadNeverResumedNeverRunsAndDoesNotHangItsOwner) {
    std::atomic<bool> ran{false};
    {
        Utils::Thread thread([&](void*) { ran = true; }, nullptr, L"idle");
    }
    win32::Sleep(50);
    EXPECT_FALSE(ran.load());
}

}  // namespace
