// Regions as banded rectangle lists, and their set operations.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "platform/gdi/GdiObjects.h"

namespace win32 {

namespace {

struct Span {
    LONG left;
    LONG right;
};
using Spans = std::vector<Span>;

// The x-spans of rects covering the whole band [top, bottom); the list is banded, so a rect
// either covers a band of the combined edges fully or not at all.
Spans SpansInBand(const RectList& rects, LONG top, LONG bottom) {
    Spans spans;
    for (const RECT& r : rects) {
        if (r.top <= top && r.bottom >= bottom) {
            spans.push_back({r.left, r.right});
        }
    }
    return spans;
}

bool Inside(const Spans& spans, LONG x) {
    for (const Span& s : spans) {
        if (x >= s.left && x < s.right) {
            return true;
        }
    }
    return false;
}

bool Keep(bool inA, bool inB, int mode) {
    switch (mode) {
        case RGN_AND:
            return inA && inB;
        case RGN_OR:
            return inA || inB;
        case RGN_XOR:
            return inA != inB;
        case RGN_DIFF:
            return inA && !inB;
        default:
            return inA;
    }
}

Spans CombineSpans(const Spans& a, const Spans& b, int mode) {
    std::vector<LONG> edges;
    for (const Span& s : a) {
        edges.push_back(s.left);
        edges.push_back(s.right);
    }
    for (const Span& s : b) {
        edges.push_back(s.left);
        edges.push_back(s.right);
    }
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    Spans out;
    for (std::size_t i = 0; i + 1 < edges.size(); ++i) {
        if (!Keep(Inside(a, edges[i]), Inside(b, edges[i]), mode)) {
            continue;
        }
        if (!out.empty() && out.back().right == edges[i]) {
            out.back().right = edges[i + 1];
        } else {
            out.push_back({edges[i], edges[i + 1]});
        }
    }
    return out;
}

bool SameSpans(const Spans& a, const Spans& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](const Span& x, const Span& y) {
               return x.left == y.left && x.right == y.right;
           });
}

// Appends one band, growing the previous band instead when it touches and has the same spans.
void AppendBand(RectList& out, Spans& lastSpans, LONG& lastBottom, const Spans& spans, LONG top,
                LONG bottom) {
    if (spans.empty()) {
        return;
    }
    if (lastBottom == top && SameSpans(spans, lastSpans)) {
        for (std::size_t i = 0; i < spans.size(); ++i) {
            out[out.size() - spans.size() + i].bottom = bottom;
        }
    } else {
        for (const Span& s : spans) {
            out.push_back({s.left, top, s.right, bottom});
        }
        lastSpans = spans;
    }
    lastBottom = bottom;
}

GdiObject* NewRegion(RectList rects) {
    auto* region = new GdiObject;
    region->type = OBJ_REGION;
    region->rects = std::move(rects);
    return region;
}

bool IsRegion(HRGN region) {
    return region && region->type == OBJ_REGION;
}

}  // namespace

RectList CombineRects(const RectList& a, const RectList& b, int mode) {
    std::vector<LONG> ys;
    for (const RectList* list : {&a, &b}) {
        for (const RECT& r : *list) {
            ys.push_back(r.top);
            ys.push_back(r.bottom);
        }
    }
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
    RectList out;
    Spans lastSpans;
    LONG lastBottom = std::numeric_limits<LONG>::min();
    for (std::size_t i = 0; i + 1 < ys.size(); ++i) {
        Spans spans =
            CombineSpans(SpansInBand(a, ys[i], ys[i + 1]), SpansInBand(b, ys[i], ys[i + 1]), mode);
        AppendBand(out, lastSpans, lastBottom, spans, ys[i], ys[i + 1]);
    }
    return out;
}

RectList RoundRectRects(int left, int top, int right, int bottom, int ellipseWidth,
                        int ellipseHeight) {
    // Like Windows, the region leaves out the right column and the bottom row.
    int width = right - left - 1;
    int height = bottom - top - 1;
    if (width <= 0 || height <= 0) {
        return {};
    }
    double rx = std::min(std::abs(ellipseWidth), width) / 2.0;
    double ry = std::min(std::abs(ellipseHeight), height) / 2.0;
    RectList out;
    Spans lastSpans;
    LONG lastBottom = top - 1;
    for (int row = 0; row < height; ++row) {
        int inset = 0;
        if (rx >= 1.0 && ry >= 1.0) {
            // Distance of the row's centre from the nearer horizontal edge.
            double fromEdge = std::min(row + 0.5, height - row - 0.5);
            if (fromEdge < ry) {
                double dy = (ry - fromEdge) / ry;
                inset = static_cast<int>(std::lround(rx - rx * std::sqrt(1.0 - dy * dy)));
            }
        }
        Spans spans;
        if (left + inset < left + width - inset) {
            spans.push_back({left + inset, left + width - inset});
        }
        AppendBand(out, lastSpans, lastBottom, spans, top + row, top + row + 1);
    }
    return out;
}

