// Stock objects, pens, brushes, fills, rectangles and lines, drawn without anti-aliasing as
// GDI draws them.
#include <cstdlib>

#include "platform/gdi/GdiObjects.h"

namespace win32 {

namespace {

GdiObject* MakeStock(DWORD type, COLORREF color, bool hollow) {
    auto* object = new GdiObject;
    object->type = type;
    object->stock = true;
    object->color = color;
    object->hollow = hollow;
    if (hollow && type == OBJ_PEN) {
        object->penStyle = PS_NULL;
    }
    return object;
}

bool DrawsOutline(const GdiObject* pen) {
    return pen && (pen->penStyle & PS_STYLE_MASK) != PS_NULL && pen->penWidth > 0;
}

bool Fills(const GdiObject* brush) {
    return brush && !brush->hollow;
}

void FillRects(const DeviceContext& dc, const RectList& rects, DWORD color) {
    for (const RECT& r : rects) {
        FillPixels(dc, r, color);
    }
}

}  // namespace

DWORD OpaquePixel(COLORREF color) {
    return 0xFF000000 | (static_cast<DWORD>(GetRValue(color)) << 16) |
           (static_cast<DWORD>(GetGValue(color)) << 8) | GetBValue(color);
}

void FillPixels(const DeviceContext& dc, const RECT& rect, DWORD color) {
    const PixelSurface* surface = dc.Surface();
    if (!surface) {
        return;
    }
    for (const RECT& r : DrawableRects(dc, rect)) {
        for (int y = r.top; y < r.bottom; ++y) {
            DWORD* row = surface->Row(y);
            std::fill(row + r.left, row + r.right, color);
        }
    }
}

GdiObject* StockObject(int which) {
    static GdiObject* const whiteBrush = MakeStock(OBJ_BRUSH, RGB(255, 255, 255), false);
    static GdiObject* const blackBrush = MakeStock(OBJ_BRUSH, RGB(0, 0, 0), false);
    static GdiObject* const nullBrush = MakeStock(OBJ_BRUSH, 0, true);
    static GdiObject* const whitePen = MakeStock(OBJ_PEN, RGB(255, 255, 255), false);
    static GdiObject* const blackPen = MakeStock(OBJ_PEN, RGB(0, 0, 0), false);
    static GdiObject* const nullPen = MakeStock(OBJ_PEN, 0, true);
    switch (which) {
        case WHITE_BRUSH:
            return whiteBrush;
        case BLACK_BRUSH:
            return blackBrush;
        case NULL_BRUSH:
            return nullBrush;
        case WHITE_PEN:
            return whitePen;
        case BLACK_PEN:
            return blackPen;
        case NULL_PEN:
            return nullPen;
        case DEFAULT_GUI_FONT:
            return DefaultGuiFont();
        default:
            return nullptr;
    }
}

HGDIOBJ GetStockObject(int which) {
    return StockObject(which);
}

HPEN CreatePen(int style, int width, COLORREF color) {
    auto* pen = new GdiObject;
    pen->type = OBJ_PEN;
    pen->penStyle = style;
    pen->penWidth = width < 1 ? 1 : width;
    pen->color = color & 0xFFFFFF;
    return pen;
}

HBRUSH CreateSolidBrush(COLORREF color) {
    auto* brush = new GdiObject;
    brush->type = OBJ_BRUSH;
    brush->color = color & 0xFFFFFF;
    return brush;
}

int FillRect(HDC dc, const RECT* rect, HBRUSH brush) {
    if (!dc || !rect || !brush || brush->type != OBJ_BRUSH) {
        return 0;
    }
    if (!brush->hollow) {
        FillPixels(*dc, *rect, OpaquePixel(brush->color));
    }
    return 1;
}

BOOL Rectangle(HDC dc, int left, int top, int right, int bottom) {
    if (!dc) {
        return FALSE;
    }
    RECT outer{left, top, right, bottom};
    int w = DrawsOutline(dc->pen) ? dc->pen->penWidth : 0;
    RECT inner{left + w, top + w, right - w, bottom - w};
    if (Fills(dc->brush)) {
        FillPixels(*dc, inner, OpaquePixel(dc->brush->color));
    }
    if (w > 0 && !IsRectEmpty(&outer)) {
        RectList frame =
            IsRectEmpty(&inner) ? RectList{outer} : CombineRects({outer}, {inner}, RGN_DIFF);
        FillRects(*dc, frame, OpaquePixel(dc->pen->color));
    }
    return TRUE;
}

BOOL RoundRect(HDC dc, int left, int top, int right, int bottom, int ellipseWidth,
               int ellipseHeight) {
    if (!dc) {
        return FALSE;
    }
    // The shape covers (left, top) to (right, bottom) exclusive; the region helper leaves out
    // one column and row, hence the + 1.
    RectList outer = RoundRectRects(left, top, right + 1, bottom + 1, ellipseWidth, ellipseHeight);
    int w = DrawsOutline(dc->pen) ? dc->pen->penWidth : 0;
    RectList inner = RoundRectRects(left + w, top + w, right - w + 1, bottom - w + 1,
                                    ellipseWidth - 2 * w, ellipseHeight - 2 * w);
    if (Fills(dc->brush)) {
        FillRects(*dc, inner, OpaquePixel(dc->brush->color));
    }
    if (w > 0) {
        FillRects(*dc, CombineRects(outer, inner, RGN_DIFF), OpaquePixel(dc->pen->color));
    }
    return TRUE;
}

BOOL MoveToEx(HDC dc, int x, int y, POINT* previous) {
    if (!dc) {
        return FALSE;
    }
    if (previous) {
        *previous = dc->position;
    }
    dc->position = {x, y};
    return TRUE;
}

BOOL LineTo(HDC dc, int x, int y) {
    if (!dc) {
        return FALSE;
    }
    POINT from = dc->position;
    dc->position = {x, y};
    if (!DrawsOutline(dc->pen)) {
        return TRUE;
    }
    int w = dc->pen->penWidth;
    DWORD color = OpaquePixel(dc->pen->color);
    int dx = std::abs(x - from.x);
    int dy = -std::abs(y - from.y);
    int stepX = from.x < x ? 1 : -1;
    int stepY = from.y < y ? 1 : -1;
    int error = dx + dy;
    int px = from.x;
    int py = from.y;
    while (px != x || py != y) {
        FillPixels(*dc, {px - w / 2, py - w / 2, px - w / 2 + w, py - w / 2 + w}, color);
        int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            px += stepX;
        }
        if (twice <= dx) {
            error += dx;
            py += stepY;
        }
    }
    return TRUE;
}

}  // namespace win32
