// Enabling, activation and keyboard focus.
#include "platform/Input.h"
#include "platform/window/DisplayBackend.h"
#include "platform/window/WindowInternals.h"

namespace win32 {

using core::Core;
using core::Window;

namespace core {

void ActivateWindow(HWND handle, WORD how) {
    Core& core = Core::Get();
    HWND previous = core.active.load();
    if (previous == handle) {
        return;
    }
    if (previous != nullptr && Find(previous) != nullptr) {
        Deliver(previous, WM_NCACTIVATE, FALSE, 0);
        Deliver(previous, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, IsIconic(previous)),
                reinterpret_cast<LPARAM>(handle));
    }
    core.active = handle;
    if (handle == nullptr) {
        HWND focus = core.focus.exchange(nullptr);
        if (focus != nullptr) {
            Deliver(focus, WM_KILLFOCUS, 0, 0);
        }
        return;
    }
    RaiseInStacking(handle);
    if (Window* window = Find(handle)) {
        Display().Activated(*window);
    }
    Deliver(handle, WM_NCACTIVATE, TRUE, 0);
    Deliver(handle, WM_ACTIVATE, MAKEWPARAM(how, IsIconic(handle)),
            reinterpret_cast<LPARAM>(previous));
}

void ActivateAnotherThan(HWND handle) {
    Window* window = Find(handle);
    HWND next = nullptr;
    if (window != nullptr && window->owner != nullptr && IsWindowVisible(window->owner) &&
        IsWindowEnabled(window->owner)) {
        next = window->owner;
    } else {
        std::vector<HWND> stacking;
        {
            std::lock_guard lock(Core::Get().mutex);
            stacking = Core::Get().stacking;
        }
        for (HWND candidate : stacking) {
            Window* other = Find(candidate);
            if (candidate != handle && other != nullptr && other->threadId == CurrentThreadId() &&
                IsShownOnScreen(other) && (other->style & WS_DISABLED) == 0 &&
                (other->exStyle & (WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW)) == 0 &&
                !other->destroying) {
                next = candidate;
                break;
            }
        }
    }
    ActivateWindow(next, WA_ACTIVE);
}

void ForgetInputOf(HWND handle) {
    Core& core = Core::Get();
    HWND focus = core.focus.load();
    if (focus != nullptr && (focus == handle || IsChild(handle, focus))) {
        core.focus = nullptr;
    }
    HWND capture = core.capture.load();
    if (capture != nullptr && (capture == handle || IsChild(handle, capture))) {
        ReleaseCapture();
    }
    if (core.active.load() == handle && Find(handle) != nullptr && Find(handle)->destroying) {
        ActivateAnotherThan(handle);
    }
}

}  // namespace core

BOOL EnableWindow(HWND handle, BOOL enable) {
    Window* window = core::FindOwn(handle);
    if (window == nullptr) {
        return FALSE;
    }
    BOOL wasDisabled = (window->style & WS_DISABLED) != 0 ? TRUE : FALSE;
    if ((enable != FALSE) == (wasDisabled == FALSE)) {
        return wasDisabled;
    }
    if (enable) {
        window->style &= ~WS_DISABLED;
    } else {
        window->style |= WS_DISABLED;
        HWND focus = Core::Get().focus.load();
        if (focus == handle || IsChild(handle, focus)) {
            SetFocus(nullptr);
        }
        if (Core::Get().capture.load() == handle) {
            ReleaseCapture();
        }
    }
    core::Deliver(handle, WM_ENABLE, enable ? TRUE : FALSE, 0);
    return wasDisabled;
}

BOOL IsWindowEnabled(HWND handle) {
    Window* window = core::Find(handle);
    return window != nullptr && (window->style & WS_DISABLED) == 0 ? TRUE : FALSE;
}

HWND SetActiveWindow(HWND handle) {
    HWND previous = Core::Get().active.load();
    if (handle == nullptr) {
        core::ActivateWindow(nullptr, WA_INACTIVE);
        return previous;
    }
    Window* window = core::FindOwn(handle);
    if (window == nullptr) {
        return nullptr;
    }
    Window* top = core::TopLevelOf(window);
    if ((top->style & WS_DISABLED) != 0) {
        return nullptr;
    }
    core::ActivateWindow(top->handle, WA_ACTIVE);
    return previous;
}

HWND GetActiveWindow() {
    return Core::Get().active.load();
}

BOOL SetForegroundWindow(HWND handle) {
    Window* window = core::Find(handle);
    if (window == nullptr) {
        return FALSE;
    }
    Window* top = core::TopLevelOf(window);
    core::RaiseInStacking(top->handle);
    if (Core::Get().active.load() == top->handle) {
        core::Display().Activated(*top);
        return TRUE;
    }
    return SetActiveWindow(top->handle) != nullptr || Core::Get().active.load() == top->handle
               ? TRUE
               : FALSE;
}

HWND GetForegroundWindow() {
    return Core::Get().active.load();
}

HWND SetFocus(HWND handle) {
    Core& core = Core::Get();
    HWND previous = core.focus.load();
    if (handle == nullptr) {
        core.focus = nullptr;
        if (previous != nullptr) {
            core::Deliver(previous, WM_KILLFOCUS, 0, 0);
        }
        return previous;
    }
    Window* window = core::FindOwn(handle);
    if (window == nullptr) {
        return nullptr;
    }
    for (Window* w = window; w != nullptr; w = w->IsTopLevel() ? nullptr : core::Find(w->parent)) {
        if ((w->style & WS_DISABLED) != 0) {
            return nullptr;
        }
    }
    Window* top = core::TopLevelOf(window);
    if (core.active.load() != top->handle) {
        core::ActivateWindow(top->handle, WA_ACTIVE);
        previous = core.focus.load();
    }
    if (previous == handle) {
        return previous;
    }
    if (core::Find(handle) == nullptr) {
        return nullptr;
    }
    core.focus = handle;
    if (previous != nullptr && core::Find(previous) != nullptr) {
        core::Deliver(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(handle), 0);
    }
    if (core.focus.load() == handle) {
        core::Deliver(handle, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
    }
    return previous;
}

HWND GetFocus() {
    return Core::Get().focus.load();
}

}  // namespace win32
