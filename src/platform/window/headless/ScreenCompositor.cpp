#include <algorithm>

#include "platform/window/Painting.h"
#include "platform/window/WindowInternals.h"
#include "platform/window/headless/HeadlessDisplay.h"

namespace win32::core {

namespace {

DWORD Scale(DWORD pixel, DWORD alpha) {
    DWORD result = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        DWORD channel = (pixel >> shift) & 0xFF;
        result |= ((channel * alpha + 127) / 255) << shift;
    }
    return result;
}

// Premultiplied source over an opaque destination.
DWORD Over(DWORD source, DWORD destination) {
    DWORD alpha = source >> 24;
    if (alpha == 255) {
        return source;
    }
    DWORD below = Scale(destination, 255 - alpha);
    DWORD result = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        DWORD channel = ((source >> shift) & 0xFF) + ((below >> shift) & 0xFF);
        result |= std::min<DWORD>(channel, 255) << shift;
    }
    return result | 0xFF000000;
}

void DrawWindow(const Window& window, std::vector<DWORD>* screen, int width, int height) {
    for (RECT area : painting::VisibleRects(window)) {
        for (int y = area.top; y < area.bottom; ++y) {
            int screenY = window.rect.top + y;
            if (screenY < 0 || screenY >= height || y >= window.pixelHeight) {
                continue;
            }
            for (int x = area.left; x < area.right && x < window.pixelWidth; ++x) {
                int screenX = window.rect.left + x;
                if (screenX < 0 || screenX >= width) {
                    continue;
                }
                DWORD pixel = window.pixels[y * window.pixelWidth + x];
                if (!window.layeredContent) {
                    pixel |= 0xFF000000;
                }
                if (window.hasConstantAlpha && window.constantAlpha != 255) {
                    pixel = Scale(pixel, window.constantAlpha);
                }
                DWORD& target = (*screen)[screenY * width + screenX];
                target = Over(pixel, target);
            }
        }
    }
}

}  // namespace

void CompositeWindows(std::vector<DWORD>* screen, int width, int height, DWORD background) {
    screen->assign(static_cast<std::size_t>(width) * height, background);
    std::vector<HWND> stacking;
    {
        std::lock_guard lock(Core::Get().mutex);
        stacking = Core::Get().stacking;
    }
    for (auto it = stacking.rbegin(); it != stacking.rend(); ++it) {
        Window* window = Find(*it);
        if (window != nullptr && IsShownOnScreen(window)) {
            DrawWindow(*window, screen, width, height);
        }
    }
}

}  // namespace win32::core
