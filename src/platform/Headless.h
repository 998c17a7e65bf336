// Input for the virtual screen: mouse and keyboard events at screen positions, taking the
// path that an X server's events take (hit testing, capture, activation, focus, key state).
// They reach the windows' queues at once; the windows see them when their thread next reads
// its queue. Calls are ignored on any other display.
#pragma once

#include <string>

#include "platform/Window.h"

namespace win32::headless {

void MoveMouse(int x, int y);
// VK_LBUTTON, VK_RBUTTON or VK_MBUTTON.
void PressButton(int button);
void ReleaseButton(int button);
void Click(int x, int y);
// Positive towards the screen, in WHEEL_DELTA steps.
void TurnWheel(int delta);

// A key as it goes down; the character it makes (0 for none) becomes WM_CHAR through
// TranslateMessage.
void PressKey(int virtualKey, wchar_t character = 0);
void ReleaseKey(int virtualKey);
// Presses and releases one key per character (upper-case letters with Shift).
void TypeText(const std::wstring& text);
// Text that an input method commits, delivered as WM_CHAR to the focused window.
void CommitText(const std::wstring& text);

}  // namespace win32::headless
