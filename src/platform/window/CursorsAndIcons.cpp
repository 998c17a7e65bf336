#include <cstdint>

#include "platform/window/DisplayBackend.h"
#include "platform/window/Icons.h"

namespace win32 {

namespace core {

bool IsSystemCursor(HCURSOR cursor) {
    auto value = reinterpret_cast<std::uintptr_t>(cursor);
    return value >= 32512 && value <= 32651;
}

namespace {

CursorShape ShapeOf(HCURSOR cursor) {
    auto value = reinterpret_cast<std::uintptr_t>(cursor);
    if (value == reinterpret_cast<std::uintptr_t>(IDC_HAND)) {
        return CursorShape::Hand;
    }
    if (value == reinterpret_cast<std::uintptr_t>(IDC_IBEAM)) {
        return CursorShape::IBeam;
    }
    if (value == reinterpret_cast<std::uintptr_t>(IDC_WAIT)) {
        return CursorShape::Wait;
    }
    if (value == reinterpret_cast<std::uintptr_t>(IDC_SIZEALL)) {
        return CursorShape::SizeAll;
    }
    return CursorShape::Arrow;
}

// The input thread's (see InputRouter.h).
HCURSOR currentCursor = nullptr;

}  // namespace

}  // namespace core

HCURSOR LoadCursorW(HINSTANCE instance, const wchar_t* name) {
    auto cursor = reinterpret_cast<HCURSOR>(const_cast<wchar_t*>(name));
    if (instance != nullptr || !core::IsSystemCursor(cursor)) {
        return nullptr;
    }
    return cursor;
}

HCURSOR SetCursor(HCURSOR cursor) {
    HCURSOR previous = core::currentCursor;
    core::currentCursor = cursor;
    if (cursor != previous) {
        core::Display().SetCursorShape(core::IsSystemCursor(cursor) ? core::ShapeOf(cursor)
                                                                    : core::CursorShape::Arrow);
    }
    return previous;
}

HCURSOR GetCursor() {
    return core::currentCursor;
}

HICON CreateIconFromPixels(const DWORD* pixels, int width, int height) {
    if (pixels == nullptr || width <= 0 || height <= 0) {
        return nullptr;
    }
    return new HICON__{
        width, height,
        std::vector<DWORD>(pixels, pixels + static_cast<std::size_t>(width) * height)};
}

BOOL DestroyIcon(HICON icon) {
    if (icon == nullptr || core::IsSystemCursor(icon)) {
        return FALSE;
    }
    delete icon;
    return TRUE;
}

BOOL GetIconSize(HICON icon, SIZE* size) {
    if (icon == nullptr || size == nullptr || core::IsSystemCursor(icon)) {
        return FALSE;
    }
    *size = SIZE{icon->width, icon->height};
    return TRUE;
}

}  // namespace win32
