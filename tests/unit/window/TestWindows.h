// Windows that record what they receive, for the window tests on the virtual screen.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/Input.h"
#include "platform/Messages.h"

namespace testing_windows {

using namespace win32;

struct Received {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// What every recording window of the test received, in order, and per-message answers.
class Recorder {
  public:
    static Recorder& Get() {
        static Recorder recorder;
        return recorder;
    }

    std::vector<Received> log;
    // Answers for (window or null for any, message); absent ones go to DefWindowProcW.
    std::map<std::pair<HWND, UINT>, std::function<LRESULT(HWND, WPARAM, LPARAM)>> handlers;

    void Clear() {
        log.clear();
        handlers.clear();
    }

    void On(UINT message, std::function<LRESULT(HWND, WPARAM, LPARAM)> handler,
            HWND window = nullptr) {
        handlers[{window, message}] = std::move(handler);
    }

    // The messages one window received, leaving out the ones that come with every pointer move.
    std::vector<UINT> MessagesOf(HWND window, bool all = false) const {
        std::vector<UINT> messages;
        for (const Received& r : log) {
            if (r.window == window &&
                (all || (r.message != WM_NCHITTEST && r.message != WM_SETCURSOR &&
                         r.message != WM_GETMINMAXINFO && r.message != WM_NCPAINT &&
                         r.message != WM_ERASEBKGND && r.message != WM_PAINT &&
                         r.message != WM_WINDOWPOSCHANGING && r.message != WM_WINDOWPOSCHANGED &&
                         r.message != WM_NCCALCSIZE))) {
                messages.push_back(r.message);
            }
        }
        return messages;
    }

    int Count(HWND window, UINT message) const {
        int count = 0;
        for (const Received& r : log) {
            count += (r.window == window && r.message == message) ? 1 : 0;
        }
        return count;
    }

    const Received* Last(HWND window, UINT message) const {
        for (auto it = log.rbegin(); it != log.rend(); ++it) {
            if (it->window == window && it->message == message) {
                return &*it;
            }
        }
        return nullptr;
    }
};

inline LRESULT RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Recorder& recorder = Recorder::Get();
    recorder.log.push_back({window, message, wParam, lParam});
    for (HWND key : {window, static_cast<HWND>(nullptr)}) {
        auto it = recorder.handlers.find({key, message});
        if (it != recorder.handlers.end()) {
            return it->second(window, wParam, lParam);
        }
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

inline const wchar_t* RecordingClass(UINT style = CS_DBLCLKS) {
    static std::map<UINT, std::wstring> names;
    auto it = names.find(style);
    if (it != names.end()) {
        return it->second.c_str();
    }
    std::wstring name = L"Recording" + std::to_wstring(style);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = style;
    windowClass.lpfnWndProc = RecordingProc;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = name.c_str();
    RegisterClassExW(&windowClass);
    return names.emplace(style, name).first->second.c_str();
}

inline HWND MakeWindow(int x, int y, int width, int height, DWORD style = WS_POPUP | WS_VISIBLE,
                       HWND parent = nullptr, DWORD exStyle = 0, UINT classStyle = CS_DBLCLKS) {
    return CreateWindowExW(exStyle, RecordingClass(classStyle), L"test", style, x, y, width, height,
                           parent, nullptr, nullptr, nullptr);
}

// Dispatches everything the queue holds now, paints included.
inline void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// Runs the message loop until the condition holds; false if it still does not after a
// generous while (the tests never depend on how long).
inline bool PumpUntil(const std::function<bool()>& condition) {
    UINT_PTR guard = SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR, DWORD) {});
    auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    MSG msg;
    bool met = condition();
    while (!met && std::chrono::steady_clock::now() < giveUp) {
        if (GetMessageW(&msg, nullptr, 0, 0) <= 0) {
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
        met = condition();
    }
    KillTimer(nullptr, guard);
    return met;
}

// Gives a layered window width x height pixels (0xAARRGGBB, rows top-down) at a screen position
// and shows it without activating it; false when the display refuses the pixels.
inline bool ShowLayered(HWND window, POINT at, int width, int height,
                        const std::vector<DWORD>& pixels) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC memory = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    std::copy(pixels.begin(), pixels.end(), static_cast<DWORD*>(bits));
    SIZE size{width, height};
    POINT origin{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    const BOOL updated =
        UpdateLayeredWindow(window, nullptr, &at, &size, memory, &origin, 0, &blend, ULW_ALPHA);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    return updated != FALSE;
}

// Every window test runs on the virtual screen.
inline void UseVirtualScreen() {
    setenv("QUILLON_DISPLAY", "headless", 1);
}

}  // namespace testing_windows
