#include <gtest/gtest.h>

#include <vector>

#include "PixelCanvas.h"

using namespace win32;

namespace {

std::vector<RECT> Rects(HRGN region) {
    DWORD size = GetRegionData(region, 0, nullptr);
    std::vector<char> buffer(size);
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    GetRegionData(region, size, data);
    const RECT* first = reinterpret_cast<const RECT*>(data->Buffer);
    return {first, first + data->rdh.nCount};
}

int Area(HRGN region) {
    int area = 0;
    for (const RECT& r : Rects(region)) {
        area += (r.right - r.left) * (r.bottom - r.top);
    }
    return area;
}

}  // namespace

TEST(Region, CombineTable) {
    struct Case {
        int mode;
        int area;
        int type;
    };
    // Two 4 x 4 squares overlapping in a 2 x 2 square.
    const Case cases[] = {
        {RGN_AND, 4, SIMPLEREGION},    {RGN_OR, 28, COMPLEXREGION},  {RGN_XOR, 24, COMPLEXREGION},
        {RGN_DIFF, 12, COMPLEXREGION}, {RGN_COPY, 16, SIMPLEREGION},
    };
    for (const Case& c : cases) {
        HRGN a = CreateRectRgn(0, 0, 4, 4);
        HRGN b = CreateRectRgn(2, 2, 6, 6);
        HRGN out = CreateRectRgn(0, 0, 0, 0);
        EXPECT_EQ(CombineRgn(out, a, b, c.mode), c.type) << c.mode;
        EXPECT_EQ(Area(out), c.area) << c.mode;
        for (HRGN r : {a, b, out}) {
            DeleteObject(r);
        }
    }
}

TEST(Region, BandsMergeAndStayDisjoint) {
    HRGN a = CreateRectRgn(0, 0, 10, 5);
    HRGN b = CreateRectRgn(0, 5, 10, 10);
    HRGN out = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(CombineRgn(out, a, b, RGN_OR), SIMPLEREGION);
    RECT box;
    GetRgnBox(out, &box);
    EXPECT_TRUE(EqualRect(&box, &(const RECT&)RECT{0, 0, 10, 10}));
    HRGN same = CreateRectRgn(0, 0, 10, 10);
    EXPECT_TRUE(EqualRgn(out, same));
    for (HRGN r : {a, b, out, same}) {
        DeleteObject(r);
    }
}

TEST(Region, RoundRectLeavesOutTheLastColumnAndRowAndCutsCorners) {
    HRGN round = CreateRoundRectRgn(0, 0, 21, 21, 8, 8);
    EXPECT_TRUE(PtInRegion(round, 10, 0));
    EXPECT_TRUE(PtInRegion(round, 19, 10));
    EXPECT_FALSE(PtInRegion(round, 20, 10));
    EXPECT_FALSE(PtInRegion(round, 10, 20));
    EXPECT_FALSE(PtInRegion(round, 0, 0));
    EXPECT_FALSE(PtInRegion(round, 19, 19));
    EXPECT_TRUE(PtInRegion(round, 4, 4));
    DeleteObject(round);

    // An ellipse of width 1 and height 0 is a plain rectangle.
    HRGN flat = CreateRoundRectRgn(0, 0, 601, 401, 1, 0);
    EXPECT_EQ(Rects(flat).size(), 1u);
    EXPECT_EQ(Area(flat), 600 * 400);
    DeleteObject(flat);
}

TEST(Region, ClipBoxFollowsTheSelectedRegionAndIntersections) {
    PixelCanvas canvas(50, 40);
    RECT box;
    EXPECT_EQ(GetClipBox(canvas.dc, &box), SIMPLEREGION);
    EXPECT_TRUE(EqualRect(&box, &(const RECT&)RECT{0, 0, 50, 40}));
    HRGN saved = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetClipRgn(canvas.dc, saved), 0);
    IntersectClipRect(canvas.dc, 10, 10, 30, 30);
    HRGN round = CreateRoundRectRgn(20, 20, 61, 61, 4, 4);
    ExtSelectClipRgn(canvas.dc, round, RGN_AND);
    GetClipBox(canvas.dc, &box);
    EXPECT_TRUE(EqualRect(&box, &(const RECT&)RECT{20, 20, 30, 30}));
    RECT all{0, 0, 50, 40};
    FillRect(canvas.dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(canvas.CountNot(0), 100 - 1) << "only the rounded corner pixel (20, 20) is cut";
    EXPECT_EQ(canvas.At(20, 20), 0u);
    SelectClipRgn(canvas.dc, nullptr);
    EXPECT_EQ(GetClipRgn(canvas.dc, saved), 0);
    DeleteObject(round);
    DeleteObject(saved);
}
