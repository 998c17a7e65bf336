// The objects behind the drawing handles. Private to the gdi library.
#pragma once

#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Gdi.h"

namespace win32 {

// A set of pixels kept as rectangles in bands: sorted by top, then by left, never overlapping;
// the rectangles of one band share top and bottom.
using RectList = std::vector<RECT>;

struct PixelSurface {
    DWORD* pixels = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0;  // bytes; negative for bottom-up sections, pixels then points at row 0

    DWORD* Row(int y) const {
        return reinterpret_cast<DWORD*>(reinterpret_cast<unsigned char*>(pixels) +
                                        static_cast<std::ptrdiff_t>(y) * stride);
    }
    bool Empty() const { return pixels == nullptr || width <= 0 || height <= 0; }
};

struct FreePixels {
    void operator()(DWORD* pixels) const { std::free(pixels); }
};

struct FontSpec {
    std::wstring face;
    LONG height = 0;
    LONG weight = FW_NORMAL;
    bool italic = false;
    bool underline = false;
    LOGFONTW logFont{};
};

struct GdiObject {
    DWORD type = 0;  // OBJ_*
    bool stock = false;
    int selections = 0;  // device contexts that have it selected
    bool deletePending = false;

    // OBJ_BITMAP
    PixelSurface surface;
    // Owned pixels, null when they belong to the caller. calloc'd: large bitmaps then come as
    // zero pages from the kernel instead of being cleared by hand.
    std::unique_ptr<DWORD, FreePixels> storage;
    bool isDibSection = false;

    // OBJ_REGION
    RectList rects;

    // OBJ_PEN, OBJ_BRUSH
    int penStyle = PS_SOLID;
    int penWidth = 1;
    COLORREF color = 0;
    bool hollow = false;

    // OBJ_FONT
    FontSpec font;
};

struct DeviceContext {
    GdiObject* bitmap = nullptr;     // the drawing target; null for an empty memory DC
    GdiObject* ownBitmap = nullptr;  // wraps the caller's pixels for CreateDCForPixels
    GdiObject* pen = nullptr;
    GdiObject* brush = nullptr;
    GdiObject* font = nullptr;
    std::optional<RectList> clip;  // none: the whole surface
    int bkMode = OPAQUE;
    COLORREF bkColor = RGB(255, 255, 255);
    COLORREF textColor = RGB(0, 0, 0);
    int stretchMode = BLACKONWHITE;
    POINT position{0, 0};

    struct State {
        GdiObject* pen;
        GdiObject* brush;
        GdiObject* font;
        GdiObject* bitmap;
        std::optional<RectList> clip;
        int bkMode;
        COLORREF bkColor;
        COLORREF textColor;
        int stretchMode;
        POINT position;
    };
    std::vector<State> saved;

    const PixelSurface* Surface() const {
        return bitmap && !bitmap->surface.Empty() ? &bitmap->surface : nullptr;
    }
};

// Region algebra on banded rectangle lists.
RectList CombineRects(const RectList& a, const RectList& b, int mode);
RectList RoundRectRects(int left, int top, int right, int bottom, int ellipseWidth,
                        int ellipseHeight);
int RegionType(const RectList& rects);
RECT BoundingBox(const RectList& rects);

// The parts of rect that the device context may draw: inside its surface and its clip.
RectList DrawableRects(const DeviceContext& dc, const RECT& rect);

// Selection bookkeeping shared by SelectObject, RestoreDC and DeleteDC.
void RetainSelection(GdiObject* object);
void ReleaseSelection(GdiObject* object);

// Writes color (0xAARRGGBB) over every drawable pixel of rect.
void FillPixels(const DeviceContext& dc, const RECT& rect, DWORD color);
DWORD OpaquePixel(COLORREF color);

GdiObject* StockObject(int which);
GdiObject* DefaultGuiFont();

}  // namespace win32
