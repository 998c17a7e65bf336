#include <gtest/gtest.h>

#include "platform/Headless.h"
#include "unit/window/TestWindows.h"

namespace {

using namespace testing_windows;

constexpr LRESULT kCaptionHeight = 30;

class MouseAndKeyboardTest : public ::testing::Test {
  protected:
    void SetUp() override {
        UseVirtualScreen();
        Recorder::Get().Clear();
        headless::MoveMouse(1000, 700);
        window = MakeWindow(100, 100, 300, 200);
        Pump();
        Recorder::Get().log.clear();
    }
    void TearDown() override {
        ReleaseCapture();
        if (IsWindow(window)) {
            DestroyWindow(window);
        }
        Pump();
        Recorder::Get().Clear();
    }

    // Frameless windows answer WM_NCHITTEST themselves: a caption band, a sizing corner.
    void UseCaption() {
        Recorder::Get().On(WM_NCHITTEST, [](HWND w, WPARAM, LPARAM lParam) -> LRESULT {
            POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            ScreenToClient(w, &point);
            RECT client;
            GetClientRect(w, &client);
            if (point.x >= client.right - 5 && point.y >= client.bottom - 5) {
                return HTBOTTOMRIGHT;
            }
            return point.y < kCaptionHeight ? HTCAPTION : HTCLIENT;
        });
    }

    RECT Rect(HWND w) const {
        RECT rect;
        GetWindowRect(w, &rect);
        return rect;
    }