int RegionType(const RectList& rects) {
    if (rects.empty()) {
        return NULLREGION;
    }
    return rects.size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

RECT BoundingBox(const RectList& rects) {
    if (rects.empty()) {
        return {0, 0, 0, 0};
    }
    RECT box = rects.front();
    for (const RECT& r : rects) {
        box.left = std::min(box.left, r.left);
        box.top = std::min(box.top, r.top);
        box.right = std::max(box.right, r.right);
        box.bottom = std::max(box.bottom, r.bottom);
    }
    return box;
}

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
    RECT r{std::min(left, right), std::min(top, bottom), std::max(left, right),
           std::max(top, bottom)};
    RectList rects;
    if (!IsRectEmpty(&r)) {
        rects.push_back(r);
    }
    return NewRegion(std::move(rects));
}

HRGN CreateRectRgnIndirect(const RECT* rect) {
    return rect ? CreateRectRgn(rect->left, rect->top, rect->right, rect->bottom) : nullptr;
}

HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int ellipseWidth,
                        int ellipseHeight) {
    return NewRegion(RoundRectRects(std::min(left, right), std::min(top, bottom),
                                    std::max(left, right), std::max(top, bottom), ellipseWidth,
                                    ellipseHeight));
}

int CombineRgn(HRGN dest, HRGN src1, HRGN src2, int mode) {
    if (!IsRegion(dest) || !IsRegion(src1) || mode < RGN_AND || mode > RGN_COPY ||
        (mode != RGN_COPY && !IsRegion(src2))) {
        return ERROR;
    }
    dest->rects = mode == RGN_COPY ? src1->rects : CombineRects(src1->rects, src2->rects, mode);
    return RegionType(dest->rects);
}

BOOL SetRectRgn(HRGN region, int left, int top, int right, int bottom) {
    if (!IsRegion(region)) {
        return FALSE;
    }
    HRGN fresh = CreateRectRgn(left, top, right, bottom);
    region->rects = std::move(fresh->rects);
    DeleteObject(fresh);
    return TRUE;
}

int OffsetRgn(HRGN region, int dx, int dy) {
    if (!IsRegion(region)) {
        return ERROR;
    }
    for (RECT& r : region->rects) {
        OffsetRect(&r, dx, dy);
    }
    return RegionType(region->rects);
}

int GetRgnBox(HRGN region, RECT* box) {
    if (!IsRegion(region) || !box) {
        return ERROR;
    }
    *box = BoundingBox(region->rects);
    return RegionType(region->rects);
}

BOOL PtInRegion(HRGN region, int x, int y) {
    if (!IsRegion(region)) {
        return FALSE;
    }
    for (const RECT& r : region->rects) {
        if (PtInRect(&r, {x, y})) {
            return TRUE;
        }
    }
    return FALSE;
}

BOOL EqualRgn(HRGN a, HRGN b) {
    if (!IsRegion(a) || !IsRegion(b)) {
        return FALSE;
    }
    return CombineRects(a->rects, b->rects, RGN_XOR).empty();
}

DWORD GetRegionData(HRGN region, DWORD size, RGNDATA* data) {
    if (!IsRegion(region)) {
        return 0;
    }
    DWORD rectBytes = static_cast<DWORD>(region->rects.size() * sizeof(RECT));
    DWORD needed = static_cast<DWORD>(sizeof(RGNDATAHEADER)) + rectBytes;
    if (!data || size < needed) {
        return needed;
    }
    data->rdh.dwSize = sizeof(RGNDATAHEADER);
    data->rdh.iType = 1;  // RDH_RECTANGLES
    data->rdh.nCount = static_cast<DWORD>(region->rects.size());
    data->rdh.nRgnSize = rectBytes;
    data->rdh.rcBound = BoundingBox(region->rects);
    if (rectBytes > 0) {
        std::memcpy(data->Buffer, region->rects.data(), rectBytes);
    }
    return needed;
}

}  // namespace win32
