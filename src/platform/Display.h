// The display beneath the windows: an X server, or a virtual screen in memory.
//
// It is chosen when the first window call needs it: QUILLON_DISPLAY=x11 or
// QUILLON_DISPLAY=headless forces either; otherwise an X server when DISPLAY is set, else the
// virtual screen. Without a reachable X server the virtual screen is used.
#pragma once

#include <string>
#include <vector>

#include "platform/Window.h"

namespace win32::display {

// "x11" or "headless".
std::string BackendName();

// The screen as it is shown, 0xAARRGGBB pixels in rows top-down: the composited virtual screen,
// or the X server's root window.
bool CaptureScreen(std::vector<DWORD>* pixels, int* width, int* height);
bool SaveScreenPng(const std::string& path);
// One top-level window's own pixels, with its alpha, as it last painted them.
bool SaveWindowPng(HWND window, const std::string& path);

}  // namespace win32::display
