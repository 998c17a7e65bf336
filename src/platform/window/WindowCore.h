// The window core's own records: windows, classes, per-thread queues and the table that
// holds them. Only the window library sees this header.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/Messages.h"

namespace win32::core {

using Clock = std::chrono::steady_clock;

struct WindowClass {
    std::wstring name;
    UINT style = 0;
    WNDPROC procedure = nullptr;
    int windowExtraBytes = 0;
    HINSTANCE instance = nullptr;
    HICON icon = nullptr;
    HICON smallIcon = nullptr;
    HCURSOR cursor = nullptr;
    HBRUSH background = nullptr;
};

struct Window {
    HWND handle = nullptr;
    DWORD threadId = 0;
    std::shared_ptr<WindowClass> windowClass;
    WNDPROC procedure = nullptr;
    LONG_PTR userData = 0;
    LONG_PTR id = 0;
    HINSTANCE instance = nullptr;
    DWORD style = 0;
    DWORD exStyle = 0;
    std::wstring text;
    HWND parent = nullptr;          // child windows
    HWND owner = nullptr;           // owned top-level windows
    std::vector<HWND> children;     // front of the stacking order first
    RECT rect{};                    // screen coordinates, or the parent's client coordinates
    RECT client{};                  // the client area in window coordinates
    RECT restoreRect{};             // the rectangle before minimising or maximising
    bool restoreMaximized = false;  // a minimised window that was maximised before
    RECT update{};
    bool hasUpdate = false;
    bool eraseNeeded = false;
    bool ncPaintNeeded = false;
    bool destroying = false;
    bool created = false;
    std::vector<BYTE> extraBytes;
    HRGN region = nullptr;
    HFONT font = nullptr;
    HICON bigIcon = nullptr;
    HICON smallIcon = nullptr;
    // Top-level windows: the whole window's premultiplied pixels, rows top-down.
    std::vector<DWORD> pixels;
    int pixelWidth = 0;
    int pixelHeight = 0;
    bool layeredContent = false;  // pixels came from UpdateLayeredWindow: blend with alpha
    BYTE constantAlpha = 255;     // SetLayeredWindowAttributes or the blend's constant alpha
    bool hasConstantAlpha = false;
    void* native = nullptr;            // the display's own record
    std::shared_ptr<void> classState;  // a system class's own state (the Edit's)

    bool IsTopLevel() const { return (style & WS_CHILD) == 0; }
    bool IsVisible() const { return (style & WS_VISIBLE) != 0; }
    int Width() const { return rect.right - rect.left; }
    int Height() const { return rect.bottom - rect.top; }
};

class ThreadQueue;

struct SentMessage {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    LRESULT result = 0;
    bool done = false;  // guarded by Core::mutex
    std::shared_ptr<ThreadQueue> sender;
};

struct Timer {
    HWND window;
    UINT_PTR id;
    UINT period;
    TIMERPROC procedure;
    Clock::time_point due;
};

struct MouseTracking {
    HWND window = nullptr;
    DWORD flags = 0;
    DWORD hoverTime = 0;
    Clock::time_point hoverDue{};
};

// One per thread that uses windows or queues.
class ThreadQueue {
  public:
    explicit ThreadQueue(DWORD threadId);
    ~ThreadQueue();
    ThreadQueue(const ThreadQueue&) = delete;
    ThreadQueue& operator=(const ThreadQueue&) = delete;

    void Wake();
    void ClearWake();
    int WakeDescriptor() const { return wakeFd_; }

    const DWORD threadId;

    // Guarded by Core::mutex: other threads post and send here.
    std::deque<MSG> posted;
    std::deque<std::shared_ptr<SentMessage>> sent;
    bool quitPosted = false;
    int quitCode = 0;
    bool alive = true;

    // The owning thread's own.
    std::vector<Timer> timers;
    UINT_PTR nextThreadTimerId = 1;
    MouseTracking tracking;
    DWORD messageTime = 0;
    POINT messagePos{};
    int receivingSend = 0;

  private:
    int wakeFd_;
};

class Core {
  public:
    static Core& Get();

    std::mutex mutex;
    // Guarded by mutex.
    std::map<std::uintptr_t, std::unique_ptr<Window>> windows;
    std::map<std::wstring, std::shared_ptr<WindowClass>> classes;  // by lower-case name
    std::map<DWORD, std::shared_ptr<ThreadQueue>> queues;
    std::vector<HWND> stacking;  // visible or not, top-level windows, front first
    std::uintptr_t nextHandle = 0x10010;

    // The input state, changed by the thread that takes input.
    std::atomic<HWND> active{nullptr};
    std::atomic<HWND> focus{nullptr};
    std::atomic<HWND> capture{nullptr};
};

DWORD CurrentThreadId();
DWORD TickCount();

// The calling thread's queue, made on first use.
ThreadQueue& CurrentQueue();
std::shared_ptr<ThreadQueue> CurrentQueueShared();

// The window, or null when the handle names none. The record stays valid until its owning
// thread destroys it, so other threads must only read threadId through it.
Window* Find(HWND window);
// As Find, for the owning thread only; sets ERROR_INVALID_WINDOW_HANDLE otherwise.
Window* FindOwn(HWND window);
Window* TopLevelOf(Window* window);
// Every window of the calling thread, parents before their children.
std::vector<HWND> WindowsOfCurrentThread();

// Calls the window's procedure on this thread.
LRESULT Deliver(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Posts to the window's thread queue; false when the window is gone.
bool Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD character = 0);

// Geometry helpers.
POINT ClientOriginOnScreen(Window* window);
POINT WindowOriginOnScreen(Window* window);
// The window's origin in its top-level window's pixels.
POINT OriginInTopLevel(Window* window);

void SetLastErrorCode(DWORD error);

}  // namespace win32::core
