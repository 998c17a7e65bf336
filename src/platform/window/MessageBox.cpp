// The plain message box: the text goes to standard error, and on an X server it is also shown
// in a small window of its own until the user closes it.
#include <cstdio>
#include <string>

#include "platform/Input.h"
#include "platform/Messages.h"
#include "platform/window/DisplayBackend.h"

namespace win32 {

namespace {

constexpr int kWidth = 380;
constexpr int kHeight = 170;
constexpr int kCaption = 30;
constexpr RECT kButton{kWidth - 100, kHeight - 44, kWidth - 16, kHeight - 14};

struct Box {
    std::wstring text;
    std::wstring caption;
    bool error = false;
};

// The UI thread's: one box at a time, as the loop below runs until it closes.
Box shown;

void Fill(HDC dc, const RECT& rect, COLORREF color) {
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
}

void Paint(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    Fill(dc, RECT{0, 0, kWidth, kHeight}, RGB(0xFF, 0xFF, 0xFF));
    Fill(dc, RECT{0, 0, kWidth, kCaption}, RGB(0xE8, 0xEB, 0xF0));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0x20, 0x20, 0x20));
    RECT caption{12, 0, kWidth - 12, kCaption};
    DrawTextW(dc, shown.caption.c_str(), -1, &caption, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    int textLeft = 20;
    if (shown.error) {
        RECT icon{20, 50, 52, 82};
        Fill(dc, icon, RGB(0xD9, 0x3A, 0x3A));
        SetTextColor(dc, RGB(0xFF, 0xFF, 0xFF));
        DrawTextW(dc, L"×", -1, &icon, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
        SetTextColor(dc, RGB(0x20, 0x20, 0x20));
        textLeft = 64;
    }
    RECT body{textLeft, 44, kWidth - 20, kButton.top - 8};
    DrawTextW(dc, shown.text.c_str(), -1, &body, DT_WORDBREAK | DT_LEFT);
    Fill(dc, kButton, RGB(0x1E, 0x5A, 0xA8));
    SetTextColor(dc, RGB(0xFF, 0xFF, 0xFF));
    RECT button = kButton;
    DrawTextW(dc, L"OK", -1, &button, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    EndPaint(window, &paint);
}

LRESULT BoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            Paint(window);
            return 0;
        case WM_NCHITTEST: {
            POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            ScreenToClient(window, &point);
            return point.y < kCaption ? HTCAPTION : HTCLIENT;
        }
        case WM_LBUTTONUP: {
            POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            if (PtInRect(&kButton, point)) {
                DestroyWindow(window);
            }
            return 0;
        }
        case WM_KEYDOWN:
            if (wParam == VK_RETURN || wParam == VK_ESCAPE || wParam == VK_SPACE) {
                DestroyWindow(window);
            }
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

int MessageBoxW(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type) {
    shown = Box{text != nullptr ? text : L"", caption != nullptr ? caption : L"",
                (type & 0xF0) == MB_ICONERROR};
    std::fprintf(stderr, "%ls: %ls\n", shown.caption.c_str(), shown.text.c_str());
    if (core::Display().Name() != "x11") {
        return IDOK;
    }
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = BoxProc;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = L"QuillonMessageBox";
    RegisterClassExW(&windowClass);
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    HWND box = CreateWindowExW(WS_EX_TOPMOST, L"QuillonMessageBox", shown.caption.c_str(),
                               WS_POPUP | WS_VISIBLE, (work.left + work.right - kWidth) / 2,
                               (work.top + work.bottom - kHeight) / 2, kWidth, kHeight, owner,
                               nullptr, nullptr, nullptr);
    bool ownerWasEnabled = owner != nullptr && IsWindowEnabled(owner);
    if (ownerWasEnabled) {
        EnableWindow(owner, FALSE);
    }
    MSG msg;
    while (IsWindow(box)) {
        if (GetMessageW(&msg, nullptr, 0, 0) <= 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (ownerWasEnabled) {
        EnableWindow(owner, TRUE);
    }
    if (IsWindow(box)) {
        DestroyWindow(box);
    }
    return IDOK;
}

}  // namespace win32
