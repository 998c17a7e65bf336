#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/Edit.h"
#include "unit/window/TestWindows.h"

namespace {

using namespace testing_windows;

class MessageQueueTest : public ::testing::Test {
  protected:
    void SetUp() override {
        UseVirtualScreen();
        Recorder::Get().Clear();
        window = MakeWindow(0, 0, 100, 100);
        Pump();
        Recorder::Get().log.clear();
    }
    void TearDown() override {
        DestroyWindow(window);
        Pump();
        Recorder::Get().Clear();
    }

    std::vector<WPARAM> UserMessages(UINT message = WM_USER) const {
        std::vector<WPARAM> values;
        for (const Received& r : Recorder::Get().log) {
            if (r.window == window && r.message == message) {
                values.push_back(r.wParam);
            }
        }
        return values;
    }

    HWND window = nullptr;
};

TEST_F(MessageQueueTest, PostedMessagesArriveInTheOrderPosted) {
    std::vector<WPARAM> posted;
    for (WPARAM i = 0; i < 50; ++i) {
        ASSERT_TRUE(PostMessageW(window, WM_USER, i, 0));
        posted.push_back(i);
    }
    Pump();
    EXPECT_EQ(UserMessages(), posted);
}

TEST_F(MessageQueueTest, QuitEndsGetMessageAfterWhatWasPosted) {
    PostMessageW(window, WM_USER, 1, 0);
    PostMessageW(window, WM_USER, 2, 0);
    PostQuitMessage(7);
    MSG msg;
    std::vector<UINT> seen;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        seen.push_back(msg.message);
        DispatchMessageW(&msg);
    }
    EXPECT_EQ(msg.message, WM_QUIT);
    EXPECT_EQ(msg.wParam, 7u);
    EXPECT_EQ(UserMessages(), (std::vector<WPARAM>{1, 2}));
}

TEST_F(MessageQueueTest, SentMessagesAreAnsweredBeforePostedOnes) {
    // The other thread, asked by this one, posts A and then sends B to this thread's window:
    // B is answered while this thread waits, A only when it reads its queue again.
    HWND self = window;
    std::atomic<HWND> other{nullptr};
    std::atomic<bool> done{false};
    std::thread worker([&] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = [](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
            if (m == WM_APP) {
                HWND target = reinterpret_cast<HWND>(lp);
                PostMessageW(target, WM_USER, 'A', 0);
                return SendMessageW(target, WM_USER, 'B', 0) + 1;
            }
            return DefWindowProcW(w, m, wp, lp);
        };
        windowClass.lpszClassName = L"QueueTestWorker";
        RegisterClassExW(&windowClass);
        HWND mine = CreateWindowExW(0, L"QueueTestWorker", L"", WS_POPUP, 0, 0, 1, 1, nullptr,
                                    nullptr, nullptr, nullptr);
        other = mine;
        MSG msg;
        while (!done && GetMessageW(&msg, nullptr, 0, 0) > 0) {
            DispatchMessageW(&msg);
        }
        DestroyWindow(mine);
    });
    while (other.load() == nullptr) {
        std::this_thread::yield();
    }
    Recorder::Get().On(
        WM_USER, [](HWND, WPARAM wParam, LPARAM) -> LRESULT { return wParam == 'B' ? 40 : 0; });

    LRESULT answer = SendMessageW(other, WM_APP, 0, reinterpret_cast<LPARAM>(self));

    EXPECT_EQ(answer, 41);
    EXPECT_EQ(UserMessages(), (std::vector<WPARAM>{'B'}));
    Pump();
    EXPECT_EQ(UserMessages(), (std::vector<WPARAM>{'B', 'A'}));
    done = true;
    PostMessageW(other, WM_NULL, 0, 0);
    worker.join();
}

