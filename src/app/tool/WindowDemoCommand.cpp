// quillon-tool window-demo: a frameless rounded window with a draggable caption, an edit field
// and a translucent layered window beside it, to try the displays by hand.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/Display.h"
#include "platform/Edit.h"
#include "platform/Input.h"
#include "platform/Messages.h"
#include "tool/ToolCommand.h"

namespace {

using namespace win32;

constexpr int kWidth = 420;
constexpr int kHeight = 240;
constexpr int kCaption = 36;
constexpr int kCorner = 12;
constexpr int kGrip = 12;
constexpr int kGlowSize = 160;
constexpr RECT kCloseBox{kWidth - 36, 6, kWidth - 8, 30};
constexpr int kEditId = 100;

struct Demo {
    HWND window = nullptr;
    HWND edit = nullptr;
    HWND glow = nullptr;
    std::string screenshot;
    bool screenshotSaved = false;
};

Demo demo;

bool InClose(POINT client) {
    return PtInRect(&kCloseBox, client);
}

void Fill(HDC dc, const RECT& rect, COLORREF color) {
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
}

void Paint(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    Fill(dc, client, RGB(0xF4, 0xF6, 0xFA));
    Fill(dc, RECT{0, 0, client.right, kCaption}, RGB(0x1E, 0x5A, 0xA8));
    Fill(dc, kCloseBox, RGB(0xD9, 0x3A, 0x3A));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0xFF, 0xFF, 0xFF));
    RECT title{12, 0, kCloseBox.left - 8, kCaption};
    DrawTextW(dc, L"奎隆 window demo — drag me here", -1, &title,
              DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS);
    RECT cross = kCloseBox;
    DrawTextW(dc, L"×", -1, &cross, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    SetTextColor(dc, RGB(0x33, 0x33, 0x33));
    RECT hint{20, 60, client.right - 20, 84};
    DrawTextW(dc, L"Type below (Chinese through the input method):", -1, &hint,
              DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    RECT grip{client.right - kGrip, client.bottom - kGrip, client.right, client.bottom};
    Fill(dc, grip, RGB(0xB0, 0xB8, 0xC8));
    EndPaint(window, &paint);
}

LRESULT HitTest(HWND window, LPARAM lParam) {
    POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ScreenToClient(window, &point);
    RECT client;
    GetClientRect(window, &client);
    if (point.x >= client.right - kGrip && point.y >= client.bottom - kGrip) {
        return HTBOTTOMRIGHT;
    }
    if (point.y < kCaption && !InClose(point)) {
        return HTCAPTION;
    }
    return HTCLIENT;
}

// The glow follows the window at its right.
void PlaceGlow() {
    if (demo.glow == nullptr) {
        return;
    }
    RECT rect;
    GetWindowRect(demo.window, &rect);
    SetWindowPos(demo.glow, nullptr, rect.right + 16, rect.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT DemoWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            demo.edit = CreateWindowExW(
                0, WC_EDITW, L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 20, 92, kWidth - 40, 28,
                window, reinterpret_cast<HMENU>(static_cast<intptr_t>(kEditId)), nullptr, nullptr);
            SendMessageW(demo.edit, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN,
                         MAKELPARAM(4, 4));
            return 0;
        case WM_NCHITTEST:
            return HitTest(window, lParam);
        case WM_SIZE: {
            int width = LOWORD(lParam);
            int height = HIWORD(lParam);
            SetWindowRgn(window, CreateRoundRectRgn(0, 0, width + 1, height + 1, kCorner, kCorner),
                         TRUE);
            InvalidateRect(window, nullptr, FALSE);
            return 0;
        }
        case WM_MOVE:
            PlaceGlow();
            return 0;
        case WM_GETMINMAXINFO:
            reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {kWidth, kHeight};
            return 0;
        case WM_LBUTTONUP: {
            POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            if (InClose(point)) {
                PostMessageW(window, WM_CLOSE, 0, 0);
            }
            return 0;
        }
        case WM_CLOSE:
            // What the screen showed just before the window went.
            if (!demo.screenshot.empty() && !demo.screenshotSaved) {
                demo.screenshotSaved = display::SaveScreenPng(demo.screenshot);
            }
            DestroyWindow(window);
            return 0;
        case WM_CTLCOLOREDIT:
            SetTextColor(reinterpret_cast<HDC>(wParam), RGB(0x10, 0x20, 0x40));
            return 0;
        case WM_PAINT:
            Paint(window);
            return 0;
        case WM_DESTROY:
            if (demo.glow != nullptr) {
                DestroyWindow(demo.glow);
                demo.glow = nullptr;
            }
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

// A soft round glow: premultiplied alpha falling off from the middle.
bool ShowGlow() {
    if (!LayeredWindowsAvailable()) {
        return false;
    }
    demo.glow = CreateWindowExW(WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_TOOLWINDOW,
                                L"QuillonDemoGlow", L"", WS_POPUP, 0, 0, kGlowSize, kGlowSize,
                                demo.window, nullptr, nullptr, nullptr);
    BITMAPINFO info{};
    info.bmiHeader = {
        sizeof(BITMAPINFOHEADER), kGlowSize, -kGlowSize, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC memory = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    auto* pixels = static_cast<DWORD*>(bits);
    double radius = kGlowSize / 2.0;
    for (int y = 0; y < kGlowSize; ++y) {
        for (int x = 0; x < kGlowSize; ++x) {
            double dx = (x + 0.5 - radius) / radius;
            double dy = (y + 0.5 - radius) / radius;
            double falloff = 1.0 - (dx * dx + dy * dy);
            auto alpha = static_cast<DWORD>(falloff > 0 ? falloff * 200 : 0);
            // Orange, premultiplied.
            pixels[y * kGlowSize + x] =
                (alpha << 24) | ((0xFF * alpha / 255) << 16) | ((0x8C * alpha / 255) << 8);
        }
    }
    RECT rect;
    GetWindowRect(demo.window, &rect);
    POINT at{rect.right + 16, rect.top};
    SIZE size{kGlowSize, kGlowSize};
    POINT origin{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    BOOL shown =
        UpdateLayeredWindow(demo.glow, nullptr, &at, &size, memory, &origin, 0, &blend, ULW_ALPHA);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    if (!shown) {
        DestroyWindow(demo.glow);
        demo.glow = nullptr;
        return false;
    }
    ShowWindow(demo.glow, SW_SHOWNOACTIVATE);
    return true;
}

void RegisterClasses() {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = DemoWindowProc;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = L"QuillonDemoWindow";
    RegisterClassExW(&windowClass);
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.lpszClassName = L"QuillonDemoGlow";
    RegisterClassExW(&windowClass);
}

void FinishAtTimeout(HWND, UINT, UINT_PTR, DWORD) {
    SendMessageW(demo.window, WM_CLOSE, 0, 0);
}

int RunWindowDemo(const std::vector<std::string>& args) {
    long seconds = -1;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--seconds" && i + 1 < args.size()) {
            char* end = nullptr;
            seconds = std::strtol(args[++i].c_str(), &end, 10);
            if (*end != '\0' || seconds < 0 || seconds > 86400) {
                return Tool::UsageError("window-demo");
            }
        } else if (args[i] == "--screenshot" && i + 1 < args.size()) {
            demo.screenshot = args[++i];
        } else {
            return Tool::UsageError("window-demo");
        }
    }
    std::string backend = display::BackendName();
    // Nobody can close a window on the virtual screen by hand.
    if (seconds < 0 && backend == "headless") {
        seconds = 2;
    }
    std::printf("display: %s\n", backend.c_str());
    RegisterClasses();
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    int x = work.left + (work.right - work.left - kWidth - kGlowSize - 16) / 2;
    int y = work.top + (work.bottom - work.top - kHeight) / 2;
    demo.window =
        CreateWindowExW(0, L"QuillonDemoWindow", L"Quillon window demo", WS_POPUP | WS_VISIBLE, x,
                        y, kWidth, kHeight, nullptr, nullptr, nullptr, nullptr);
    if (demo.window == nullptr) {
        std::fprintf(stderr, "window-demo: the window could not be created\n");
        return 1;
    }
    std::printf("layered: %s\n", ShowGlow() ? "available" : "unavailable");
    SetFocus(demo.edit);
    if (seconds >= 0) {
        SetTimer(nullptr, 0, static_cast<UINT>(seconds * 1000), FinishAtTimeout);
    }
    std::fflush(stdout);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (!demo.screenshot.empty()) {
        if (!demo.screenshotSaved) {
            std::fprintf(stderr, "window-demo: no screenshot was saved to %s\n",
                         demo.screenshot.c_str());
            return 1;
        }
        std::printf("screenshot: %s\n", demo.screenshot.c_str());
    }
    return 0;
}

}  // namespace

QUILLON_TOOL_COMMAND("window-demo", "  window-demo [--seconds N] [--screenshot OUT.png]\n",
                     RunWindowDemo);
