// The virtual screen: windows live in memory and are composited in stacking order whenever
// the screen is looked at.
#pragma once

#include <memory>

#include "platform/window/DisplayBackend.h"

namespace win32::core {

std::unique_ptr<DisplayBackend> CreateHeadlessDisplay();

// Draws the visible top-level windows over the background, back to front: regions cut them,
// layered windows blend with their alpha. Shared with the X11 display's window captures.
void CompositeWindows(std::vector<DWORD>* screen, int width, int height, DWORD background);

}  // namespace win32::core