    HWND window = nullptr;
};

TEST_F(MouseAndKeyboardTest, AClickActivatesAndFocusesInWindowsOrder) {
    HWND other = MakeWindow(500, 100, 100, 100);
    Pump();
    ASSERT_EQ(GetActiveWindow(), other);
    Recorder::Get().log.clear();

    headless::Click(150, 150);
    Pump();

    EXPECT_EQ(Recorder::Get().MessagesOf(window),
              (std::vector<UINT>{WM_MOUSEMOVE, WM_MOUSEACTIVATE, WM_NCACTIVATE, WM_ACTIVATE,
                                 WM_SETFOCUS, WM_LBUTTONDOWN, WM_LBUTTONUP}));
    EXPECT_EQ(LOWORD(Recorder::Get().Last(window, WM_ACTIVATE)->wParam), WA_CLICKACTIVE);
    EXPECT_EQ(Recorder::Get().MessagesOf(other),
              (std::vector<UINT>{WM_NCACTIVATE, WM_ACTIVATE, WM_KILLFOCUS}));
    const Received* down = Recorder::Get().Last(window, WM_LBUTTONDOWN);
    EXPECT_EQ(down->lParam, MAKELPARAM(50, 50));
    EXPECT_EQ(down->wParam, MK_LBUTTON);
    EXPECT_EQ(GetFocus(), window);
    DestroyWindow(other);
}

TEST_F(MouseAndKeyboardTest, NoActivateKeepsTheActiveWindow) {
    HWND other = MakeWindow(500, 100, 100, 100);
    Recorder::Get().On(WM_MOUSEACTIVATE,
                       [](HWND, WPARAM, LPARAM) -> LRESULT { return MA_NOACTIVATE; });
    headless::Click(150, 150);
    Pump();
    EXPECT_EQ(GetActiveWindow(), other);
    EXPECT_EQ(Recorder::Get().Count(window, WM_LBUTTONDOWN), 1);
    DestroyWindow(other);
}

TEST_F(MouseAndKeyboardTest, CaptureDeliversTheButtonUpOutsideTheWindow) {
    Recorder::Get().On(WM_LBUTTONDOWN, [](HWND w, WPARAM, LPARAM) -> LRESULT {
        SetCapture(w);
        return 0;
    });
    Recorder::Get().On(WM_LBUTTONUP, [](HWND, WPARAM, LPARAM) -> LRESULT {
        ReleaseCapture();
        return 0;
    });
    headless::MoveMouse(150, 150);
    headless::PressButton(VK_LBUTTON);
    Pump();
    EXPECT_EQ(GetCapture(), window);
    headless::MoveMouse(50, 20);
    headless::ReleaseButton(VK_LBUTTON);
    Pump();
    const Received* up = Recorder::Get().Last(window, WM_LBUTTONUP);
    ASSERT_NE(up, nullptr);
    EXPECT_EQ(GET_X_LPARAM(up->lParam), -50);
    EXPECT_EQ(GET_Y_LPARAM(up->lParam), -80);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(Recorder::Get().Count(window, WM_CAPTURECHANGED), 1);

    // Without capture the window hears nothing of a release elsewhere.
    Recorder::Get().log.clear();
    headless::MoveMouse(150, 150);
    Recorder::Get().handlers.clear();
    headless::PressButton(VK_LBUTTON);
    headless::MoveMouse(50, 20);
    headless::ReleaseButton(VK_LBUTTON);
    Pump();
    EXPECT_EQ(Recorder::Get().Count(window, WM_LBUTTONUP), 0);
}

TEST_F(MouseAndKeyboardTest, TrackedWindowsHearOfHoverAndLeave) {
    Recorder::Get().On(WM_MOUSEMOVE, [](HWND w, WPARAM, LPARAM) -> LRESULT {
        TRACKMOUSEEVENT track{sizeof track, TME_HOVER | TME_LEAVE, w, 20};
        TrackMouseEvent(&track);
        return 0;
    });
    headless::MoveMouse(150, 150);
    ASSERT_TRUE(PumpUntil([&] { return Recorder::Get().Count(window, WM_MOUSEHOVER) == 1; }));
    EXPECT_EQ(Recorder::Get().Last(window, WM_MOUSEHOVER)->lParam, MAKELPARAM(50, 50));
    EXPECT_EQ(Recorder::Get().Count(window, WM_MOUSELEAVE), 0);

    headless::MoveMouse(700, 150);
    Pump();
    EXPECT_EQ(Recorder::Get().Count(window, WM_MOUSELEAVE), 1);
    headless::MoveMouse(710, 150);
    Pump();
    EXPECT_EQ(Recorder::Get().Count(window, WM_MOUSELEAVE), 1);
}

TEST_F(MouseAndKeyboardTest, ACaptionDragMovesTheWindowAndAClientPressDoesNot) {
    UseCaption();
    headless::MoveMouse(200, 110);
    headless::PressButton(VK_LBUTTON);
    Pump();
    headless::MoveMouse(230, 150);
    headless::MoveMouse(250, 150);
    headless::ReleaseButton(VK_LBUTTON);
    Pump();
    RECT moved = Rect(window);
    EXPECT_EQ(moved.left, 150);
    EXPECT_EQ(moved.top, 140);
    EXPECT_EQ(moved.right - moved.left, 300);
    EXPECT_EQ(Recorder::Get().Count(window, WM_ENTERSIZEMOVE), 1);
    EXPECT_EQ(Recorder::Get().Count(window, WM_EXITSIZEMOVE), 1);
    EXPECT_EQ(Recorder::Get().Last(window, WM_MOVE)->lParam, MAKELPARAM(150, 140));

    Recorder::Get().log.clear();
    headless::MoveMouse(300, 250);
    headless::PressButton(VK_LBUTTON);
    headless::MoveMouse(350, 300);
    headless::ReleaseButton(VK_LBUTTON);
    Pump();
    EXPECT_EQ(Rect(window).left, 150);
    EXPECT_EQ(Rect(window).top, 140);
    EXPECT_EQ(Recorder::Get().Count(window, WM_LBUTTONDOWN), 1);
    EXPECT_EQ(Recorder::Get().Count(window, WM_ENTERSIZEMOVE), 0);
}

TEST_F(MouseAndKeyboardTest, TheSizingCornerResizesWithinTheTrackSizes) {
    UseCaption();
    Recorder::Get().On(WM_GETMINMAXINFO, [](HWND, WPARAM, LPARAM lParam) -> LRESULT {
        reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {250, 150};
        return 0;
    });
    headless::MoveMouse(398, 298);
    headless::PressButton(VK_LBUTTON);
    Pump();
    headless::MoveMouse(448, 318);
    Pump();
    RECT grown = Rect(window);
    EXPECT_EQ(grown.right - grown.left, 350);
    EXPECT_EQ(grown.bottom - grown.top, 220);
    EXPECT_EQ(Recorder::Get().Last(window, WM_SIZE)->lParam, MAKELPARAM(350, 220));
    headless::MoveMouse(100, 100);
    headless::ReleaseButton(VK_LBUTTON);
    Pump();
    RECT shrunk = Rect(window);
    EXPECT_EQ(shrunk.right - shrunk.left, 250);
    EXPECT_EQ(shrunk.bottom - shrunk.top, 150);
}

TEST_F(MouseAndKeyboardTest, DoubleClicksNeedTheClassStyle) {
    headless::Click(150, 150);
    headless::Click(150, 150);
    Pump();
    EXPECT_EQ(Recorder::Get().Count(window, WM_LBUTTONDBLCLK), 1);
    EXPECT_EQ(Recorder::Get().Count(window, WM_LBUTTONDOWN), 1);

    HWND plain = MakeWindow(500, 100, 100, 100, WS_POPUP | WS_VISIBLE, nullptr, 0, 0);
    headless::Click(550, 150);
    headless::Click(550, 150);
    Pump();
    EXPECT_EQ(Recorder::Get().Count(plain, WM_LBUTTONDBLCLK), 0);
    EXPECT_EQ(Recorder::Get().Count(plain, WM_LBUTTONDOWN), 2);
    DestroyWindow(plain);
}

TEST_F(MouseAndKeyboardTest, AltF4ArrivesAsTheCloseCommand) {
    SetFocus(window);
    headless::PressKey(VK_MENU);
    headless::PressKey(VK_F4);
    headless::ReleaseKey(VK_F4);
    headless::ReleaseKey(VK_MENU);
    Pump();
    const Received* key = Recorder::Get().Last(window, WM_SYSKEYDOWN);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->wParam, static_cast<WPARAM>(VK_F4));
    const Received* command = Recorder::Get().Last(window, WM_SYSCOMMAND);
    ASSERT_NE(command, nullptr);
    EXPECT_EQ(command->wParam, SC_CLOSE);
    EXPECT_EQ(Recorder::Get().Count(window, WM_CLOSE), 1);
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(MouseAndKeyboardTest, KeysBecomeCharactersThroughTranslateMessage) {
    SetFocus(window);
    headless::TypeText(L"aB");
    Pump();
    std::vector<std::pair<UINT, WPARAM>> keys;
    for (const Received& r : Recorder::Get().log) {
        if (r.message == WM_KEYDOWN || r.message == WM_CHAR) {
            keys.emplace_back(r.message, r.wParam);
        }
    }
    EXPECT_EQ(keys, (std::vector<std::pair<UINT, WPARAM>>{{WM_KEYDOWN, 'A'},
                                                          {WM_CHAR, L'a'},
                                                          {WM_KEYDOWN, VK_SHIFT},
                                                          {WM_KEYDOWN, 'B'},
                                                          {WM_CHAR, L'B'}}));
    headless::CommitText(L"中文");
    Pump();
    EXPECT_EQ(Recorder::Get().Last(window, WM_CHAR)->wParam, static_cast<WPARAM>(L'文'));
    EXPECT_EQ(GetKeyState(VK_SHIFT), 0);
}

}  // namespace
