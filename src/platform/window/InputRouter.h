// Turns the display's raw input into window messages, as the system does: hit testing,
// capture, mouse activation, double clicks, hover and leave tracking, caption drags and border
// sizing, the keyboard focus and the key state.
//
// The input state belongs to the thread that delivers input (the display thread, or the
// thread that injects input into the virtual screen); windows that take input live there.
#pragma once

#include <optional>
#include <string>

#include "platform/window/WindowCore.h"

namespace win32::core::input {

// Screen coordinates. Buttons are VK_LBUTTON, VK_RBUTTON and VK_MBUTTON.
void PointerMoved(POINT screen);
void ButtonChanged(int button, bool down, POINT screen);
void WheelTurned(int delta, POINT screen);
// The character is what the key makes in the current layout (0 for none).
void KeyChanged(int virtualKey, bool down, wchar_t character);
void TextCommitted(const std::wstring& text);

// Input is routed when it is read, one event at a time once the queue has nothing posted, so
// that the windows see the state earlier input left (a capture, a focus) as they would on
// Windows. False when nothing was waiting.
bool RouteNextInput();

// Runs the activation a queued click in an inactive window asks for, as the click is read;
// false when the window ate the click.
bool ActivateForClick(const MSG& message);

// Keeps the key state GetKeyState reports: as of the input messages read so far.
void MessageRead(const MSG& message);

POINT CursorPosition();
bool KeyDown(int virtualKey);
bool KeyReadDown(int virtualKey);

// Follows the pointer with the window's position (HTCAPTION) or one of its edges until the
// left button goes up.
void BeginMoveSize(HWND window, LRESULT hit);
bool MovingOrSizing();

std::optional<Clock::time_point> HoverDeadline(ThreadQueue& queue);
void FireHover(ThreadQueue& queue, Clock::time_point now);
void WindowGone(HWND window);

}  // namespace win32::core::input
