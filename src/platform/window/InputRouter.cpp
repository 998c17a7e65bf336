#include "platform/window/InputRouter.h"

#include <array>
#include <atomic>
#include <cstdlib>
#include <deque>

#include "platform/Input.h"
#include "platform/window/DisplayBackend.h"
#include "platform/window/WindowInternals.h"

namespace win32 {

using core::Clock;
using core::Core;
using core::Window;

namespace core::input {

namespace {

constexpr UINT kDoubleClickMs = 500;
constexpr int kDoubleClickDistance = 4;
constexpr int kHoverDistance = 4;
constexpr DWORD kDefaultHoverMs = 400;
constexpr DWORD kActivationPending = 1;

struct MoveSize {
    HWND window = nullptr;
    LRESULT hit = HTNOWHERE;
    POINT start{};
    RECT startRect{};
};

struct LastClick {
    HWND window = nullptr;
    int button = 0;
    DWORD time = 0;
    POINT at{};
};

struct Tracking {
    HWND window = nullptr;
    DWORD flags = 0;
    DWORD hoverTime = kDefaultHoverMs;
    Clock::time_point hoverDue{};
    POINT anchor{};
};

enum class RawKind { Pointer, Button, Wheel, Key, Text };

struct RawInput {
    RawKind kind;
    POINT at{};
    int code = 0;  // button, virtual key or wheel delta
    bool down = false;
    bool wasDown = false;
    wchar_t character = 0;
    std::wstring text;
    std::array<bool, 256> keys{};  // the devices' state right after this event
};

// Owned by the input thread (see the header).
struct State {
    POINT cursor{};
    std::array<bool, 256> keys{};      // as the devices are now
    std::array<bool, 256> keysRead{};  // as of the input messages read so far
    MoveSize moveSize;
    LastClick lastClick;
    std::deque<RawInput> pending;        // as the devices reported it, not yet routed
    std::array<bool, 256> routedKeys{};  // the devices' state as of the input being routed
    POINT routedCursor{};                // and the pointer's position then
    Tracking tracking;
};

State& Input() {
    static State state;
    return state;
}

// The thread that reported input last: only it routes input and keeps the hover clock, so that
// other threads reading their own queues never touch the input state.
std::atomic<DWORD> inputThread{0};

bool OnInputThread() {
    return inputThread.load() == CurrentThreadId();
}

void Queue(RawInput raw) {
    inputThread = CurrentThreadId();
    raw.keys = Input().keys;
    Input().pending.push_back(std::move(raw));
}

WPARAM KeyStateBits(const std::array<bool, 256>& keys) {
    WPARAM bits = 0;
    bits |= keys[VK_LBUTTON] ? MK_LBUTTON : 0;
    bits |= keys[VK_RBUTTON] ? MK_RBUTTON : 0;
    bits |= keys[VK_MBUTTON] ? MK_MBUTTON : 0;
    bits |= keys[VK_SHIFT] ? MK_SHIFT : 0;
    bits |= keys[VK_CONTROL] ? MK_CONTROL : 0;
    return bits;
}

WPARAM KeyStateBits() {
    return KeyStateBits(Input().routedKeys);
}

bool InClientArea(HWND handle, POINT screen) {
    Window* window = Find(handle);
    if (window == nullptr) {
        return false;
    }
    POINT origin = ClientOriginOnScreen(window);
    return screen.x >= origin.x && screen.y >= origin.y &&
           screen.x < origin.x + window->client.right - window->client.left &&
           screen.y < origin.y + window->client.bottom - window->client.top;
}

LPARAM ClientPoint(HWND window, POINT screen) {
    POINT point = screen;
    ScreenToClient(window, &point);
    return MAKELPARAM(point.x, point.y);
}

void EndTracking(DWORD flags) {
    Tracking& tracking = Input().tracking;
    tracking.flags &= ~flags;
    if ((tracking.flags & (TME_HOVER | TME_LEAVE)) == 0) {
        tracking.window = nullptr;
    }
}

// The window under the pointer gets the hover clock, and a tracked window the pointer left
// its WM_MOUSELEAVE.
void FollowTracking(HWND under, bool inClient, POINT screen) {
    Tracking& tracking = Input().tracking;
    if (tracking.window == nullptr) {
        return;
    }
    if (under != tracking.window || !inClient) {
        if ((tracking.flags & TME_LEAVE) != 0) {
            HWND left = tracking.window;
            EndTracking(TME_LEAVE | TME_HOVER);
            Post(left, WM_MOUSELEAVE, 0, 0);
        }
        return;
    }
    if (std::abs(screen.x - tracking.anchor.x) > kHoverDistance ||
        std::abs(screen.y - tracking.anchor.y) > kHoverDistance) {
        tracking.anchor = screen;
        tracking.hoverDue = Clock::now() + std::chrono::milliseconds(tracking.hoverTime);
    }
}

HWND EnabledTarget(HWND handle) {
    Window* window = Find(handle);
    while (window != nullptr && !window->IsTopLevel() && (window->style & WS_DISABLED) != 0) {
        window = Find(window->parent);
    }
    return window != nullptr ? window->handle : nullptr;
}

// A click on a window disabled by a modal loop brings the window that holds it forward.
void ActivateModalOwnedBy(HWND top) {
    for (HWND handle : WindowsOfCurrentThread()) {
        Window* window = Find(handle);
        if (window != nullptr && window->IsTopLevel() && window->owner == top &&
            IsShownOnScreen(window) && (window->style & WS_DISABLED) == 0) {
            ActivateWindow(handle, WA_ACTIVE);
            return;
        }
    }
}

void ContinueMoveSize(POINT screen) {
    MoveSize& drag = Input().moveSize;
    if (Find(drag.window) == nullptr) {
        drag = MoveSize{};
        return;
    }
    int dx = screen.x - drag.start.x;
    int dy = screen.y - drag.start.y;
    RECT rect = drag.startRect;
    if (drag.hit == HTCAPTION) {
        OffsetRect(&rect, dx, dy);
        SendMessageW(drag.window, WM_MOVING, 0, reinterpret_cast<LPARAM>(&rect));
        SetWindowPos(drag.window, nullptr, rect.left, rect.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    LRESULT hit = drag.hit;
    bool left = hit == HTLEFT || hit == HTTOPLEFT || hit == HTBOTTOMLEFT;
    bool right = hit == HTRIGHT || hit == HTTOPRIGHT || hit == HTBOTTOMRIGHT;
    bool top = hit == HTTOP || hit == HTTOPLEFT || hit == HTTOPRIGHT;
    bool bottom = hit == HTBOTTOM || hit == HTBOTTOMLEFT || hit == HTBOTTOMRIGHT;
    MINMAXINFO limits = QueryMinMaxInfo(drag.window);
    auto clampSize = [](int size, LONG minimum, LONG maximum) {
        return std::max<int>(std::min<int>(size, maximum), minimum);
    };
    int width = drag.startRect.right - drag.startRect.left + (right ? dx : 0) - (left ? dx : 0);
    int height = drag.startRect.bottom - drag.startRect.top + (bottom ? dy : 0) - (top ? dy : 0);
    width = clampSize(width, limits.ptMinTrackSize.x, limits.ptMaxTrackSize.x);
    height = clampSize(height, limits.ptMinTrackSize.y, limits.ptMaxTrackSize.y);
    rect.left = left ? drag.startRect.right - width : drag.startRect.left;
    rect.right = rect.left + width;
    rect.top = top ? drag.startRect.bottom - height : drag.startRect.top;
    rect.bottom = rect.top + height;
    SendMessageW(drag.window, WM_SIZING, static_cast<WPARAM>(hit - HTLEFT + 1),
                 reinterpret_cast<LPARAM>(&rect));
    SetWindowPos(drag.window, nullptr, rect.left, rect.top, rect.right - rect.left,
                 rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void EndMoveSize() {
    HWND window = Input().moveSize.window;
    Input().moveSize = MoveSize{};
    if (Core::Get().capture.load() == nullptr) {
        Display().GrabPointer(false);
    }
    if (Find(window) != nullptr) {
        SendMessageW(window, WM_EXITSIZEMOVE, 0, 0);
    }
}

UINT DoubleClickOf(UINT down) {
    return down + 2;
}

void RouteMouse(UINT message, int button, POINT screen, WPARAM wheelDelta) {
    Core& core = Core::Get();
    HWND capture = core.capture.load();
    HWND under = WindowFromPoint(screen);
    HWND target = capture;
    LRESULT hit = HTCLIENT;
    if (capture == nullptr) {
        target = EnabledTarget(under);
        if (target == nullptr) {
            FollowTracking(nullptr, false, screen);
            return;
        }
        HWND top = GetAncestor(target, GA_ROOT);
        if (!IsWindowEnabled(top)) {
            if (message != WM_MOUSEMOVE && message != WM_MOUSEWHEEL && button != 0) {
                ActivateModalOwnedBy(top);
            }
            return;
        }
        hit = SendMessageW(target, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
        while (hit == HTTRANSPARENT && Find(target) != nullptr && !Find(target)->IsTopLevel()) {
            target = GetParent(target);
            hit = SendMessageW(target, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
        }
        if (Find(target) == nullptr || hit == HTTRANSPARENT || hit == HTNOWHERE) {
            return;
        }
        SendMessageW(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target),
                     MAKELPARAM(static_cast<int>(hit), static_cast<int>(message)));
    }
    FollowTracking(
        capture != nullptr ? under : target,
        capture != nullptr ? (under == capture && InClientArea(capture, screen)) : hit == HTCLIENT,
        screen);
    if (message == WM_MOUSEWHEEL) {
        HWND focus = core.focus.load();
        HWND receiver = focus != nullptr ? focus : target;
        Post(receiver, WM_MOUSEWHEEL, MAKEWPARAM(static_cast<int>(KeyStateBits()), wheelDelta),
             MAKELPARAM(screen.x, screen.y));
        return;
    }
    bool down = message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN;
    // A click in an inactive window activates it when the click is read from the queue, as
    // the system does, so that what was queued before it is handled first.
    DWORD activation = 0;
    if (down && capture == nullptr) {
        HWND top = GetAncestor(target, GA_ROOT);
        Window* topWindow = Find(top);
        if (topWindow != nullptr && core.active.load() != top &&
            (topWindow->exStyle & WS_EX_NOACTIVATE) == 0) {
            activation = kActivationPending;
        }
    }
    if (down) {
        LastClick& last = Input().lastClick;
        DWORD now = TickCount();
        Window* window = Find(target);
        bool doubleClick = window != nullptr && (window->windowClass->style & CS_DBLCLKS) != 0 &&
                           last.window == target && last.button == button &&
                           now - last.time <= kDoubleClickMs &&
                           std::abs(screen.x - last.at.x) <= kDoubleClickDistance &&
                           std::abs(screen.y - last.at.y) <= kDoubleClickDistance;
        if (doubleClick) {
            message = DoubleClickOf(message);
            last = LastClick{};
        } else {
            last = LastClick{target, button, now, screen};
        }
    }
    if (hit == HTCLIENT) {
        Post(target, message, KeyStateBits(), ClientPoint(target, screen), activation);
    } else {
        Post(target, message - WM_MOUSEMOVE + WM_NCMOUSEMOVE, static_cast<WPARAM>(hit),
             MAKELPARAM(screen.x, screen.y), activation);
    }
}

UINT ButtonMessage(int button, bool down) {
    switch (button) {
        case VK_RBUTTON:
            return down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
        case VK_MBUTTON:
            return down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
        default:
            return down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
    }
}

void SetKey(std::array<bool, 256>& keys, int virtualKey, bool down) {
    keys[static_cast<std::size_t>(virtualKey & 0xFF)] = down;
    auto generic = [&](int left, int right, int both) {
        if (virtualKey == left || virtualKey == right || virtualKey == both) {
            keys[static_cast<std::size_t>(both)] = keys[static_cast<std::size_t>(left)] ||
                                                   keys[static_cast<std::size_t>(right)] ||
                                                   (virtualKey == both && down);
        }
    };
    generic(VK_LSHIFT, VK_RSHIFT, VK_SHIFT);
    generic(VK_LCONTROL, VK_RCONTROL, VK_CONTROL);
    generic(VK_LMENU, VK_RMENU, VK_MENU);
}

}  // namespace

namespace {
void RoutePointer(POINT screen);
void RouteButton(int button, bool down, POINT screen);
void RouteWheel(int delta, POINT screen);
void RouteKey(int virtualKey, bool down, bool wasDown, wchar_t character);
void RouteText(const std::wstring& text);
}  // namespace

void PointerMoved(POINT screen) {
    Input().cursor = screen;
    RawInput raw{};
    raw.kind = RawKind::Pointer;
    raw.at = screen;
    Queue(std::move(raw));
}

void ButtonChanged(int button, bool down, POINT screen) {
    Input().cursor = screen;
    SetKey(Input().keys, button, down);
    RawInput raw{};
    raw.kind = RawKind::Button;
    raw.at = screen;
    raw.code = button;
    raw.down = down;
    Queue(std::move(raw));
}

void WheelTurned(int delta, POINT screen) {
    Input().cursor = screen;
    RawInput raw{};
    raw.kind = RawKind::Wheel;
    raw.at = screen;
    raw.code = delta;
    Queue(std::move(raw));
}

void KeyChanged(int virtualKey, bool down, wchar_t character) {
    State& s = Input();
    bool wasDown = s.keys[static_cast<std::size_t>(virtualKey & 0xFF)];
    SetKey(s.keys, virtualKey, down);
    RawInput raw{};
    raw.kind = RawKind::Key;
    raw.code = virtualKey;
    raw.down = down;
    raw.wasDown = wasDown;
    raw.character = character;
    Queue(std::move(raw));
}

void TextCommitted(const std::wstring& text) {
    RawInput raw{};
    raw.kind = RawKind::Text;
    raw.text = text;
    Queue(std::move(raw));
}

bool RouteNextInput() {
    State& s = Input();
    if (!OnInputThread() || s.pending.empty()) {
        return false;
    }
    RawInput input = std::move(s.pending.front());
    s.pending.pop_front();
    s.routedKeys = input.keys;
    if (input.kind != RawKind::Key && input.kind != RawKind::Text) {
        s.routedCursor = input.at;
    }
    switch (input.kind) {
        case RawKind::Pointer:
            RoutePointer(input.at);
            break;
        case RawKind::Button:
            RouteButton(input.code, input.down, input.at);
            break;
        case RawKind::Wheel:
            RouteWheel(input.code, input.at);
            break;
        case RawKind::Key:
            RouteKey(input.code, input.down, input.wasDown, input.character);
            break;
        case RawKind::Text:
            RouteText(input.text);
            break;
    }
    return true;
}

bool ActivateForClick(const MSG& message) {
    if ((message.lPrivate & kActivationPending) == 0) {
        return true;
    }
    bool client = message.message >= WM_MOUSEFIRST;
    LRESULT hit = client ? HTCLIENT : static_cast<LRESULT>(message.wParam);
    UINT mouseMessage = client ? message.message : message.message - WM_NCMOUSEMOVE + WM_MOUSEMOVE;
    HWND top = GetAncestor(message.hwnd, GA_ROOT);
    if (top == nullptr || Core::Get().active.load() == top) {
        return true;
    }
    LRESULT answer =
        SendMessageW(message.hwnd, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(top),
                     MAKELPARAM(static_cast<int>(hit), static_cast<int>(mouseMessage)));
    if ((answer == MA_ACTIVATE || answer == MA_ACTIVATEANDEAT) && Find(top) != nullptr) {
        ActivateWindow(top, WA_CLICKACTIVE);
    }
    return answer != MA_ACTIVATEANDEAT && answer != MA_NOACTIVATEANDEAT &&
           Find(message.hwnd) != nullptr;
}

namespace {
void RoutePointer(POINT screen) {
    if (Input().moveSize.window != nullptr) {
        ContinueMoveSize(screen);
        return;
    }
    RouteMouse(WM_MOUSEMOVE, 0, screen, 0);
}
}  // namespace

namespace {
void RouteButton(int button, bool down, POINT screen) {
    if (Input().moveSize.window != nullptr) {
        if (!down && button == VK_LBUTTON) {
            EndMoveSize();
        }
        return;
    }
    RouteMouse(ButtonMessage(button, down), button, screen, 0);
}
}  // namespace

namespace {
void RouteWheel(int delta, POINT screen) {
    RouteMouse(WM_MOUSEWHEEL, 0, screen, static_cast<WPARAM>(static_cast<WORD>(delta)));
}
}  // namespace

namespace {
void RouteKey(int virtualKey, bool down, bool wasDown, wchar_t character) {
    State& s = Input();
    if (s.moveSize.window != nullptr) {
        if (virtualKey == VK_ESCAPE && down) {
            RECT r = s.moveSize.startRect;
            HWND window = s.moveSize.window;
            SetWindowPos(window, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            EndMoveSize();
        }
        return;
    }
    Core& core = Core::Get();
    HWND target = core.focus.load();
    if (target == nullptr) {
        target = core.active.load();
    }
    if (target == nullptr || !IsWindowEnabled(GetAncestor(target, GA_ROOT))) {
        return;
    }
    bool alt = s.routedKeys[VK_MENU];
    bool control = s.routedKeys[VK_CONTROL];
    bool system =
        (alt && !control) || virtualKey == VK_F10 ||
        (!down && (virtualKey == VK_MENU || virtualKey == VK_LMENU || virtualKey == VK_RMENU));
    UINT message = down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
    LPARAM lParam = 1;
    lParam |= alt ? (1 << 29) : 0;
    lParam |= (wasDown || !down) ? (1 << 30) : 0;
    lParam |= !down ? static_cast<LPARAM>(static_cast<DWORD>(1u << 31)) : 0;
    lParam = static_cast<LPARAM>(static_cast<DWORD>(lParam));
    Post(target, message, static_cast<WPARAM>(virtualKey), lParam,
         down ? static_cast<DWORD>(character) : 0);
}
}  // namespace

namespace {
void RouteText(const std::wstring& text) {
    HWND target = Core::Get().focus.load();
    if (target == nullptr) {
        return;
    }
    for (wchar_t c : text) {
        Post(target, WM_CHAR, static_cast<WPARAM>(c), 1);
    }
}
}  // namespace

void MessageRead(const MSG& message) {
    auto& keys = Input().keysRead;
    switch (message.message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            SetKey(keys, static_cast<int>(message.wParam), true);
            return;
        case WM_KEYUP:
        case WM_SYSKEYUP:
            SetKey(keys, static_cast<int>(message.wParam), false);
            return;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_NCLBUTTONDOWN:
        case WM_NCLBUTTONDBLCLK:
            keys[VK_LBUTTON] = true;
            return;
        case WM_LBUTTONUP:
        case WM_NCLBUTTONUP:
            keys[VK_LBUTTON] = false;
            return;
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
        case WM_NCRBUTTONDOWN:
            keys[VK_RBUTTON] = true;
            return;
        case WM_RBUTTONUP:
        case WM_NCRBUTTONUP:
            keys[VK_RBUTTON] = false;
            return;
        default:
            return;
    }
}

bool KeyReadDown(int virtualKey) {
    return Input().keysRead[static_cast<std::size_t>(virtualKey & 0xFF)];
}

POINT CursorPosition() {
    return Input().cursor;
}

bool KeyDown(int virtualKey) {
    return Input().keys[static_cast<std::size_t>(virtualKey & 0xFF)];
}

void BeginMoveSize(HWND handle, LRESULT hit) {
    Window* window = Find(handle);
    if (window == nullptr || !window->IsTopLevel() || !KeyReadDown(VK_LBUTTON) ||
        IsZoomed(handle)) {
        return;
    }
    if (hit != HTCAPTION && (window->style & WS_MAXIMIZE) != 0) {
        return;
    }
    ReleaseCapture();
    Input().moveSize = MoveSize{handle, hit, Input().routedCursor, window->rect};
    Display().GrabPointer(true);
    SendMessageW(handle, WM_ENTERSIZEMOVE, 0, 0);
}

bool MovingOrSizing() {
    return Input().moveSize.window != nullptr;
}

std::optional<Clock::time_point> HoverDeadline(ThreadQueue& queue) {
    if (!OnInputThread()) {
        return std::nullopt;
    }
    Tracking& tracking = Input().tracking;
    Window* window = Find(tracking.window);
    if (window == nullptr || window->threadId != queue.threadId ||
        (tracking.flags & TME_HOVER) == 0) {
        return std::nullopt;
    }
    return tracking.hoverDue;
}

void FireHover(ThreadQueue& queue, Clock::time_point now) {
    auto due = HoverDeadline(queue);
    if (!due || now < *due) {
        return;
    }
    Tracking& tracking = Input().tracking;
    POINT cursor = Input().cursor;
    HWND window = tracking.window;
    if (WindowFromPoint(cursor) != window || !InClientArea(window, cursor)) {
        tracking.hoverDue = now + std::chrono::milliseconds(tracking.hoverTime);
        return;
    }
    EndTracking(TME_HOVER);
    Post(window, WM_MOUSEHOVER, KeyStateBits(Input().keys), ClientPoint(window, cursor));
}

void WindowGone(HWND window) {
    State& s = Input();
    if (s.tracking.window == window) {
        s.tracking = Tracking{};
    }
    if (s.moveSize.window == window) {
        s.moveSize = MoveSize{};
        Display().GrabPointer(false);
    }
    if (s.lastClick.window == window) {
        s.lastClick = LastClick{};
    }
}

}  // namespace core::input

short GetKeyState(int virtualKey) {
    return core::input::KeyReadDown(virtualKey) ? static_cast<short>(0x8000) : 0;
}

short GetAsyncKeyState(int virtualKey) {
    return core::input::KeyDown(virtualKey) ? static_cast<short>(0x8000) : 0;
}

HWND SetCapture(HWND window) {
    Core& core = Core::Get();
    if (core::Find(window) == nullptr) {
        return nullptr;
    }
    HWND previous = core.capture.exchange(window);
    if (previous != nullptr && previous != window) {
        core::Deliver(previous, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(window));
    }
    core::Display().GrabPointer(true);
    return previous;
}

BOOL ReleaseCapture() {
    HWND previous = Core::Get().capture.exchange(nullptr);
    if (previous != nullptr) {
        if (!core::input::MovingOrSizing()) {
            core::Display().GrabPointer(false);
        }
        core::Deliver(previous, WM_CAPTURECHANGED, 0, 0);
    }
    return TRUE;
}

HWND GetCapture() {
    return Core::Get().capture.load();
}

BOOL GetCursorPos(POINT* point) {
    if (point == nullptr) {
        return FALSE;
    }
    *point = core::input::CursorPosition();
    return TRUE;
}

UINT GetDoubleClickTime() {
    return core::input::kDoubleClickMs;
}

BOOL TrackMouseEvent(TRACKMOUSEEVENT* track) {
    if (track == nullptr || track->cbSize != sizeof(TRACKMOUSEEVENT)) {
        return FALSE;
    }
    auto& tracking = core::input::Input().tracking;
    if ((track->dwFlags & TME_CANCEL) != 0) {
        if (tracking.window == track->hwndTrack) {
            core::input::EndTracking(track->dwFlags & (TME_HOVER | TME_LEAVE));
        }
        return TRUE;
    }
    if (core::Find(track->hwndTrack) == nullptr) {
        return FALSE;
    }
    POINT cursor = core::input::CursorPosition();
    bool over = WindowFromPoint(cursor) == track->hwndTrack &&
                core::input::InClientArea(track->hwndTrack, cursor);
    if ((track->dwFlags & TME_LEAVE) != 0 && !over) {
        core::Post(track->hwndTrack, WM_MOUSELEAVE, 0, 0);
        track->dwFlags &= ~TME_LEAVE;
    }
    if (tracking.window != track->hwndTrack) {
        tracking = core::input::Tracking{};
        tracking.window = track->hwndTrack;
    }
    tracking.flags |= track->dwFlags & (TME_HOVER | TME_LEAVE);
    if ((track->dwFlags & TME_HOVER) != 0) {
        tracking.hoverTime =
            track->dwHoverTime == HOVER_DEFAULT ? core::input::kDefaultHoverMs : track->dwHoverTime;
        tracking.hoverDue = core::Clock::now() + std::chrono::milliseconds(tracking.hoverTime);
        tracking.anchor = cursor;
    }
    if (tracking.flags == 0) {
        tracking.window = nullptr;
    }
    return TRUE;
}

}  // namespace win32
