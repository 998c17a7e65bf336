// Bitmaps and DIB sections.
#include <cstdlib>
#include <cstring>

#include "platform/gdi/GdiObjects.h"

namespace win32 {

namespace {

GdiObject* NewBitmap(int width, int height, bool bottomUp) {
    auto* pixels =
        static_cast<DWORD*>(std::calloc(static_cast<std::size_t>(width) * height, sizeof(DWORD)));
    if (!pixels) {
        return nullptr;
    }
    auto* bitmap = new GdiObject;
    bitmap->type = OBJ_BITMAP;
    bitmap->storage.reset(pixels);
    DWORD* first = pixels;
    int stride = width * 4;
    if (bottomUp) {
        // Row 0 of the image is the last row in memory.
        first += static_cast<std::size_t>(width) * (height - 1);
        stride = -stride;
    }
    bitmap->surface = {first, width, height, stride};
    return bitmap;
}

}  // namespace

HBITMAP CreateDIBSection(HDC, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                         DWORD) {
    if (bits) {
        *bits = nullptr;
    }
    if (!info || usage != DIB_RGB_COLORS || section || info->bmiHeader.biBitCount != 32 ||
        info->bmiHeader.biCompression != BI_RGB || info->bmiHeader.biWidth <= 0 ||
        info->bmiHeader.biHeight == 0) {
        return nullptr;
    }
    LONG width = info->bmiHeader.biWidth;
    LONG height =
        info->bmiHeader.biHeight < 0 ? -info->bmiHeader.biHeight : info->bmiHeader.biHeight;
    if (static_cast<long long>(width) * height > (1LL << 28)) {
        return nullptr;
    }
    GdiObject* bitmap = NewBitmap(width, height, info->bmiHeader.biHeight > 0);
    if (!bitmap) {
        return nullptr;
    }
    bitmap->isDibSection = true;
    if (bits) {
        *bits = bitmap->storage.get();
    }
    return bitmap;
}

HBITMAP CreateCompatibleBitmap(HDC, int width, int height) {
    if (width <= 0 || height <= 0 || static_cast<long long>(width) * height > (1LL << 28)) {
        return nullptr;
    }
    return NewBitmap(width, height, false);
}

int GetObjectW(HGDIOBJ object, int size, void* out) {
    if (!object) {
        return 0;
    }
    if (object->type == OBJ_BITMAP) {
        if (!out) {
            return sizeof(BITMAP);
        }
        if (size < static_cast<int>(sizeof(BITMAP))) {
            return 0;
        }
        const PixelSurface& s = object->surface;
        BITMAP bm{};
        bm.bmWidth = s.width;
        bm.bmHeight = s.height;
        bm.bmWidthBytes = s.stride < 0 ? -s.stride : s.stride;
        bm.bmPlanes = 1;
        bm.bmBitsPixel = 32;
        if (object->isDibSection) {
            bm.bmBits = object->storage.get();
        } else if (!object->storage) {
            bm.bmBits = s.pixels;
        }
        std::memcpy(out, &bm, sizeof bm);
        return sizeof(BITMAP);
    }
    if (object->type == OBJ_FONT) {
        if (!out) {
            return sizeof(LOGFONTW);
        }
        if (size < static_cast<int>(sizeof(LOGFONTW))) {
            return 0;
        }
        std::memcpy(out, &object->font.logFont, sizeof(LOGFONTW));
        return sizeof(LOGFONTW);
    }
    return 0;
}

}  // namespace win32
