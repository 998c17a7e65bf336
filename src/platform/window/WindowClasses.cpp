// Window classes: registered by name (compared without regard to case) for the whole process.
#include <algorithm>
#include <cwctype>
#include <mutex>

#include "platform/window/WindowInternals.h"

namespace win32 {

namespace core {

std::wstring ClassKey(const wchar_t* name) {
    std::wstring key = name == nullptr ? L"" : name;
    for (wchar_t& c : key) {
        c = static_cast<wchar_t>(std::towlower(c));
    }
    return key;
}

std::shared_ptr<WindowClass> FindClass(const wchar_t* name) {
    static std::once_flag systemClasses;
    std::call_once(systemClasses, RegisterSystemClasses);
    Core& core = Core::Get();
    std::lock_guard lock(core.mutex);
    auto it = core.classes.find(ClassKey(name));
    return it == core.classes.end() ? nullptr : it->second;
}

}  // namespace core

ATOM RegisterClassExW(const WNDCLASSEXW* windowClass) {
    if (windowClass == nullptr || windowClass->lpszClassName == nullptr ||
        windowClass->lpszClassName[0] == L'\0' || windowClass->lpfnWndProc == nullptr ||
        windowClass->cbWndExtra < 0) {
        core::SetLastErrorCode(ERROR_INVALID_PARAMETER);
        return 0;
    }
    auto entry = std::make_shared<core::WindowClass>();
    entry->name = windowClass->lpszClassName;
    entry->style = windowClass->style;
    entry->procedure = windowClass->lpfnWndProc;
    entry->windowExtraBytes = windowClass->cbWndExtra;
    entry->instance = windowClass->hInstance;
    entry->icon = windowClass->hIcon;
    entry->smallIcon = windowClass->hIconSm;
    entry->cursor = windowClass->hCursor;
    entry->background = windowClass->hbrBackground;
    core::Core& core = core::Core::Get();
    std::lock_guard lock(core.mutex);
    auto [it, inserted] = core.classes.emplace(core::ClassKey(entry->name.c_str()), entry);
    if (!inserted) {
        core::SetLastErrorCode(ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    // Atoms only need to be non-zero and distinct.
    return static_cast<ATOM>(0xC000 + core.classes.size());
}

BOOL UnregisterClassW(const wchar_t* className, HINSTANCE) {
    core::Core& core = core::Core::Get();
    std::lock_guard lock(core.mutex);
    std::wstring key = core::ClassKey(className);
    for (auto& [handle, window] : core.windows) {
        if (core::ClassKey(window->windowClass->name.c_str()) == key) {
            return FALSE;
        }
    }
    if (core.classes.erase(key) == 0) {
        core::SetLastErrorCode(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    return TRUE;
}

BOOL GetClassInfoExW(HINSTANCE, const wchar_t* className, WNDCLASSEXW* info) {
    auto entry = core::FindClass(className);
    if (!entry) {
        core::SetLastErrorCode(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    *info = WNDCLASSEXW{
        sizeof(WNDCLASSEXW),     entry->style,    entry->procedure,    0,
        entry->windowExtraBytes, entry->instance, entry->icon,         entry->cursor,
        entry->background,       nullptr,         entry->name.c_str(), entry->smallIcon};
    return TRUE;
}

int GetClassNameW(HWND handle, wchar_t* name, int capacity) {
    core::Window* window = core::Find(handle);
    if (window == nullptr || capacity <= 0) {
        return 0;
    }
    const std::wstring& className = window->windowClass->name;
    int length = std::min<int>(static_cast<int>(className.size()), capacity - 1);
    className.copy(name, static_cast<std::size_t>(length));
    name[length] = L'\0';
    return length;
}

}  // namespace win32
