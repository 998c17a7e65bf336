// The window core on a real X server: an Xvfb of the test's own, driven by xdotool.
#include <gtest/gtest.h>

#include <memory>

#include "platform/Display.h"
#include "platform/Edit.h"
#include "ui/window/XvfbServer.h"
#include "unit/window/TestWindows.h"

namespace {

using namespace testing_windows;

std::unique_ptr<xvfb::Server> server;
bool serverRunning = false;

class XvfbEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        if (!xvfb::Installed("Xvfb")) {
            return;
        }
        server = std::make_unique<xvfb::Server>();
        serverRunning = server->Start();
    }
    void TearDown() override { server.reset(); }
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new XvfbEnvironment);

class X11WindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!xvfb::Installed("Xvfb")) {
            GTEST_SKIP() << "Xvfb is not installed";
        }
        ASSERT_TRUE(serverRunning);
        ASSERT_EQ(display::BackendName(), "x11");
        Recorder::Get().Clear();
        Recorder::Get().On(WM_PAINT, [](HWND window, WPARAM, LPARAM) -> LRESULT {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            HBRUSH brush = CreateSolidBrush(RGB(255, 0, 0));
            FillRect(dc, &paint.rcPaint, brush);
            DeleteObject(brush);
            EndPaint(window, &paint);
            return 0;
        });
        Recorder::Get().On(WM_NCHITTEST, [](HWND w, WPARAM, LPARAM lParam) -> LRESULT {
            POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            ScreenToClient(w, &point);
            return point.y < 30 ? HTCAPTION : HTCLIENT;
        });
        window = MakeWindow(100, 100, 200, 100);
        ASSERT_TRUE(PumpUntil([&] { return ScreenPixel(150, 150) == 0xFFFF0000u; }));
    }
    void TearDown() override {
        if (IsWindow(window)) {
            DestroyWindow(window);
        }
        Pump();
        Recorder::Get().Clear();
    }

    static DWORD ScreenPixel(int x, int y) {
        std::vector<DWORD> pixels;
        int width = 0;
        int height = 0;
        if (!display::CaptureScreen(&pixels, &width, &height) || x >= width || y >= height) {
            return 0;
        }
        return pixels[static_cast<std::size_t>(y) * width + x];
    }

    // Runs xdotool while this thread keeps its message loop going.
    static bool Xdotool(
        const std::vector<std::string>& arguments,
        const std::function<bool()>& until = [] { return true; }) {
        std::wstring command = L"xdotool";
        for (const std::string& argument : arguments) {
            command += L" \"" + std::wstring(argument.begin(), argument.end()) + L"\"";
        }
        HANDLE child = xvfb::Start(command);
        if (child == nullptr) {
            return false;
        }
        bool exited = false;
        bool met = PumpUntil([&] {
            exited = exited || xvfb::Exited(child);
            return exited && until();
        });
        CloseHandle(child);
        return met;
    }

    HWND window = nullptr;
};

TEST_F(X11WindowTest, TheWindowRegionIsTheWindowsShape) {
    SetWindowRgn(window, CreateRoundRectRgn(0, 0, 201, 101, 40, 40), TRUE);
    ASSERT_TRUE(PumpUntil([] { return ScreenPixel(100, 100) == 0xFF000000u; }));
    EXPECT_EQ(ScreenPixel(150, 150), 0xFFFF0000u);
    EXPECT_EQ(ScreenPixel(299, 199), 0xFF000000u);
    EXPECT_EQ(ScreenPixel(100, 150), 0xFFFF0000u);
    std::string path = ::testing::TempDir() + "/x11-root.png";
    EXPECT_TRUE(display::SaveScreenPng(path));
    std::remove(path.c_str());
}

TEST_F(X11WindowTest, ARealCaptionDragMovesTheWindowAndAClientPressDoesNot) {
    ASSERT_TRUE(
        Xdotool({"mousemove", "--sync", "200", "110", "mousedown", "1", "mousemove", "--sync",
                 "230", "150", "mousemove", "--sync", "250", "150", "mouseup", "1"},
                [&] { return Recorder::Get().Count(window, WM_EXITSIZEMOVE) == 1; }));
    RECT rect;
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.left, 150);
    EXPECT_EQ(rect.top, 140);
    ASSERT_TRUE(PumpUntil([] { return ScreenPixel(340, 235) == 0xFFFF0000u; }));
    EXPECT_EQ(ScreenPixel(120, 120), 0xFF000000u);
    // The server's late echoes of the moves leave the window where the drag put it.
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.left, 150);

    ASSERT_TRUE(Xdotool({"mousemove", "--sync", "250", "220", "mousedown", "1", "mousemove",
                         "--sync", "280", "230", "mouseup", "1"},
                        [&] { return Recorder::Get().Count(window, WM_LBUTTONUP) == 1; }));
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.left, 150);
    EXPECT_EQ(rect.top, 140);
}