TEST_F(MessageQueueTest, SendingFromAnotherThreadRunsTheProcedureOnTheWindowsThread) {
    std::thread::id procedureThread;
    Recorder::Get().On(WM_USER, [&](HWND, WPARAM wParam, LPARAM) -> LRESULT {
        procedureThread = std::this_thread::get_id();
        return static_cast<LRESULT>(wParam * 2);
    });
    std::atomic<LRESULT> answer{0};
    std::thread sender([&] { answer = SendMessageW(window, WM_USER, 21, 0); });
    EXPECT_TRUE(PumpUntil([&] { return answer.load() != 0; }));
    sender.join();
    EXPECT_EQ(answer.load(), 42);
    EXPECT_EQ(procedureThread, std::this_thread::get_id());
}

TEST_F(MessageQueueTest, TenThousandMessagesFromFourThreadsKeepEachThreadsOrder) {
    constexpr int kThreads = 4;
    constexpr int kEach = 2500;
    std::vector<std::thread> posters;
    for (int t = 0; t < kThreads; ++t) {
        posters.emplace_back([this, t] {
            for (int i = 0; i < kEach; ++i) {
                PostMessageW(window, WM_USER, static_cast<WPARAM>(t), i);
            }
        });
    }
    EXPECT_TRUE(
        PumpUntil([&] { return Recorder::Get().Count(window, WM_USER) == kThreads * kEach; }));
    for (std::thread& poster : posters) {
        poster.join();
    }
    Pump();
    std::vector<LPARAM> next(kThreads, 0);
    for (const Received& r : Recorder::Get().log) {
        if (r.message == WM_USER) {
            ASSERT_LT(r.wParam, static_cast<WPARAM>(kThreads));
            EXPECT_EQ(r.lParam, next[r.wParam]) << "thread " << r.wParam;
            next[r.wParam] = r.lParam + 1;
        }
    }
    EXPECT_EQ(next, std::vector<LPARAM>(kThreads, kEach));
}

TEST_F(MessageQueueTest, ThreadsCannotReachWindowsThatAreGone) {
    HWND gone = MakeWindow(0, 0, 10, 10);
    DestroyWindow(gone);
    EXPECT_FALSE(PostMessageW(gone, WM_USER, 0, 0));
    EXPECT_EQ(SendMessageW(gone, WM_USER, 0, 0), 0);

    // A thread's windows end with it; a sender is then answered with 0.
    std::atomic<HWND> orphan{nullptr};
    std::thread owner([&] {
        HWND window = MakeWindow(0, 0, 10, 10, WS_POPUP);
        CreateWindowExW(0, WC_EDITW, L"text", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, window, nullptr,
                        nullptr, nullptr);
        orphan = window;
    });
    owner.join();
    EXPECT_FALSE(IsWindow(orphan.load()));
    EXPECT_EQ(SendMessageW(orphan.load(), WM_USER, 0, 0), 0);
}

TEST_F(MessageQueueTest, PaintComesOnceWhenNothingElseIsQueued) {
    ShowWindow(window, SW_SHOW);
    Pump();
    Recorder::Get().log.clear();
    RECT a{0, 0, 10, 10};
    RECT b{50, 60, 70, 80};
    InvalidateRect(window, &a, FALSE);
    PostMessageW(window, WM_USER, 1, 0);
    InvalidateRect(window, &b, FALSE);
    RECT update;
    Recorder::Get().On(WM_PAINT, [&](HWND w, WPARAM, LPARAM) -> LRESULT {
        PAINTSTRUCT paint;
        BeginPaint(w, &paint);
        update = paint.rcPaint;
        EndPaint(w, &paint);
        return 0;
    });
    Pump();
    EXPECT_EQ(Recorder::Get().Count(window, WM_PAINT), 1);
    std::vector<UINT> order;
    for (const Received& r : Recorder::Get().log) {
        if (r.message == WM_PAINT || r.message == WM_USER) {
            order.push_back(r.message);
        }
    }
    EXPECT_EQ(order, (std::vector<UINT>{WM_USER, WM_PAINT}));
    EXPECT_EQ(update.left, 0);
    EXPECT_EQ(update.top, 0);
    EXPECT_EQ(update.right, 70);
    EXPECT_EQ(update.bottom, 80);
    EXPECT_FALSE(GetUpdateRect(window, nullptr, FALSE));
}

}  // namespace
