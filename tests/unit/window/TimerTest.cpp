#include <gtest/gtest.h>

#include "unit/window/TestWindows.h"

namespace {

using namespace testing_windows;

class TimerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        UseVirtualScreen();
        Recorder::Get().Clear();
        window = MakeWindow(0, 0, 50, 50);
        Pump();
    }
    void TearDown() override {
        DestroyWindow(window);
        Recorder::Get().Clear();
    }

    int Ticks(UINT_PTR id) const {
        int count = 0;
        for (const Received& r : Recorder::Get().log) {
            count += (r.window == window && r.message == WM_TIMER && r.wParam == id) ? 1 : 0;
        }
        return count;
    }

    HWND window = nullptr;
};

TEST_F(TimerTest, TimersWithDistinctIdsTickAndKilledOnesFallSilent) {
    EXPECT_EQ(SetTimer(window, 1, 10, nullptr), 1u);
    EXPECT_EQ(SetTimer(window, 2, 15, nullptr), 2u);
    ASSERT_TRUE(PumpUntil([&] { return Ticks(1) >= 2 && Ticks(2) >= 2; }));

    EXPECT_TRUE(KillTimer(window, 1));
    int killedTicks = Ticks(1);
    int stillTicking = Ticks(2);
    ASSERT_TRUE(PumpUntil([&] { return Ticks(2) >= stillTicking + 3; }));
    EXPECT_EQ(Ticks(1), killedTicks);
    EXPECT_FALSE(KillTimer(window, 1));
    KillTimer(window, 2);
}

TEST_F(TimerTest, AKilledTimerCanBeSetAgain) {
    SetTimer(window, 7, 10, nullptr);
    ASSERT_TRUE(PumpUntil([&] { return Ticks(7) >= 1; }));
    KillTimer(window, 7);
    int before = Ticks(7);
    EXPECT_EQ(SetTimer(window, 7, 10, nullptr), 7u);
    ASSERT_TRUE(PumpUntil([&] { return Ticks(7) >= before + 2; }));
    // Setting a running timer again re-arms it instead of adding a second one.
    EXPECT_EQ(SetTimer(window, 7, 10, nullptr), 7u);
    KillTimer(window, 7);
    EXPECT_FALSE(KillTimer(window, 7));
}

TEST_F(TimerTest, ThreadTimersGetNewIdsAndCallTheirProcedure) {
    static int calls;
    calls = 0;
    TIMERPROC procedure = [](HWND, UINT message, UINT_PTR, DWORD) {
        if (message == WM_TIMER) {
            ++calls;
        }
    };
    UINT_PTR first = SetTimer(nullptr, 0, 10, procedure);
    UINT_PTR second = SetTimer(nullptr, 0, 10, procedure);
    EXPECT_NE(first, 0u);
    EXPECT_NE(first, second);
    ASSERT_TRUE(PumpUntil([] { return calls >= 4; }));
    KillTimer(nullptr, first);
    KillTimer(nullptr, second);
}

TEST_F(TimerTest, PeriodsBeyondTheLongestAreAccepted) {
    EXPECT_NE(SetTimer(window, 9, 0xFFFFFFFFu, nullptr), 0u);
    SetTimer(window, 10, 10, nullptr);
    ASSERT_TRUE(PumpUntil([&] { return Ticks(10) >= 2; }));
    EXPECT_EQ(Ticks(9), 0);
    KillTimer(window, 9);
    KillTimer(window, 10);
}

TEST_F(TimerTest, DestroyedWindowsTimersStop) {
    HWND other = MakeWindow(0, 0, 10, 10);
    SetTimer(other, 1, 10, nullptr);
    DestroyWindow(other);
    EXPECT_FALSE(KillTimer(other, 1));
}

}  // namespace
