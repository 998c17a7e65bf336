// Drawing: device contexts, bitmaps and DIB sections, regions, pens, brushes, fonts and text,
// over cairo and pango. A 32-bit DIB section is a premultiplied ARGB surface with the same
// pixel layout as on Windows (0xAARRGGBB words, rows top-down when the height is negative).
#pragma once

#include "platform/Types.h"

namespace win32 {

struct GdiObject;
struct DeviceContext;
using HGDIOBJ = GdiObject*;
using HBITMAP = GdiObject*;
using HRGN = GdiObject*;
using HFONT = GdiObject*;
using HPEN = GdiObject*;
using HBRUSH = GdiObject*;
using HDC = DeviceContext*;
using COLORREF = DWORD;

struct POINT {
    LONG x;
    LONG y;
};
struct SIZE {
    LONG cx;
    LONG cy;
};
struct RECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};

constexpr COLORREF RGB(BYTE r, BYTE g, BYTE b) {
    return static_cast<COLORREF>(r) | (static_cast<COLORREF>(g) << 8) |
           (static_cast<COLORREF>(b) << 16);
}

// A device context drawing into caller-owned 32-bit premultiplied ARGB pixels; the window core
// paints windows through it. Released with DeleteDC.
HDC CreateDCForPixels(DWORD* pixels, int width, int height, int strideBytes);
BOOL DeleteDC(HDC dc);

}  // namespace win32