TEST_F(X11WindowTest, CaptureDeliversTheButtonUpOutsideTheWindow) {
    Recorder::Get().On(WM_LBUTTONDOWN, [](HWND w, WPARAM, LPARAM) -> LRESULT {
        SetCapture(w);
        return 0;
    });
    ASSERT_TRUE(Xdotool({"mousemove", "--sync", "150", "150", "mousedown", "1", "mousemove",
                         "--sync", "50", "20", "mouseup", "1"},
                        [&] { return Recorder::Get().Count(window, WM_LBUTTONUP) == 1; }));
    const Received* up = Recorder::Get().Last(window, WM_LBUTTONUP);
    EXPECT_EQ(GET_X_LPARAM(up->lParam), -50);
    EXPECT_EQ(GET_Y_LPARAM(up->lParam), -80);
    ReleaseCapture();
}

TEST_F(X11WindowTest, TypingSelectingAndPastingInAnEditWindow) {
    HWND first = CreateWindowExW(0, WC_EDITW, L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 10, 40,
                                 180, 24, window, nullptr, nullptr, nullptr);
    HWND second = CreateWindowExW(0, WC_EDITW, L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 10, 70,
                                  180, 24, window, nullptr, nullptr, nullptr);
    SetFocus(first);
    auto text = [](HWND edit) {
        wchar_t buffer[64];
        GetWindowTextW(edit, buffer, 64);
        return std::wstring(buffer);
    };
    ASSERT_TRUE(Xdotool({"type", "--delay", "30", "hello world"},
                        [&] { return text(first) == L"hello world"; }));
    ASSERT_TRUE(Xdotool({"key", "--delay", "30", "shift+Home", "ctrl+c", "X"},
                        [&] { return text(first) == L"X"; }));
    SetFocus(second);
    ASSERT_TRUE(Xdotool({"key", "--delay", "30", "ctrl+v"},
                        [&] { return text(second) == L"hello world"; }));
}

TEST_F(X11WindowTest, AltF4ClosesTheWindow) {
    SetFocus(window);
    ASSERT_TRUE(Xdotool({"key", "alt+F4"}, [&] { return !IsWindow(window); }));
    const Received* command = Recorder::Get().Last(window, WM_SYSCOMMAND);
    ASSERT_NE(command, nullptr);
    EXPECT_EQ(command->wParam, SC_CLOSE);
}

TEST_F(X11WindowTest, ALayeredWindowBlendsOnceACompositingManagerRuns) {
    EXPECT_FALSE(LayeredWindowsAvailable());
    HWND refused = MakeWindow(0, 0, 10, 10, WS_POPUP, nullptr, WS_EX_LAYERED);
    SIZE tiny{10, 10};
    EXPECT_FALSE(UpdateLayeredWindow(refused, nullptr, nullptr, &tiny, nullptr, nullptr, 0, nullptr,
                                     ULW_ALPHA));
    EXPECT_EQ(GetLastError(), ERROR_NOT_SUPPORTED);
    DestroyWindow(refused);
    if (!xvfb::Installed("xcompmgr")) {
        GTEST_SKIP() << "xcompmgr is not installed";
    }
    HANDLE compositor = xvfb::Start(L"xcompmgr");
    ASSERT_NE(compositor, nullptr);
    ASSERT_TRUE(PumpUntil([] { return LayeredWindowsAvailable() != FALSE; }));
    HWND layered = MakeWindow(0, 0, 10, 10, WS_POPUP, nullptr, WS_EX_LAYERED | WS_EX_TRANSPARENT);
    EXPECT_TRUE(
        ShowLayered(layered, POINT{250, 120}, 100, 50, std::vector<DWORD>(100 * 50, 0x80000080u)));
    auto near = [](DWORD actual, DWORD expected) {
        for (int shift = 0; shift < 24; shift += 8) {
            if (std::abs(static_cast<int>((actual >> shift) & 0xFF) -
                         static_cast<int>((expected >> shift) & 0xFF)) > 3) {
                return false;
            }
        }
        return true;
    };
    // Over the red window, and over the root beside it (which the compositor paints itself).
    auto overRoot = [&] {
        DWORD root = ScreenPixel(600, 600);
        DWORD expected = 0xFF000000;
        for (int shift = 0; shift < 24; shift += 8) {
            DWORD source = (0x80000080u >> shift) & 0xFF;
            expected |= (source + ((root >> shift) & 0xFF) * 127 / 255) << shift;
        }
        return expected;
    };
    EXPECT_TRUE(PumpUntil([&] {
        return near(ScreenPixel(260, 130), 0xFF7F0080) && near(ScreenPixel(320, 130), overRoot());
    })) << std::hex
        << ScreenPixel(260, 130) << " " << ScreenPixel(320, 130);
    DestroyWindow(layered);
    xvfb::Stop(compositor);
}

}  // namespace
