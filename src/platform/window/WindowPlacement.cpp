// Showing, hiding, minimising, maximising and placing windows; stacking; coordinates and
// the monitor.
#include <algorithm>

#include "platform/window/DisplayBackend.h"
#include "platform/window/Painting.h"
#include "platform/window/WindowInternals.h"

namespace win32 {

using core::Core;
using core::Window;

namespace core {

bool IsShownOnScreen(Window* window) {
    while (window != nullptr) {
        if (!window->IsVisible() || (window->style & WS_MINIMIZE) != 0) {
            return false;
        }
        if (window->IsTopLevel()) {
            return true;
        }
        window = Find(window->parent);
    }
    return false;
}

RECT ClientRectAtOrigin(const Window& window) {
    return RECT{0, 0, window.Width(), window.Height()};
}

void RemoveFromStacking(HWND window) {
    std::lock_guard lock(Core::Get().mutex);
    std::erase(Core::Get().stacking, window);
}

namespace {

bool IsTopmost(HWND handle) {
    Window* window = Find(handle);
    return window != nullptr && (window->exStyle & WS_EX_TOPMOST) != 0;
}

// Puts the window in front of every window of its band (topmost or not), then its owned
// windows in front of it, so that they stay above their owner.
void PlaceInFront(HWND handle) {
    bool topmost = IsTopmost(handle);
    {
        Core& core = Core::Get();
        std::lock_guard lock(core.mutex);
        auto& stacking = core.stacking;
        std::erase(stacking, handle);
        auto position = stacking.begin();
        if (!topmost) {
            while (position != stacking.end()) {
                auto it = core.windows.find(reinterpret_cast<std::uintptr_t>(*position));
                if (it == core.windows.end() || (it->second->exStyle & WS_EX_TOPMOST) == 0) {
                    break;
                }
                ++position;
            }
        }
        stacking.insert(position, handle);
    }
    std::vector<HWND> owned;
    for (HWND other : WindowsOfCurrentThread()) {
        Window* window = Find(other);
        if (window != nullptr && window->IsTopLevel() && window->owner == handle) {
            owned.push_back(other);
        }
    }
    for (HWND other : owned) {
        PlaceInFront(other);
    }
}

}  // namespace

void RaiseInStacking(HWND window) {
    PlaceInFront(window);
    Display().StackingChanged();
}

MINMAXINFO QueryMinMaxInfo(HWND window) {
    RECT work = Display().WorkArea();
    RECT screen = Display().ScreenRect();
    MINMAXINFO info{};
    info.ptMaxSize = {work.right - work.left, work.bottom - work.top};
    info.ptMaxPosition = {work.left, work.top};
    info.ptMinTrackSize = {1, 1};
    info.ptMaxTrackSize = {screen.right - screen.left, screen.bottom - screen.top};
    Deliver(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    return info;
}

}  // namespace core

namespace {

WPARAM SizeCode(const Window& window) {
    if ((window.style & WS_MINIMIZE) != 0) {
        return SIZE_MINIMIZED;
    }
    return (window.style & WS_MAXIMIZE) != 0 ? SIZE_MAXIMIZED : SIZE_RESTORED;
}

void SendSize(HWND handle) {
    Window* window = core::Find(handle);
    if (window == nullptr) {
        return;
    }
    LPARAM size = (window->style & WS_MINIMIZE) != 0
                      ? 0
                      : MAKELPARAM(window->client.right - window->client.left,
                                   window->client.bottom - window->client.top);
    core::Deliver(handle, WM_SIZE, SizeCode(*window), size);
}

// What a child leaves behind in its parent when it moves, shrinks or hides.
void ExposeInParent(const Window& child, const RECT& area) {
    RECT exposed = area;
    InvalidateRect(child.parent, &exposed, TRUE);
}

bool CanActivate(const Window& window) {
    return window.IsTopLevel() && (window.style & WS_DISABLED) == 0 &&
           (window.exStyle & WS_EX_NOACTIVATE) == 0;
}

void ShowNormally(HWND handle, bool activate) {
    Window* window = core::Find(handle);
    if (!window->IsVisible()) {
        core::Deliver(handle, WM_SHOWWINDOW, TRUE, 0);
    }
    SetWindowPos(
        handle, nullptr, 0, 0, 0, 0,
        SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | (activate ? 0 : SWP_NOACTIVATE));
}

void Minimize(HWND handle, bool deactivate) {
    Window* window = core::Find(handle);
    if ((window->style & WS_MINIMIZE) != 0) {
        return;
    }
    if (!window->IsVisible()) {
        core::Deliver(handle, WM_SHOWWINDOW, TRUE, 0);
        window->style |= WS_VISIBLE;
    }
    window->restoreMaximized = (window->style & WS_MAXIMIZE) != 0;
    if (!window->restoreMaximized) {
        window->restoreRect = window->rect;
    }
    window->style = (window->style | WS_MINIMIZE) & ~WS_MAXIMIZE;
    if (window->IsTopLevel()) {
        core::Display().WindowShown(*window);
    }
    SendSize(handle);
    if (deactivate && Core::Get().active.load() == handle) {
        core::ActivateAnotherThan(handle);
    }
}

void Maximize(HWND handle) {
    Window* window = core::Find(handle);
    if ((window->style & (WS_MINIMIZE | WS_MAXIMIZE)) == 0) {
        window->restoreRect = window->rect;
    }
    if (!window->IsVisible()) {
        core::Deliver(handle, WM_SHOWWINDOW, TRUE, 0);
    }
    bool wasMinimized = (window->style & WS_MINIMIZE) != 0;
    window->style = (window->style | WS_MAXIMIZE) & ~WS_MINIMIZE;
    MINMAXINFO info = core::QueryMinMaxInfo(handle);
    SetWindowPos(handle, nullptr, info.ptMaxPosition.x, info.ptMaxPosition.y, info.ptMaxSize.x,
                 info.ptMaxSize.y, SWP_SHOWWINDOW | SWP_FRAMECHANGED | SWP_NOZORDER);
    if (wasMinimized) {
        if (Window* w = core::Find(handle)) {
            core::Display().WindowShown(*w);
        }
    }
}

void Restore(HWND handle, bool activate) {
    Window* window = core::Find(handle);
    if ((window->style & WS_MINIMIZE) != 0) {
        window->style &= ~WS_MINIMIZE;
        if (window->restoreMaximized) {
            window->style |= WS_MAXIMIZE;
        }
        if (window->IsTopLevel()) {
            core::Display().WindowShown(*window);
        }
        InvalidateRect(handle, nullptr, TRUE);
        SendSize(handle);
        if (activate && CanActivate(*window)) {
            core::ActivateWindow(handle, WA_ACTIVE);
        }
        return;
    }
    if ((window->style & WS_MAXIMIZE) != 0) {
        window->style &= ~WS_MAXIMIZE;
        RECT r = window->restoreRect;
        SetWindowPos(handle, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_FRAMECHANGED | SWP_NOZORDER | (activate ? 0 : SWP_NOACTIVATE));
        return;
    }
    ShowNormally(handle, activate);
}

void PlaceInStacking(HWND handle, HWND insertAfter, Window& window) {
    if (insertAfter == HWND_TOPMOST) {
        window.exStyle |= WS_EX_TOPMOST;
    } else if (insertAfter == HWND_NOTOPMOST) {
        window.exStyle &= ~WS_EX_TOPMOST;
    }
    if (insertAfter == HWND_BOTTOM) {
        {
            std::lock_guard lock(Core::Get().mutex);
            auto& stacking = Core::Get().stacking;
            std::erase(stacking, handle);
            stacking.push_back(handle);
        }
        core::Display().StackingChanged();
        return;
    }
    if (insertAfter == HWND_TOP || insertAfter == HWND_TOPMOST || insertAfter == HWND_NOTOPMOST) {
        core::RaiseInStacking(handle);
        return;
    }
    {
        std::lock_guard lock(Core::Get().mutex);
        auto& stacking = Core::Get().stacking;
        std::erase(stacking, handle);
        auto after = std::find(stacking.begin(), stacking.end(), insertAfter);
        stacking.insert(after == stacking.end() ? stacking.end() : after + 1, handle);
    }
    core::Display().StackingChanged();
}

}  // namespace

BOOL ShowWindow(HWND handle, int command) {
    Window* window = core::FindOwn(handle);
    if (window == nullptr) {
        return FALSE;
    }
    BOOL wasVisible = window->IsVisible() ? TRUE : FALSE;
    switch (command) {
        case SW_HIDE:
            if (wasVisible) {
                core::Deliver(handle, WM_SHOWWINDOW, FALSE, 0);
                SetWindowPos(
                    handle, nullptr, 0, 0, 0, 0,
                    SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            }
            break;
        case SW_MINIMIZE:
        case SW_SHOWMINNOACTIVE:
            Minimize(handle, true);
            break;
        case SW_SHOWMINIMIZED:
            Minimize(handle, false);
            break;
        case SW_MAXIMIZE:
            Maximize(handle);
            break;
        case SW_RESTORE:
            Restore(handle, true);
            break;
        case SW_SHOWNORMAL:
        case SW_SHOWDEFAULT:
            if ((window->style & (WS_MINIMIZE | WS_MAXIMIZE)) != 0) {
                Restore(handle, true);
            } else {
                ShowNormally(handle, true);
            }
            break;
        case SW_SHOWNOACTIVATE:
            if ((window->style & (WS_MINIMIZE | WS_MAXIMIZE)) != 0) {
                Restore(handle, false);
            } else {
                ShowNormally(handle, false);
            }
            break;
        case SW_SHOWNA:
            ShowNormally(handle, false);
            break;
        default:
            ShowNormally(handle, true);
            break;
    }
    return wasVisible;
}

BOOL IsWindowVisible(HWND handle) {
    Window* window = core::Find(handle);
    while (window != nullptr) {
        if (!window->IsVisible()) {
            return FALSE;
        }
        if (window->IsTopLevel()) {
            return TRUE;
        }
        window = core::Find(window->parent);
    }
    return FALSE;
}

BOOL IsIconic(HWND handle) {
    Window* window = core::Find(handle);
    return window != nullptr && (window->style & WS_MINIMIZE) != 0 ? TRUE : FALSE;
}

BOOL IsZoomed(HWND handle) {
    Window* window = core::Find(handle);
    return window != nullptr && (window->style & WS_MAXIMIZE) != 0 ? TRUE : FALSE;
}

BOOL SetWindowPos(HWND handle, HWND insertAfter, int x, int y, int width, int height, UINT flags) {
    Window* window = core::FindOwn(handle);
    if (window == nullptr) {
        return FALSE;
    }
    WINDOWPOS position{handle, insertAfter, x, y, width, height, flags};
    if ((flags & SWP_NOMOVE) != 0) {
        position.x = window->rect.left;
        position.y = window->rect.top;
    }
    if ((flags & SWP_NOSIZE) != 0) {
        position.cx = window->Width();
        position.cy = window->Height();
    }
    position.cx = std::max(position.cx, 0);
    position.cy = std::max(position.cy, 0);
    if ((flags & SWP_NOSENDCHANGING) == 0) {
        core::Deliver(handle, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&position));
        window = core::Find(handle);
        if (window == nullptr) {
            return FALSE;
        }
    }
    RECT before = window->rect;
    RECT after{position.x, position.y, position.x + position.cx, position.y + position.cy};
    bool moved = after.left != before.left || after.top != before.top;
    bool sized = position.cx != window->Width() || position.cy != window->Height();
    if (sized || (flags & SWP_FRAMECHANGED) != 0) {
        NCCALCSIZE_PARAMS params{};
        params.rgrc[0] = after;
        params.rgrc[1] = before;
        params.rgrc[2] =
            RECT{before.left + window->client.left, before.top + window->client.top,
                 before.left + window->client.right, before.top + window->client.bottom};
        params.lppos = &position;
        core::Deliver(handle, WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&params));
        window = core::Find(handle);
        if (window == nullptr) {
            return FALSE;
        }
        RECT client = params.rgrc[0];
        window->client = RECT{client.left - after.left, client.top - after.top,
                              client.right - after.left, client.bottom - after.top};
        window->ncPaintNeeded = true;
    }
    window->rect = after;
    bool shown = (flags & SWP_SHOWWINDOW) != 0 && !window->IsVisible();
    bool hidden = (flags & SWP_HIDEWINDOW) != 0 && window->IsVisible();
    if (shown) {
        window->style |= WS_VISIBLE;
    }
    if (hidden) {
        window->style &= ~WS_VISIBLE;
    }
    if (!moved) {
        position.flags |= SWP_NOMOVE;
    }
    if (!sized) {
        position.flags |= SWP_NOSIZE;
    }
    if (window->IsTopLevel()) {
        if (sized) {
            core::painting::FitPixels(*window);
        }
        if (moved || sized) {
            core::Display().WindowPlaced(*window);
        }
        if ((flags & SWP_NOZORDER) == 0) {
            PlaceInStacking(handle, insertAfter, *window);
        } else if (shown && (flags & SWP_NOACTIVATE) == 0) {
            core::RaiseInStacking(handle);
        }
        if (shown || hidden) {
            core::Display().WindowShown(*window);
        }
    } else {
        if ((flags & SWP_NOZORDER) == 0) {
            if (Window* parent = core::Find(window->parent)) {
                std::erase(parent->children, handle);
                auto place = parent->children.begin();
                if (insertAfter == HWND_BOTTOM) {
                    place = parent->children.end();
                } else if (insertAfter != HWND_TOP && insertAfter != HWND_TOPMOST &&
                           insertAfter != HWND_NOTOPMOST) {
                    auto found =
                        std::find(parent->children.begin(), parent->children.end(), insertAfter);
                    place = found == parent->children.end() ? parent->children.end() : found + 1;
                }
                parent->children.insert(place, handle);
            }
        }
        if (hidden || ((moved || sized) && window->IsVisible())) {
            ExposeInParent(*window, before);
        }
    }
    if ((shown || sized || (flags & SWP_FRAMECHANGED) != 0) && (flags & SWP_NOREDRAW) == 0) {
        window->ncPaintNeeded = true;
        InvalidateRect(handle, nullptr, TRUE);
    }
    if (shown && window->IsTopLevel() && (flags & SWP_NOACTIVATE) == 0 && CanActivate(*window) &&
        (window->style & WS_MINIMIZE) == 0) {
        core::ActivateWindow(handle, WA_ACTIVE);
    }
    if (hidden) {
        core::ForgetInputOf(handle);
        if (Core::Get().active.load() == handle) {
            core::ActivateAnotherThan(handle);
        }
    }
    if (core::Find(handle) == nullptr) {
        return TRUE;
    }
    core::Deliver(handle, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&position));
    return TRUE;
}

BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint) {
    return SetWindowPos(window, nullptr, x, y, width, height,
                        SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

BOOL GetWindowRect(HWND handle, RECT* rect) {
    Window* window = core::Find(handle);
    if (window == nullptr || rect == nullptr) {
        return FALSE;
    }
    POINT origin = core::WindowOriginOnScreen(window);
    *rect = RECT{origin.x, origin.y, origin.x + window->Width(), origin.y + window->Height()};
    return TRUE;
}

BOOL GetClientRect(HWND handle, RECT* rect) {
    Window* window = core::Find(handle);
    if (window == nullptr || rect == nullptr) {
        return FALSE;
    }
    *rect = RECT{0, 0, window->client.right - window->client.left,
                 window->client.bottom - window->client.top};
    return TRUE;
}

BOOL ClientToScreen(HWND handle, POINT* point) {
    Window* window = core::Find(handle);
    if (window == nullptr || point == nullptr) {
        return FALSE;
    }
    POINT origin = core::ClientOriginOnScreen(window);
    point->x += origin.x;
    point->y += origin.y;
    return TRUE;
}

BOOL ScreenToClient(HWND handle, POINT* point) {
    Window* window = core::Find(handle);
    if (window == nullptr || point == nullptr) {
        return FALSE;
    }
    POINT origin = core::ClientOriginOnScreen(window);
    point->x -= origin.x;
    point->y -= origin.y;
    return TRUE;
}

int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count) {
    POINT fromOrigin{0, 0};
    POINT toOrigin{0, 0};
    if (from != nullptr) {
        ClientToScreen(from, &fromOrigin);
    }
    if (to != nullptr) {
        ClientToScreen(to, &toOrigin);
    }
    int dx = fromOrigin.x - toOrigin.x;
    int dy = fromOrigin.y - toOrigin.y;
    for (UINT i = 0; i < count; ++i) {
        points[i].x += dx;
        points[i].y += dy;
    }
    return MAKELPARAM(dx, dy);
}

namespace {

// The deepest visible child of the window under the point (the window's own coordinates).
HWND ChildUnder(Window* window, POINT inWindow) {
    POINT inClient{inWindow.x - window->client.left, inWindow.y - window->client.top};
    for (HWND handle : window->children) {
        Window* child = core::Find(handle);
        if (child == nullptr || !child->IsVisible() || (child->exStyle & WS_EX_TRANSPARENT)) {
            continue;
        }
        POINT inChild{inClient.x - child->rect.left, inClient.y - child->rect.top};
        if (inChild.x >= 0 && inChild.y >= 0 && inChild.x < child->Width() &&
            inChild.y < child->Height() &&
            core::painting::RegionContains(*child, inChild.x, inChild.y)) {
            return ChildUnder(child, inChild);
        }
    }
    return window->handle;
}

}  // namespace

HWND WindowFromPoint(POINT point) {
    std::vector<HWND> stacking;
    {
        std::lock_guard lock(Core::Get().mutex);
        stacking = Core::Get().stacking;
    }
    for (HWND handle : stacking) {
        Window* window = core::Find(handle);
        if (window == nullptr || !core::IsShownOnScreen(window) ||
            (window->exStyle & WS_EX_TRANSPARENT) != 0) {
            continue;
        }
        POINT inWindow{point.x - window->rect.left, point.y - window->rect.top};
        if (inWindow.x < 0 || inWindow.y < 0 || inWindow.x >= window->Width() ||
            inWindow.y >= window->Height() ||
            !core::painting::RegionContains(*window, inWindow.x, inWindow.y) ||
            !core::painting::OpaqueAt(*window, inWindow.x, inWindow.y)) {
            continue;
        }
        return ChildUnder(window, inWindow);
    }
    return nullptr;
}

BOOL BringWindowToTop(HWND handle) {
    Window* window = core::Find(handle);
    if (window == nullptr) {
        return FALSE;
    }
    Window* top = core::TopLevelOf(window);
    core::RaiseInStacking(top->handle);
    return TRUE;
}

namespace {
HMONITOR const kMonitor = reinterpret_cast<HMONITOR>(1);
}

HMONITOR MonitorFromWindow(HWND, DWORD) {
    return kMonitor;
}

HMONITOR MonitorFromPoint(POINT point, DWORD flags) {
    RECT screen = core::Display().ScreenRect();
    bool inside = point.x >= screen.left && point.x < screen.right && point.y >= screen.top &&
                  point.y < screen.bottom;
    return inside || flags != MONITOR_DEFAULTTONULL ? kMonitor : nullptr;
}

BOOL GetMonitorInfoW(HMONITOR monitor, MONITORINFO* info) {
    if (monitor != kMonitor || info == nullptr) {
        return FALSE;
    }
    info->rcMonitor = core::Display().ScreenRect();
    info->rcWork = core::Display().WorkArea();
    info->dwFlags = MONITORINFOF_PRIMARY;
    return TRUE;
}

BOOL SystemParametersInfoW(UINT action, UINT, void* value, UINT) {
    if (action != SPI_GETWORKAREA || value == nullptr) {
        return FALSE;
    }
    *static_cast<RECT*>(value) = core::Display().WorkArea();
    return TRUE;
}

}  // namespace win32
