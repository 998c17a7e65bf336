// Operations the parts of the window core call on each other.
#pragma once

#include "platform/window/WindowCore.h"

namespace win32::core {

std::wstring ClassKey(const wchar_t* name);
std::shared_ptr<WindowClass> FindClass(const wchar_t* name);
// The classes every program has without registering them ("Edit").
void RegisterSystemClasses();

// Whether the window and all its ancestors are visible.
bool IsShownOnScreen(Window* window);
// The window's client rectangle at the origin.
RECT ClientRectAtOrigin(const Window& window);

// Placement.
void RaiseInStacking(HWND window);
void RemoveFromStacking(HWND window);
MINMAXINFO QueryMinMaxInfo(HWND window);
// Shows or hides without the WM_SHOWWINDOW of ShowWindow; activates when asked.
void SetVisible(HWND window, bool visible, bool activate);

// Activation and focus.
void ActivateWindow(HWND window, WORD how);
// After the active window was hidden or destroyed: its owner, else the front-most window.
void ActivateAnotherThan(HWND window);
// Forgets focus, capture and activation held by the window that is going away.
void ForgetInputOf(HWND window);

// Input.
namespace input {
void WindowGone(HWND window);
}

}  // namespace win32::core
