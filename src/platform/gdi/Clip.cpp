// The clip of a device context.
#include "platform/gdi/GdiObjects.h"

namespace win32 {

namespace {

RectList SurfaceRects(const DeviceContext& dc) {
    const PixelSurface* surface = dc.Surface();
    if (!surface) {
        return {};
    }
    return {RECT{0, 0, surface->width, surface->height}};
}

RectList CurrentClip(const DeviceContext& dc) {
    return dc.clip ? *dc.clip : SurfaceRects(dc);
}

}  // namespace

RectList DrawableRects(const DeviceContext& dc, const RECT& rect) {
    if (IsRectEmpty(&rect)) {
        return {};
    }
    RectList area = CombineRects(SurfaceRects(dc), {rect}, RGN_AND);
    return dc.clip ? CombineRects(area, *dc.clip, RGN_AND) : area;
}

int SelectClipRgn(HDC dc, HRGN region) {
    if (!dc) {
        return ERROR;
    }
    if (!region) {
        dc->clip.reset();
        return SIMPLEREGION;
    }
    if (region->type != OBJ_REGION) {
        return ERROR;
    }
    dc->clip = region->rects;
    return RegionType(*dc->clip);
}

int ExtSelectClipRgn(HDC dc, HRGN region, int mode) {
    if (!dc) {
        return ERROR;
    }
    if (mode == RGN_COPY) {
        return SelectClipRgn(dc, region);
    }
    if (!region || region->type != OBJ_REGION) {
        return ERROR;
    }
    dc->clip = CombineRects(CurrentClip(*dc), region->rects, mode);
    return RegionType(*dc->clip);
}

int IntersectClipRect(HDC dc, int left, int top, int right, int bottom) {
    if (!dc) {
        return ERROR;
    }
    RECT r{left, top, right, bottom};
    RectList rect;
    if (!IsRectEmpty(&r)) {
        rect.push_back(r);
    }
    dc->clip = CombineRects(CurrentClip(*dc), rect, RGN_AND);
    return RegionType(*dc->clip);
}

int GetClipRgn(HDC dc, HRGN region) {
    if (!dc || !region || region->type != OBJ_REGION) {
        return -1;
    }
    if (!dc->clip) {
        return 0;
    }
    region->rects = *dc->clip;
    return 1;
}

int GetClipBox(HDC dc, RECT* box) {
    if (!dc || !box) {
        return ERROR;
    }
    RectList visible = CurrentClip(*dc);
    if (dc->clip) {
        visible = CombineRects(visible, SurfaceRects(*dc), RGN_AND);
    }
    *box = BoundingBox(visible);
    return RegionType(visible);
}

}  // namespace win32
