#include <gtest/gtest.h>

#include "platform/Headless.h"
#include "unit/window/TestWindows.h"

namespace {

using namespace testing_windows;

// A dialog's modal loop as the window framework runs it.
int RunModal(HWND dialog, HWND owner) {
    ShowWindow(dialog, SW_SHOWNORMAL);
    EnableWindow(owner, FALSE);
    int code = -1;
    MSG msg;
    while (IsWindow(dialog) && GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_CLOSE && msg.hwnd == dialog) {
            code = static_cast<int>(msg.wParam);
            EnableWindow(owner, TRUE);
            SetFocus(owner);
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    EnableWindow(owner, TRUE);
    SetFocus(owner);
    return code;
}

TEST(ModalLoopTest, ANestedLoopDisablesItsOwnerAndKeepsItsQueueRunning) {
    UseVirtualScreen();
    Recorder& recorder = Recorder::Get();
    recorder.Clear();
    HWND owner = MakeWindow(100, 100, 400, 300);
    HWND dialog = MakeWindow(200, 150, 200, 100, WS_POPUP, owner);
    Pump();
    recorder.log.clear();

    int ownerTimerTicks = 0;
    recorder.On(
        WM_TIMER,
        [&](HWND, WPARAM, LPARAM) -> LRESULT {
            if (++ownerTimerTicks == 2) {
                PostMessageW(dialog, WM_CLOSE, 3, 0);
            }
            return 0;
        },
        owner);
    recorder.On(
        WM_USER,
        [&](HWND, WPARAM, LPARAM) -> LRESULT {
            // While disabled the owner takes no input: the click goes nowhere.
            headless::Click(110, 110);
            return 0;
        },
        owner);
    PostMessageW(owner, WM_USER, 0, 0);
    SetTimer(owner, 1, 10, nullptr);

    int code = RunModal(dialog, owner);

    KillTimer(owner, 1);
    EXPECT_EQ(code, 3);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(recorder.Count(owner, WM_USER), 1);
    EXPECT_EQ(ownerTimerTicks, 2);
    EXPECT_EQ(recorder.Count(owner, WM_LBUTTONDOWN), 0);
    EXPECT_TRUE(IsWindowEnabled(owner));
    std::vector<WPARAM> enables;
    for (const Received& r : recorder.log) {
        if (r.window == owner && r.message == WM_ENABLE) {
            enables.push_back(r.wParam);
        }
    }
    EXPECT_EQ(enables, (std::vector<WPARAM>{FALSE, TRUE}));
    EXPECT_EQ(GetActiveWindow(), owner);
    EXPECT_EQ(GetFocus(), owner);
    DestroyWindow(owner);
    recorder.Clear();
}

}  // namespace
