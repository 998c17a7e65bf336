// Update regions, WM_PAINT, device contexts on window pixels, window regions.
#pragma once

#include <vector>

#include "platform/window/WindowCore.h"

namespace win32::core::painting {

// A WM_PAINT for the first window of this thread that needs one (parents before children).
bool TakePaint(MSG* out, HWND filter);
// Sizes a top-level window's pixels to the window, keeping what overlaps.
void FitPixels(Window& window);
void ReleaseWindowResources(Window& window);
// In window coordinates; true without a region.
bool RegionContains(const Window& window, int x, int y);
// False where a layered window's pixel is fully transparent: input passes through there.
bool OpaqueAt(const Window& window, int x, int y);
// The region's rectangles in window coordinates, or the whole window without one.
std::vector<RECT> VisibleRects(const Window& window);
bool EraseWithClassBrush(Window& window, HDC dc);

}  // namespace win32::core::painting
