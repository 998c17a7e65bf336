// A device context over a pixel buffer the test can read.
#pragma once

#include <vector>

#include "platform/Gdi.h"

struct PixelCanvas {
    int width;
    int height;
    std::vector<win32::DWORD> pixels;
    win32::HDC dc;

    PixelCanvas(int w, int h, win32::DWORD fill = 0)
        : width(w),
          height(h),
          pixels(static_cast<std::size_t>(w) * h, fill),
          dc(win32::CreateDCForPixels(pixels.data(), w, h, w * 4)) {}
    ~PixelCanvas() { win32::DeleteDC(dc); }
    PixelCanvas(const PixelCanvas&) = delete;
    PixelCanvas& operator=(const PixelCanvas&) = delete;

    win32::DWORD At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    int CountNot(win32::DWORD value) const {
        int n = 0;
        for (win32::DWORD p : pixels) {
            n += p != value;
        }
        return n;
    }
};

inline win32::BITMAPINFO Dib32(int width, int height) {
    win32::BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(win32::BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = win32::BI_RGB;
    return info;
}

// A memory device context with a top-down DIB section selected.
struct DibCanvas {
    win32::HDC dc;
    win32::HBITMAP bitmap;
    win32::HGDIOBJ old;
    win32::DWORD* bits = nullptr;
    int width;

    DibCanvas(int w, int h) : width(w) {
        win32::BITMAPINFO info = Dib32(w, -h);
        dc = win32::CreateCompatibleDC(nullptr);
        void* raw = nullptr;
        bitmap = win32::CreateDIBSection(dc, &info, win32::DIB_RGB_COLORS, &raw, nullptr, 0);
        bits = static_cast<win32::DWORD*>(raw);
        old = win32::SelectObject(dc, bitmap);
    }
    ~DibCanvas() {
        win32::SelectObject(dc, old);
        win32::DeleteObject(bitmap);
        win32::DeleteDC(dc);
    }
    win32::DWORD& At(int x, int y) { return bits[y * width + x]; }
};
