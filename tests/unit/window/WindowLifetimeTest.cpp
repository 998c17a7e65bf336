#include <gtest/gtest.h>

#include "platform/SystemInfo.h"
#include "unit/window/TestWindows.h"

namespace {

using namespace testing_windows;

class WindowLifetimeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        UseVirtualScreen();
        Recorder::Get().Clear();
    }
    void TearDown() override { Recorder::Get().Clear(); }
};

TEST_F(WindowLifetimeTest, CreationSendsTheMessagesInWindowsOrder) {
    HWND window = MakeWindow(10, 20, 200, 100, WS_POPUP);
    ASSERT_NE(window, nullptr);
    std::vector<UINT> all = Recorder::Get().MessagesOf(window, true);
    EXPECT_EQ(all, (std::vector<UINT>{WM_GETMINMAXINFO, WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE,
                                      WM_SIZE, WM_MOVE}));
    const Received* size = Recorder::Get().Last(window, WM_SIZE);
    EXPECT_EQ(size->wParam, SIZE_RESTORED);
    EXPECT_EQ(size->lParam, MAKELPARAM(200, 100));
    EXPECT_EQ(Recorder::Get().Last(window, WM_MOVE)->lParam, MAKELPARAM(10, 20));
    DestroyWindow(window);
}

TEST_F(WindowLifetimeTest, DestroySendsDestroyParentFirstAndNcDestroyChildFirst) {
    HWND parent = MakeWindow(0, 0, 300, 200, WS_POPUP | WS_VISIBLE);
    HWND child = MakeWindow(10, 10, 50, 50, WS_CHILD | WS_VISIBLE, parent);
    HWND grandchild = MakeWindow(1, 1, 10, 10, WS_CHILD | WS_VISIBLE, child);
    Recorder::Get().log.clear();

    ASSERT_TRUE(DestroyWindow(parent));

    std::vector<std::pair<HWND, UINT>> order;
    for (const Received& r : Recorder::Get().log) {
        if (r.message == WM_DESTROY || r.message == WM_NCDESTROY) {
            order.emplace_back(r.window, r.message);
        }
    }
    EXPECT_EQ(order, (std::vector<std::pair<HWND, UINT>>{{parent, WM_DESTROY},
                                                         {child, WM_DESTROY},
                                                         {grandchild, WM_DESTROY},
                                                         {grandchild, WM_NCDESTROY},
                                                         {child, WM_NCDESTROY},
                                                         {parent, WM_NCDESTROY}}));
    EXPECT_FALSE(IsWindow(parent));
    EXPECT_FALSE(IsWindow(grandchild));
}

TEST_F(WindowLifetimeTest, OwnedWindowsAreDestroyedWithTheirOwner) {
    HWND owner = MakeWindow(0, 0, 300, 200);
    HWND owned = MakeWindow(20, 20, 100, 100, WS_POPUP | WS_VISIBLE, owner);
    EXPECT_EQ(GetWindow(owned, GW_OWNER), owner);
    DestroyWindow(owner);
    EXPECT_FALSE(IsWindow(owned));
}

TEST_F(WindowLifetimeTest, OwnedWindowsStayAboveTheirOwner) {
    HWND owner = MakeWindow(100, 100, 200, 200);
    HWND owned = MakeWindow(150, 150, 100, 100, WS_POPUP | WS_VISIBLE, owner);
    HWND other = MakeWindow(120, 120, 200, 200);
    EXPECT_EQ(WindowFromPoint(POINT{160, 160}), other);
    SetForegroundWindow(owner);
    EXPECT_EQ(GetActiveWindow(), owner);
    EXPECT_EQ(WindowFromPoint(POINT{160, 160}), owned);
    EXPECT_EQ(WindowFromPoint(POINT{110, 110}), owner);
    EXPECT_EQ(WindowFromPoint(POINT{310, 310}), other);
    DestroyWindow(other);
    DestroyWindow(owner);
}

TEST_F(WindowLifetimeTest, RefusedCreationLeavesNoWindow) {
    Recorder::Get().On(WM_NCCREATE, [](HWND, WPARAM, LPARAM) -> LRESULT { return FALSE; });
    EXPECT_EQ(MakeWindow(0, 0, 10, 10), nullptr);

    Recorder::Get().Clear();
    Recorder::Get().On(WM_CREATE, [](HWND, WPARAM, LPARAM) -> LRESULT { return -1; });
    EXPECT_EQ(MakeWindow(0, 0, 10, 10), nullptr);
    ASSERT_FALSE(Recorder::Get().log.empty());
    HWND refused = Recorder::Get().log.front().window;
    EXPECT_EQ(Recorder::Get().Count(refused, WM_NCDESTROY), 1);
    EXPECT_FALSE(IsWindow(refused));
}

