// Every drawing operation of the framework: images with nine-grid corners, colours, borders
// and text.
#pragma once

#include <string>

#include "platform/Gdi.h"
#include "skinui/DrawInfo.h"

namespace SkinUI {

class CWindowManagerUI;

// 0xAARRGGBB to a COLORREF, alpha dropped.
constexpr win32::COLORREF ToColorRef(win32::DWORD color) {
    return win32::RGB(static_cast<win32::BYTE>(color >> 16), static_cast<win32::BYTE>(color >> 8),
                      static_cast<win32::BYTE>(color));
}

class CRenderEngine {
  public:
    // Loads the described image through the manager's cache on first use (once: a failure is
    // remembered in info) and draws it into item. A null dc only loads. False when there is no
    // image.
    static bool DrawImageInfo(win32::HDC dc, CWindowManagerUI* manager, const win32::RECT& item,
                              const win32::RECT& paint, TDrawInfo& info);

    // The nine-grid blit: corners are margins both in the source and in the target.
    static void DrawImage(win32::HDC dc, win32::HBITMAP bitmap, const win32::RECT& target,
                          const win32::RECT& paint, const win32::RECT& source,
                          const win32::RECT& corners, bool alpha, win32::BYTE fade = 255,
                          bool hole = false, bool xTiled = false, bool yTiled = false);

    // Alpha 0 draws nothing; translucent channels are taken as already premultiplied.
    static void DrawColor(win32::HDC dc, const win32::RECT& rect, win32::DWORD color);
    static void DrawGradient(win32::HDC dc, const win32::RECT& rect, win32::DWORD first,
                             win32::DWORD second, bool vertical, int steps);

    static void DrawLine(win32::HDC dc, const win32::RECT& rect, int size, win32::DWORD color,
                         int style = win32::PS_SOLID);
    static void DrawRect(win32::HDC dc, const win32::RECT& rect, int size, win32::DWORD color,
                         int style = win32::PS_SOLID);
    static void DrawRoundRect(win32::HDC dc, const win32::RECT& rect, int size, int ellipseWidth,
                              int ellipseHeight, win32::DWORD color, int style = win32::PS_SOLID);

    // The manager's font of that id (its default font when none has it); DT_NOPREFIX added.
    static void DrawText(win32::HDC dc, CWindowManagerUI* manager, win32::RECT& rect,
                         const std::wstring& text, win32::DWORD color, int font, win32::UINT style);
};

}  // namespace SkinUI
