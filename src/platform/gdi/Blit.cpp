// BitBlt, StretchBlt and AlphaBlend over 32-bit premultiplied pixels.
#include <vector>

#include "platform/gdi/GdiObjects.h"

namespace win32 {

namespace {

inline DWORD Div255(DWORD x) {
    return (x + 128 + ((x + 128) >> 8)) >> 8;
}

inline DWORD Scale(DWORD pixel, DWORD factor) {
    return Div255((pixel & 0xFF) * factor) | Div255(((pixel >> 8) & 0xFF) * factor) << 8 |
           Div255(((pixel >> 16) & 0xFF) * factor) << 16 |
           Div255(((pixel >> 24) & 0xFF) * factor) << 24;
}

// Premultiplied source-over; channels cannot overflow because src <= its own alpha.
inline DWORD Over(DWORD src, DWORD dst) {
    DWORD inverse = 255 - (src >> 24);
    if (inverse == 0) {
        return src;
    }
    DWORD scaled = Scale(dst, inverse);
    DWORD out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        DWORD channel = ((src >> shift) & 0xFF) + ((scaled >> shift) & 0xFF);
        out |= (channel > 255 ? 255 : channel) << shift;
    }
    return out;
}

// Maps destination column or row i (of count) onto the source span (start, count), sampling
// the source pixel under the destination pixel's centre.
inline int Sample(int i, int destCount, int srcStart, int srcCount) {
    return srcStart +
           static_cast<int>((static_cast<long long>(2 * i + 1) * srcCount) / (2LL * destCount));
}

// The source pixels, copied when source and destination share a surface so that an
// overlapping copy reads the pixels as they were before it.
struct SourceView {
    const PixelSurface* surface;
    std::vector<DWORD> copy;
    PixelSurface copied;

    SourceView(const PixelSurface* src, const PixelSurface* dest) : surface(src) {
        if (src && dest && src->pixels == dest->pixels) {
            copy.resize(static_cast<std::size_t>(src->width) * src->height);
            for (int y = 0; y < src->height; ++y) {
                const DWORD* row = src->Row(y);
                std::copy(row, row + src->width, copy.begin() + std::size_t(y) * src->width);
            }
            copied = {copy.data(), src->width, src->height, src->width * 4};
            surface = &copied;
        }
    }
};

template <typename Combine>
void ForEachPixel(HDC dest, int x, int y, int width, int height, const PixelSurface& src, int srcX,
                  int srcY, int srcWidth, int srcHeight, Combine combine) {
    const PixelSurface* target = dest->Surface();
    for (const RECT& r : DrawableRects(*dest, {x, y, x + width, y + height})) {
        for (int dy = r.top; dy < r.bottom; ++dy) {
            int sy = Sample(dy - y, height, srcY, srcHeight);
            if (sy < 0 || sy >= src.height) {
                continue;
            }
            const DWORD* srcRow = src.Row(sy);
            DWORD* destRow = target->Row(dy);
            for (int dx = r.left; dx < r.right; ++dx) {
                int sx = Sample(dx - x, width, srcX, srcWidth);
                if (sx >= 0 && sx < src.width) {
                    destRow[dx] = combine(srcRow[sx], destRow[dx]);
                }
            }
        }
    }
}

BOOL Copy(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY, int srcWidth,
          int srcHeight, DWORD rop) {
    if (!dest || width < 0 || height < 0 || srcWidth < 0 || srcHeight < 0) {
        return FALSE;
    }
    if (rop == BLACKNESS || rop == WHITENESS) {
        FillPixels(*dest, {x, y, x + width, y + height},
                   rop == BLACKNESS ? 0xFF000000 : 0xFFFFFFFF);
        return TRUE;
    }
    if (rop != SRCCOPY || !src) {
        return FALSE;
    }
    if (!dest->Surface() || !src->Surface() || width == 0 || height == 0 || srcWidth == 0 ||
        srcHeight == 0) {
        return TRUE;
    }
    SourceView view(src->Surface(), dest->Surface());
    ForEachPixel(dest, x, y, width, height, *view.surface, srcX, srcY, srcWidth, srcHeight,
                 [](DWORD s, DWORD) { return s; });
    return TRUE;
}

}  // namespace

BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY, DWORD rop) {
    return Copy(dest, x, y, width, height, src, srcX, srcY, width, height, rop);
}

BOOL StretchBlt(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY,
                int srcWidth, int srcHeight, DWORD rop) {
    return Copy(dest, x, y, width, height, src, srcX, srcY, srcWidth, srcHeight, rop);
}

BOOL AlphaBlend(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY,
                int srcWidth, int srcHeight, BLENDFUNCTION blend) {
    if (!dest || !src || width < 0 || height < 0 || srcWidth < 0 || srcHeight < 0 ||
        blend.BlendOp != AC_SRC_OVER) {
        return FALSE;
    }
    const PixelSurface* source = src->Surface();
    if (!source || srcX < 0 || srcY < 0 || srcX + srcWidth > source->width ||
        srcY + srcHeight > source->height) {
        return FALSE;
    }
    if (!dest->Surface() || width == 0 || height == 0 || srcWidth == 0 || srcHeight == 0 ||
        blend.SourceConstantAlpha == 0) {
        return TRUE;
    }
    SourceView view(source, dest->Surface());
    DWORD constant = blend.SourceConstantAlpha;
    if (blend.AlphaFormat & AC_SRC_ALPHA) {
        ForEachPixel(dest, x, y, width, height, *view.surface, srcX, srcY, srcWidth, srcHeight,
                     [constant](DWORD s, DWORD d) {
                         return Over(constant == 255 ? s : Scale(s, constant), d);
                     });
    } else {
        // The source counts as opaque: its alpha byte is ignored.
        ForEachPixel(
            dest, x, y, width, height, *view.surface, srcX, srcY, srcWidth, srcHeight,
            [constant](DWORD s, DWORD d) { return Over(Scale(s | 0xFF000000, constant), d); });
    }
    return TRUE;
}

}  // namespace win32