TEST_F(WindowLifetimeTest, SubclassingChainsToThePreviousProcedure) {
    HWND window = MakeWindow(0, 0, 100, 100);
    static WNDPROC previous;
    static int seen;
    seen = 0;
    previous = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
        window, GWLP_WNDPROC,
        reinterpret_cast<LONG_PTR>(+[](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
            if (m == WM_USER) {
                ++seen;
            }
            return CallWindowProcW(previous, w, m, wp, lp);
        })));
    EXPECT_EQ(previous, &RecordingProc);
    SendMessageW(window, WM_USER, 7, 0);
    EXPECT_EQ(seen, 1);
    EXPECT_EQ(Recorder::Get().Last(window, WM_USER)->wParam, 7u);

    SetWindowLongPtrW(window, GWLP_USERDATA, 1234);
    EXPECT_EQ(GetWindowLongPtrW(window, GWLP_USERDATA), 1234);
    DestroyWindow(window);
}

TEST_F(WindowLifetimeTest, StylesKeepTheirWindowsNumbers) {
    EXPECT_EQ(WS_VISIBLE | WS_OVERLAPPEDWINDOW, 0x10CF0000u);
    EXPECT_EQ(WM_USER + 1000, 2024u);
    HWND window = CreateWindowExW(0, RecordingClass(), L"title", WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                  nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    DWORD style = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
    SetWindowLongW(window, GWL_STYLE, static_cast<LONG>(style & ~WS_CAPTION));
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)) & WS_CAPTION, 0u);
    wchar_t text[16];
    EXPECT_EQ(GetWindowTextW(window, text, 16), 5);
    EXPECT_STREQ(text, L"title");
    DestroyWindow(window);
}

TEST_F(WindowLifetimeTest, ShowingMinimisingAndMaximisingReportSizeCodes) {
    HWND window = MakeWindow(100, 100, 300, 200, WS_POPUP);
    ShowWindow(window, SW_SHOW);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(GetActiveWindow(), window);
    EXPECT_EQ(GetFocus(), window);
    EXPECT_EQ(Recorder::Get().Last(window, WM_SHOWWINDOW)->wParam, TRUE);

    ShowWindow(window, SW_MAXIMIZE);
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    RECT rect;
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.right - rect.left, work.right - work.left);
    EXPECT_EQ(rect.bottom - rect.top, work.bottom - work.top);
    EXPECT_EQ(Recorder::Get().Last(window, WM_SIZE)->wParam, SIZE_MAXIMIZED);
    EXPECT_TRUE(IsZoomed(window));

    ShowWindow(window, SW_MINIMIZE);
    EXPECT_TRUE(IsIconic(window));
    EXPECT_EQ(Recorder::Get().Last(window, WM_SIZE)->wParam, SIZE_MINIMIZED);

    ShowWindow(window, SW_RESTORE);
    EXPECT_TRUE(IsZoomed(window));
    ShowWindow(window, SW_RESTORE);
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.left, 100);
    EXPECT_EQ(rect.right - rect.left, 300);
    EXPECT_EQ(Recorder::Get().Last(window, WM_SIZE)->wParam, SIZE_RESTORED);
    EXPECT_EQ(Recorder::Get().Last(window, WM_SIZE)->lParam, MAKELPARAM(300, 200));

    ShowWindow(window, SW_HIDE);
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_EQ(Recorder::Get().Last(window, WM_SHOWWINDOW)->wParam, FALSE);
    DestroyWindow(window);
}

TEST_F(WindowLifetimeTest, ChildCoordinatesFollowTheParent) {
    HWND parent = MakeWindow(100, 50, 300, 200);
    HWND child = MakeWindow(10, 20, 50, 40, WS_CHILD | WS_VISIBLE, parent);
    POINT point{5, 5};
    ClientToScreen(child, &point);
    EXPECT_EQ(point.x, 115);
    EXPECT_EQ(point.y, 75);
    ScreenToClient(parent, &point);
    EXPECT_EQ(point.x, 15);
    EXPECT_EQ(point.y, 25);
    SetWindowPos(parent, nullptr, 200, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    RECT rect;
    GetWindowRect(child, &rect);
    EXPECT_EQ(rect.left, 210);
    EXPECT_EQ(rect.top, 80);
    EXPECT_EQ(Recorder::Get().Last(parent, WM_MOVE)->lParam, MAKELPARAM(200, 60));
    EXPECT_EQ(WindowFromPoint(POINT{215, 85}), child);
    EXPECT_EQ(WindowFromPoint(POINT{205, 65}), parent);
    DestroyWindow(parent);
}

}  // namespace

namespace {

TEST(DisplayMetricsTest, TheVirtualScreenAnswersForTheDisplay) {
    testing_windows::UseVirtualScreen();
    EXPECT_EQ(win32::GetSystemMetrics(win32::SM_CXSCREEN), 1280);
    EXPECT_EQ(win32::GetSystemMetrics(win32::SM_CYSCREEN), 800);
    EXPECT_EQ(win32::GetSystemMetrics(win32::SM_CXICON), 32);
    EXPECT_EQ(win32::GetSystemMetrics(win32::SM_CYSMICON), 16);
    EXPECT_EQ(win32::GetSystemMetrics(win32::SM_SERVERR2), 0);
    win32::MONITORINFO info{sizeof info, {}, {}, 0};
    ASSERT_TRUE(win32::GetMonitorInfoW(win32::MonitorFromWindow(nullptr, 0), &info));
    EXPECT_EQ(info.rcWork.bottom, 760);
    EXPECT_EQ(info.rcMonitor.bottom, 800);
}

}  // namespace
