#include <gtest/gtest.h>

#include "PixelCanvas.h"

using namespace win32;

TEST(Shape, InsideFramePenAndHollowBrushDrawOnlyTheOutline) {
    PixelCanvas canvas(10, 10);
    HPEN pen = CreatePen(PS_SOLID | PS_INSIDEFRAME, 2, RGB(0, 0, 255));
    HGDIOBJ oldPen = SelectObject(canvas.dc, pen);
    HGDIOBJ oldBrush = SelectObject(canvas.dc, GetStockObject(HOLLOW_BRUSH));
    Rectangle(canvas.dc, 1, 1, 9, 9);
    EXPECT_EQ(canvas.At(1, 1), 0xFF0000FFu);
    EXPECT_EQ(canvas.At(2, 5), 0xFF0000FFu);
    EXPECT_EQ(canvas.At(8, 8), 0xFF0000FFu);
    EXPECT_EQ(canvas.At(9, 9), 0u) << "right and bottom are exclusive";
    EXPECT_EQ(canvas.At(5, 5), 0u) << "hollow interior";
    EXPECT_EQ(canvas.CountNot(0), 64 - 16);
    SelectObject(canvas.dc, oldPen);
    SelectObject(canvas.dc, oldBrush);
    DeleteObject(pen);
}

TEST(Shape, RoundRectOutlineKeepsItsCornersOpen) {
    PixelCanvas canvas(20, 20);
    HPEN pen = CreatePen(PS_INSIDEFRAME, 1, RGB(255, 0, 0));
    HGDIOBJ oldPen = SelectObject(canvas.dc, pen);
    HGDIOBJ oldBrush = SelectObject(canvas.dc, GetStockObject(NULL_BRUSH));
    RoundRect(canvas.dc, 0, 0, 20, 20, 8, 8);
    EXPECT_EQ(canvas.At(10, 0), 0xFFFF0000u);
    EXPECT_EQ(canvas.At(19, 10), 0xFFFF0000u);
    EXPECT_EQ(canvas.At(10, 19), 0xFFFF0000u);
    EXPECT_EQ(canvas.At(0, 0), 0u);
    EXPECT_EQ(canvas.At(10, 10), 0u);
    SelectObject(canvas.dc, oldPen);
    SelectObject(canvas.dc, oldBrush);
    DeleteObject(pen);
}

TEST(Shape, LineToStopsBeforeTheEndPoint) {
    PixelCanvas canvas(10, 3);
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(0, 255, 0));
    HGDIOBJ old = SelectObject(canvas.dc, pen);
    MoveToEx(canvas.dc, 0, 1, nullptr);
    LineTo(canvas.dc, 5, 1);
    EXPECT_EQ(canvas.At(0, 1), 0xFF00FF00u);
    EXPECT_EQ(canvas.At(4, 1), 0xFF00FF00u);
    EXPECT_EQ(canvas.At(5, 1), 0u);
    EXPECT_EQ(canvas.CountNot(0), 5);
    SelectObject(canvas.dc, old);
    DeleteObject(pen);
}

TEST(Shape, OpaqueExtTextOutOfNothingFillsWithTheBackgroundColour) {
    PixelCanvas canvas(6, 6);
    SetBkColor(canvas.dc, RGB(1, 2, 3));
    RECT r{1, 1, 4, 4};
    ExtTextOutW(canvas.dc, 0, 0, ETO_OPAQUE, &r, L"", 0, nullptr);
    EXPECT_EQ(canvas.At(1, 1), 0xFF010203u);
    EXPECT_EQ(canvas.CountNot(0), 9);
}
