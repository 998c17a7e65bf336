#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "platform/Display.h"
#include "unit/window/TestWindows.h"

namespace {

using namespace testing_windows;

constexpr DWORD kDesktop = 0xFF3A6EA5;
constexpr DWORD kRed = 0xFFFF0000;

class HeadlessScreenTest : public ::testing::Test {
  protected:
    void SetUp() override {
        UseVirtualScreen();
        Recorder::Get().Clear();
        Recorder::Get().On(WM_PAINT, [](HWND window, WPARAM, LPARAM) -> LRESULT {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            RECT client;
            GetClientRect(window, &client);
            auto color = static_cast<COLORREF>(GetWindowLongPtrW(window, GWLP_USERDATA));
            HBRUSH brush = CreateSolidBrush(color);
            FillRect(dc, &client, brush);
            DeleteObject(brush);
            EndPaint(window, &paint);
            return 0;
        });
    }
    void TearDown() override {
        for (HWND window : windows) {
            DestroyWindow(window);
        }
        Recorder::Get().Clear();
    }

    HWND Painted(int x, int y, int width, int height, COLORREF color, DWORD style = WS_POPUP,
                 HWND parent = nullptr) {
        HWND window = MakeWindow(x, y, width, height, style, parent);
        SetWindowLongPtrW(window, GWLP_USERDATA, static_cast<LONG_PTR>(color));
        ShowWindow(window, SW_SHOWNOACTIVATE);
        if (parent == nullptr) {
            windows.push_back(window);
        }
        return window;
    }

    DWORD ScreenPixel(int x, int y) {
        std::vector<DWORD> pixels;
        int width;
        int height;
        EXPECT_TRUE(display::CaptureScreen(&pixels, &width, &height));
        return pixels[static_cast<std::size_t>(y) * width + x];
    }

    std::vector<HWND> windows;
};

void ExpectNear(DWORD actual, DWORD expected, int tolerance = 2) {
    for (int shift = 0; shift < 32; shift += 8) {
        int a = static_cast<int>((actual >> shift) & 0xFF);
        int e = static_cast<int>((expected >> shift) & 0xFF);
        EXPECT_LE(std::abs(a - e), tolerance)
            << std::hex << "actual " << actual << " expected " << expected;
    }
}

TEST_F(HeadlessScreenTest, PaintedWindowsAndTheirChildrenShowOnTheScreen) {
    HWND window = Painted(100, 100, 200, 100, RGB(255, 0, 0));
    Painted(20, 10, 30, 20, RGB(0, 255, 0), WS_CHILD | WS_VISIBLE, window);
    Pump();
    EXPECT_EQ(ScreenPixel(50, 50), kDesktop);
    EXPECT_EQ(ScreenPixel(299, 150), kRed);
    EXPECT_EQ(ScreenPixel(125, 115), 0xFF00FF00u);
    EXPECT_EQ(ScreenPixel(150, 115), kRed);

    // A later window covers the first where they overlap.
    Painted(250, 150, 100, 100, RGB(0, 0, 255));
    Pump();
    EXPECT_EQ(ScreenPixel(260, 160), 0xFF0000FFu);
    EXPECT_EQ(ScreenPixel(240, 160), kRed);
}

TEST_F(HeadlessScreenTest, AWindowRegionCutsTheCorners) {
    HWND window = Painted(100, 100, 200, 100, RGB(255, 0, 0));
    SetWindowRgn(window, CreateRoundRectRgn(0, 0, 201, 101, 40, 40), TRUE);
    Pump();
    EXPECT_EQ(ScreenPixel(100, 100), kDesktop);
    EXPECT_EQ(ScreenPixel(299, 199), kDesktop);
    EXPECT_EQ(ScreenPixel(102, 102), kDesktop);
    EXPECT_EQ(ScreenPixel(100, 150), kRed);
    EXPECT_EQ(ScreenPixel(200, 100), kRed);
    // The cut-out corner takes no input either.
    EXPECT_EQ(WindowFromPoint(POINT{101, 101}), nullptr);
    EXPECT_EQ(WindowFromPoint(POINT{200, 150}), window);
}

TEST_F(HeadlessScreenTest, ALayeredWindowBlendsOverTheWindowBeneath) {
    ASSERT_TRUE(LayeredWindowsAvailable());
    Painted(100, 100, 200, 100, RGB(255, 0, 0));
    HWND layered = MakeWindow(0, 0, 10, 10, WS_POPUP, nullptr, WS_EX_LAYERED | WS_EX_TRANSPARENT);
    windows.push_back(layered);

    std::vector<DWORD> pixels(100 * 50);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = i % 100 < 50 ? 0x80000080u : 0u;  // half-transparent blue, then nothing
    }
    ASSERT_TRUE(ShowLayered(layered, POINT{280, 120}, 100, 50, pixels));
    Pump();

    ExpectNear(ScreenPixel(285, 130), 0xFF7F0080);
    ExpectNear(ScreenPixel(310, 130), 0xFF1D37D2);
    EXPECT_EQ(ScreenPixel(340, 130), kDesktop);
    EXPECT_EQ(ScreenPixel(270, 130), kRed);
    // A click-through layered window leaves input to the window beneath.
    EXPECT_EQ(WindowFromPoint(POINT{285, 130}), windows[0]);
}

TEST_F(HeadlessScreenTest, TheScreenAndOneWindowSaveAsPng) {
    HWND window = Painted(10, 10, 40, 30, RGB(255, 0, 0));
    Pump();
    std::string dir = ::testing::TempDir();
    std::string screen = dir + "/window-screen.png";
    std::string one = dir + "/window-one.png";
    ASSERT_TRUE(display::SaveScreenPng(screen));
    ASSERT_TRUE(display::SaveWindowPng(window, one));
    for (const std::string& path : {screen, one}) {
        std::ifstream file(path, std::ios::binary);
        char signature[8] = {};
        file.read(signature, 8);
        EXPECT_EQ(std::string(signature + 1, 3), "PNG") << path;
        std::remove(path.c_str());
    }
    EXPECT_FALSE(display::SaveScreenPng("/nonexistent-folder/screen.png"));
}

TEST_F(HeadlessScreenTest, InvalidatedAreasRepaintOnlyThemselves) {
    HWND window = Painted(100, 100, 100, 100, RGB(255, 0, 0));
    Pump();
    SetWindowLongPtrW(window, GWLP_USERDATA, static_cast<LONG_PTR>(RGB(0, 0, 255)));
    RECT part{0, 0, 50, 50};
    InvalidateRect(window, &part, FALSE);
    Pump();
    EXPECT_EQ(ScreenPixel(110, 110), 0xFF0000FFu);
    EXPECT_EQ(ScreenPixel(180, 180), kRed);
}

}  // namespace
