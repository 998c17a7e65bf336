// Creating and destroying windows, their longs, texts and relations.
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <mutex>

#include "platform/window/DisplayBackend.h"
#include "platform/window/Painting.h"
#include "platform/window/WindowInternals.h"

namespace win32 {

using core::Core;
using core::Window;

namespace {

constexpr int kDefaultWidth = 640;
constexpr int kDefaultHeight = 480;

RECT InitialRect(bool topLevel, int x, int y, int width, int height) {
    if (width == CW_USEDEFAULT) {
        width = topLevel ? kDefaultWidth : 0;
        height = topLevel ? kDefaultHeight : 0;
    }
    if (x == CW_USEDEFAULT) {
        RECT work = core::Display().WorkArea();
        x = topLevel ? work.left + 64 : 0;
        y = topLevel ? work.top + 64 : 0;
    }
    return RECT{x, y, x + std::max(width, 0), y + std::max(height, 0)};
}

HWND Register(std::unique_ptr<Window> window) {
    Core& core = Core::Get();
    std::lock_guard lock(core.mutex);
    window->handle = reinterpret_cast<HWND>(core.nextHandle);
    core.nextHandle += 2;
    HWND handle = window->handle;
    if (window->IsTopLevel()) {
        core.stacking.insert(core.stacking.begin(), handle);
    }
    core.windows.emplace(reinterpret_cast<std::uintptr_t>(handle), std::move(window));
    return handle;
}

void SendDestroyTree(HWND handle) {
    core::Deliver(handle, WM_DESTROY, 0, 0);
    Window* window = core::Find(handle);
    if (window == nullptr) {
        return;
    }
    std::vector<HWND> children = window->children;
    for (HWND child : children) {
        SendDestroyTree(child);
    }
}

void Release(HWND handle) {
    Window* window = core::Find(handle);
    if (window == nullptr) {
        return;
    }
    core::ThreadQueue& queue = core::CurrentQueue();
    std::erase_if(queue.timers, [&](const core::Timer& timer) { return timer.window == handle; });
    core::input::WindowGone(handle);
    core::ForgetInputOf(handle);
    if (window->IsTopLevel()) {
        core::RemoveFromStacking(handle);
        core::Display().WindowDestroyed(*window);
    } else if (Window* parent = core::Find(window->parent)) {
        std::erase(parent->children, handle);
    }
    core::painting::ReleaseWindowResources(*window);
    std::unique_ptr<Window> record;
    Core& core = Core::Get();
    std::lock_guard lock(core.mutex);
    std::erase_if(queue.posted, [&](const MSG& msg) { return msg.hwnd == handle; });
    auto it = core.windows.find(reinterpret_cast<std::uintptr_t>(handle));
    record = std::move(it->second);
    core.windows.erase(it);
}

void SendNcDestroyTree(HWND handle) {
    Window* window = core::Find(handle);
    if (window == nullptr) {
        return;
    }
    std::vector<HWND> children = window->children;
    for (HWND child : children) {
        SendNcDestroyTree(child);
    }
    core::Deliver(handle, WM_NCDESTROY, 0, 0);
    Release(handle);
}

std::vector<HWND> OwnedWindows(HWND owner) {
    std::vector<HWND> owned;
    for (HWND handle : core::WindowsOfCurrentThread()) {
        Window* window = core::Find(handle);
        if (window != nullptr && window->IsTopLevel() && window->owner == owner) {
            owned.push_back(handle);
        }
    }
    return owned;
}

}  // namespace

HWND CreateWindowExW(DWORD exStyle, const wchar_t* className, const wchar_t* windowName,
                     DWORD style, int x, int y, int width, int height, HWND parent, HMENU menu,
                     HINSTANCE instance, void* param) {
    std::shared_ptr<core::WindowClass> windowClass = core::FindClass(className);
    if (!windowClass) {
        core::SetLastErrorCode(ERROR_CLASS_DOES_NOT_EXIST);
        return nullptr;
    }
    bool child = (style & WS_CHILD) != 0;
    Window* parentWindow = parent != nullptr ? core::FindOwn(parent) : nullptr;
    if ((child && parentWindow == nullptr) || (parent != nullptr && parentWindow == nullptr)) {
        core::SetLastErrorCode(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    // The queue exists before the window, so that other threads can reach it at once and the
    // window ends with its thread.
    core::CurrentQueue();
    auto window = std::make_unique<Window>();
    window->threadId = core::CurrentThreadId();
    window->windowClass = windowClass;
    window->procedure = windowClass->procedure;
    window->instance = instance;
    window->style = style & ~WS_VISIBLE;
    if (!child && (style & WS_POPUP) == 0) {
        window->style |= WS_CLIPSIBLINGS | WS_CAPTION;
    }
    window->exStyle = exStyle;
    window->text = windowName != nullptr ? windowName : L"";
    window->rect = InitialRect(!child, x, y, width, height);
    window->client = core::ClientRectAtOrigin(*window);
    window->extraBytes.assign(static_cast<std::size_t>(windowClass->windowExtraBytes), 0);
    window->bigIcon = windowClass->icon;
    window->smallIcon = windowClass->smallIcon;
    if (child) {
        window->parent = parent;
        window->id = reinterpret_cast<LONG_PTR>(menu);
    } else if (parentWindow != nullptr) {
        window->owner = GetAncestor(parent, GA_ROOT);
    }
    Window* record = window.get();
    HWND handle = Register(std::move(window));
    if (child) {
        parentWindow->children.insert(parentWindow->children.begin(), handle);
    } else {
        core::painting::FitPixels(*record);
        core::Display().WindowCreated(*record);
    }

    if (!child) {
        core::QueryMinMaxInfo(handle);
    }
    CREATESTRUCTW create{param,
                         instance,
                         menu,
                         parent,
                         record->Height(),
                         record->Width(),
                         record->rect.top,
                         record->rect.left,
                         static_cast<LONG>(style),
                         windowName,
                         className,
                         exStyle};
    if (core::Deliver(handle, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&create)) == 0) {
        SendNcDestroyTree(handle);
        return nullptr;
    }
    if (core::Find(handle) == nullptr) {
        return nullptr;
    }
    RECT proposed = record->rect;
    core::Deliver(handle, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&proposed));
    if (Window* w = core::Find(handle)) {
        w->client = RECT{proposed.left - w->rect.left, proposed.top - w->rect.top,
                         proposed.right - w->rect.left, proposed.bottom - w->rect.top};
    }
    if (core::Deliver(handle, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
        DestroyWindow(handle);
        return nullptr;
    }
    record = core::Find(handle);
    if (record == nullptr) {
        return nullptr;
    }
    record->created = true;
    RECT client = record->client;
    core::Deliver(handle, WM_SIZE, SIZE_RESTORED,
                  MAKELPARAM(client.right - client.left, client.bottom - client.top));
    if (Window* w = core::Find(handle)) {
        core::Deliver(handle, WM_MOVE, 0,
                      MAKELPARAM(w->rect.left + w->client.left, w->rect.top + w->client.top));
    }
    if ((style & WS_VISIBLE) != 0 && core::Find(handle) != nullptr) {
        ShowWindow(handle, SW_SHOW);
    }
    return core::Find(handle) != nullptr ? handle : nullptr;
}

BOOL DestroyWindow(HWND handle) {
    Window* window = core::FindOwn(handle);
    if (window == nullptr) {
        return FALSE;
    }
    if (window->destroying) {
        return TRUE;
    }
    window->destroying = true;
    for (HWND owned : OwnedWindows(handle)) {
        DestroyWindow(owned);
    }
    if (IsWindowVisible(handle)) {
        SetWindowPos(handle, nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    SendDestroyTree(handle);
    SendNcDestroyTree(handle);
    return TRUE;
}

BOOL IsWindow(HWND handle) {
    return core::Find(handle) != nullptr ? TRUE : FALSE;
}

LRESULT CallWindowProcW(WNDPROC procedure, HWND window, UINT message, WPARAM wParam,
                        LPARAM lParam) {
    return procedure != nullptr ? procedure(window, message, wParam, lParam) : 0;
}

LONG_PTR GetWindowLongPtrW(HWND handle, int index) {
    Window* window = core::Find(handle);
    if (window == nullptr) {
        core::SetLastErrorCode(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    switch (index) {
        case GWLP_WNDPROC:
            return reinterpret_cast<LONG_PTR>(window->procedure);
        case GWLP_HINSTANCE:
            return reinterpret_cast<LONG_PTR>(window->instance);
        case GWLP_HWNDPARENT:
            return reinterpret_cast<LONG_PTR>(window->IsTopLevel() ? window->owner
                                                                   : window->parent);
        case GWLP_ID:
            return window->id;
        case GWL_STYLE:
            return static_cast<LONG_PTR>(window->style);
        case GWL_EXSTYLE:
            return static_cast<LONG_PTR>(window->exStyle);
        case GWLP_USERDATA:
            return window->userData;
        default:
            break;
    }
    if (index < 0 ||
        static_cast<std::size_t>(index) + sizeof(LONG_PTR) > window->extraBytes.size()) {
        core::SetLastErrorCode(ERROR_INVALID_PARAMETER);
        return 0;
    }
    LONG_PTR value;
    std::memcpy(&value, window->extraBytes.data() + index, sizeof value);
    return value;
}

LONG_PTR SetWindowLongPtrW(HWND handle, int index, LONG_PTR value) {
    Window* window = core::Find(handle);
    if (window == nullptr) {
        core::SetLastErrorCode(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    LONG_PTR previous = GetWindowLongPtrW(handle, index);
    switch (index) {
        case GWLP_WNDPROC:
            window->procedure = reinterpret_cast<WNDPROC>(value);
            return previous;
        case GWLP_HINSTANCE:
            window->instance = reinterpret_cast<HINSTANCE>(value);
            return previous;
        case GWLP_HWNDPARENT:
            if (window->IsTopLevel()) {
                window->owner = reinterpret_cast<HWND>(value);
            }
            return previous;
        case GWLP_ID:
            window->id = value;
            return previous;
        case GWL_STYLE:
        case GWL_EXSTYLE: {
            DWORD& field = index == GWL_STYLE ? window->style : window->exStyle;
            // STYLESTRUCT: the old and the new styles.
            DWORD styles[2] = {field, static_cast<DWORD>(value)};
            core::Deliver(handle, WM_STYLECHANGING, static_cast<WPARAM>(index),
                          reinterpret_cast<LPARAM>(styles));
            if (Window* w = core::Find(handle)) {
                (index == GWL_STYLE ? w->style : w->exStyle) = styles[1];
                core::Deliver(handle, WM_STYLECHANGED, static_cast<WPARAM>(index),
                              reinterpret_cast<LPARAM>(styles));
            }
            return previous;
        }
        case GWLP_USERDATA:
            window->userData = value;
            return previous;
        default:
            break;
    }
    if (index < 0 ||
        static_cast<std::size_t>(index) + sizeof(LONG_PTR) > window->extraBytes.size()) {
        core::SetLastErrorCode(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::memcpy(window->extraBytes.data() + index, &value, sizeof value);
    return previous;
}

LONG GetWindowLongW(HWND window, int index) {
    return static_cast<LONG>(GetWindowLongPtrW(window, index));
}

LONG SetWindowLongW(HWND window, int index, LONG value) {
    LONG_PTR wide = value;
    if (index == GWL_STYLE || index == GWL_EXSTYLE) {
        wide = static_cast<LONG_PTR>(static_cast<DWORD>(value));
    }
    return static_cast<LONG>(SetWindowLongPtrW(window, index, wide));
}

BOOL SetWindowTextW(HWND window, const wchar_t* text) {
    if (core::Find(window) == nullptr) {
        return FALSE;
    }
    return SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) != 0 ? TRUE : FALSE;
}

int GetWindowTextW(HWND window, wchar_t* text, int capacity) {
    if (capacity <= 0 || core::Find(window) == nullptr) {
        return 0;
    }
    text[0] = L'\0';
    return static_cast<int>(SendMessageW(window, WM_GETTEXT, static_cast<WPARAM>(capacity),
                                         reinterpret_cast<LPARAM>(text)));
}

int GetWindowTextLengthW(HWND window) {
    return static_cast<int>(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0));
}

HWND GetWindow(HWND handle, UINT relation) {
    Window* window = core::Find(handle);
    if (window == nullptr) {
        return nullptr;
    }
    if (relation == GW_OWNER) {
        return window->IsTopLevel() ? window->owner : nullptr;
    }
    if (relation == GW_CHILD) {
        return window->children.empty() ? nullptr : window->children.front();
    }
    std::vector<HWND> siblings;
    if (window->IsTopLevel()) {
        std::lock_guard lock(Core::Get().mutex);
        siblings = Core::Get().stacking;
    } else if (Window* parent = core::Find(window->parent)) {
        siblings = parent->children;
    }
    auto it = std::find(siblings.begin(), siblings.end(), handle);
    if (it == siblings.end() || siblings.empty()) {
        return nullptr;
    }
    switch (relation) {
        case GW_HWNDFIRST:
            return siblings.front();
        case GW_HWNDLAST:
            return siblings.back();
        case GW_HWNDNEXT:
            return it + 1 == siblings.end() ? nullptr : *(it + 1);
        case GW_HWNDPREV:
            return it == siblings.begin() ? nullptr : *(it - 1);
        default:
            return nullptr;
    }
}

HWND GetParent(HWND handle) {
    Window* window = core::Find(handle);
    if (window == nullptr) {
        return nullptr;
    }
    if (!window->IsTopLevel()) {
        return window->parent;
    }
    return (window->style & WS_POPUP) != 0 ? window->owner : nullptr;
}

HWND GetAncestor(HWND handle, UINT flags) {
    Window* window = core::Find(handle);
    if (window == nullptr) {
        return nullptr;
    }
    if (flags == GA_PARENT) {
        return window->IsTopLevel() ? nullptr : window->parent;
    }
    Window* top = core::TopLevelOf(window);
    if (top == nullptr) {
        return nullptr;
    }
    if (flags == GA_ROOTOWNER) {
        while (Window* owner = core::Find(top->owner)) {
            top = owner;
        }
    }
    return top->handle;
}

BOOL IsChild(HWND parent, HWND handle) {
    Window* window = core::Find(handle);
    while (window != nullptr && !window->IsTopLevel()) {
        if (window->parent == parent) {
            return TRUE;
        }
        window = core::Find(window->parent);
    }
    return FALSE;
}

HWND GetDlgItem(HWND parent, int id) {
    Window* window = core::Find(parent);
    if (window == nullptr) {
        return nullptr;
    }
    for (HWND child : window->children) {
        Window* record = core::Find(child);
        if (record != nullptr && record->id == id) {
            return child;
        }
    }
    return nullptr;
}

DWORD GetWindowThreadProcessId(HWND handle, DWORD* processId) {
    Window* window = core::Find(handle);
    if (window == nullptr) {
        return 0;
    }
    if (processId != nullptr) {
        *processId = static_cast<DWORD>(getpid());
    }
    return window->threadId;
}

}  // namespace win32
