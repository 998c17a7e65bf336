#include <cwctype>

#include "platform/Headless.h"
#include "platform/Input.h"
#include "platform/window/DisplayBackend.h"
#include "platform/window/InputRouter.h"

namespace win32::headless {

namespace {

bool OnVirtualScreen() {
    return core::Display().Name() == "headless";
}

// The key that types a character on a US layout, and whether it needs Shift.
int KeyFor(wchar_t c, bool* shift) {
    *shift = false;
    if (c >= L'a' && c <= L'z') {
        return static_cast<int>(std::towupper(c));
    }
    if (c >= L'A' && c <= L'Z') {
        *shift = true;
        return static_cast<int>(c);
    }
    if (c >= L'0' && c <= L'9') {
        return static_cast<int>(c);
    }
    switch (c) {
        case L' ':
            return VK_SPACE;
        case L'\r':
        case L'\n':
            return VK_RETURN;
        case L'\t':
            return VK_TAB;
        case L'\b':
            return VK_BACK;
        default:
            return 0;  // no key of its own: the input method's
    }
}

}  // namespace

void MoveMouse(int x, int y) {
    if (OnVirtualScreen()) {
        core::input::PointerMoved(POINT{x, y});
    }
}

void PressButton(int button) {
    if (OnVirtualScreen()) {
        core::input::ButtonChanged(button, true, core::input::CursorPosition());
    }
}

void ReleaseButton(int button) {
    if (OnVirtualScreen()) {
        core::input::ButtonChanged(button, false, core::input::CursorPosition());
    }
}

void Click(int x, int y) {
    MoveMouse(x, y);
    PressButton(VK_LBUTTON);
    ReleaseButton(VK_LBUTTON);
}

void TurnWheel(int delta) {
    if (OnVirtualScreen()) {
        core::input::WheelTurned(delta, core::input::CursorPosition());
    }
}

void PressKey(int virtualKey, wchar_t character) {
    if (OnVirtualScreen()) {
        core::input::KeyChanged(virtualKey, true, character);
    }
}

void ReleaseKey(int virtualKey) {
    if (OnVirtualScreen()) {
        core::input::KeyChanged(virtualKey, false, 0);
    }
}

void TypeText(const std::wstring& text) {
    for (wchar_t c : text) {
        bool shift;
        int key = KeyFor(c, &shift);
        if (key == 0) {
            CommitText(std::wstring(1, c));
            continue;
        }
        if (shift) {
            PressKey(VK_SHIFT);
        }
        PressKey(key, c == L'\n' ? L'\r' : c);
        ReleaseKey(key);
        if (shift) {
            ReleaseKey(VK_SHIFT);
        }
    }
}

void CommitText(const std::wstring& text) {
    if (OnVirtualScreen()) {
        core::input::TextCommitted(text);
    }
}

}  // namespace win32::headless
