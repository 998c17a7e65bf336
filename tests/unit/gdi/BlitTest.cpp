#include <gtest/gtest.h>

#include "PixelCanvas.h"

using namespace win32;

TEST(Blit, BitBltCopiesAllFourChannelsInsideTheClip) {
    DibCanvas src(4, 4);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            src.At(x, y) = 0x80000000u | (y << 8) | x;
        }
    }
    PixelCanvas dest(8, 8, 0xFFFFFFFF);
    HRGN clip = CreateRectRgn(0, 0, 3, 8);
    SelectClipRgn(dest.dc, clip);
    DeleteObject(clip);
    ASSERT_TRUE(BitBlt(dest.dc, 1, 1, 4, 4, src.dc, 0, 0, SRCCOPY));
    EXPECT_EQ(dest.At(1, 1), 0x80000000u);
    EXPECT_EQ(dest.At(2, 3), 0x80000201u);
    EXPECT_EQ(dest.At(3, 1), 0xFFFFFFFFu) << "outside the clip";
    EXPECT_EQ(dest.At(0, 0), 0xFFFFFFFFu);
}

TEST(Blit, StretchBltSamplesTheNearestPixel) {
    DibCanvas src(2, 1);
    src.At(0, 0) = 0xFF0000FF;
    src.At(1, 0) = 0xFFFF0000;
    PixelCanvas dest(4, 2);
    SetStretchBltMode(dest.dc, COLORONCOLOR);
    ASSERT_TRUE(StretchBlt(dest.dc, 0, 0, 4, 2, src.dc, 0, 0, 2, 1, SRCCOPY));
    EXPECT_EQ(dest.At(0, 0), 0xFF0000FFu);
    EXPECT_EQ(dest.At(1, 1), 0xFF0000FFu);
    EXPECT_EQ(dest.At(2, 0), 0xFFFF0000u);
    EXPECT_EQ(dest.At(3, 1), 0xFFFF0000u);
}

TEST(Blit, AlphaBlendTable) {
    struct Case {
        const char* what;
        DWORD src;
        DWORD dest;
        BYTE constant;
        BYTE format;
        DWORD expected;
    };
    const Case cases[] = {
        {"opaque source replaces", 0xFF102030, 0xFF405060, 255, AC_SRC_ALPHA, 0xFF102030},
        {"transparent source keeps", 0x00000000, 0xFF405060, 255, AC_SRC_ALPHA, 0xFF405060},
        {"half white over black", 0x80808080, 0xFF000000, 255, AC_SRC_ALPHA, 0xFF808080},
        {"half white over transparent", 0x80808080, 0x00000000, 255, AC_SRC_ALPHA, 0x80808080},
        {"constant alpha halves opaque", 0xFFFFFFFF, 0xFF000000, 128, AC_SRC_ALPHA, 0xFF808080},
        {"constant alpha without per-pixel", 0x00FF0000, 0xFF0000FF, 128, 0, 0xFF80007F},
    };
    for (const Case& c : cases) {
        DibCanvas src(1, 1);
        src.At(0, 0) = c.src;
        PixelCanvas dest(1, 1, c.dest);
        ASSERT_TRUE(AlphaBlend(dest.dc, 0, 0, 1, 1, src.dc, 0, 0, 1, 1,
                               {AC_SRC_OVER, 0, c.constant, c.format}));
        EXPECT_EQ(dest.At(0, 0), c.expected) << c.what;
    }
}

TEST(Blit, AlphaBlendRejectsSourcesOutsideTheBitmapAndNegativeSizes) {
    DibCanvas src(2, 2);
    src.At(0, 0) = 0xFFFFFFFF;
    PixelCanvas dest(4, 4);
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    EXPECT_FALSE(AlphaBlend(dest.dc, 0, 0, 2, 2, src.dc, 1, 0, 2, 2, blend));
    EXPECT_FALSE(AlphaBlend(dest.dc, 0, 0, -1, 2, src.dc, 0, 0, 2, 2, blend));
    EXPECT_EQ(dest.CountNot(0), 0);
}

TEST(Blit, BottomUpSectionKeepsRowZeroLastInMemory) {
    BITMAPINFO info = Dib32(2, 2);
    void* raw = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &raw, nullptr, 0);
    ASSERT_NE(bitmap, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT top{0, 0, 2, 1};
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(dc, &top, red);
    auto* bits = static_cast<DWORD*>(raw);
    EXPECT_EQ(bits[0], 0u);
    EXPECT_EQ(bits[2], 0xFFFF0000u);
    SelectObject(dc, old);
    DeleteObject(red);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

TEST(Blit, DeletingASelectedBitmapWaitsUntilItIsDeselected) {
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, 3, 3);
    HGDIOBJ old = SelectObject(dc, bitmap);
    EXPECT_TRUE(DeleteObject(bitmap));
    RECT all{0, 0, 3, 3};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    BITMAP info{};
    EXPECT_EQ(GetObjectW(GetCurrentObject(dc, OBJ_BITMAP), sizeof info, &info),
              static_cast<int>(sizeof info));
    EXPECT_EQ(info.bmWidth, 3);
    SelectObject(dc, old);
    DeleteDC(dc);
}
