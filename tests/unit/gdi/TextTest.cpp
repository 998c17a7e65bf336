#include <gtest/gtest.h>

#include <cwchar>
#include <string>

#include "PixelCanvas.h"

using namespace win32;

namespace {

HFONT LayoutFont(int size, bool bold = false) {
    LOGFONTW lf{};
    lf.lfHeight = -size;
    lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    std::wcsncpy(lf.lfFaceName, L"微软雅黑", LF_FACESIZE - 1);
    return CreateFontIndirectW(&lf);
}

struct FontCanvas : PixelCanvas {
    HFONT font;
    HGDIOBJ old;
    FontCanvas(int w, int h, int size) : PixelCanvas(w, h), font(LayoutFont(size)) {
        old = SelectObject(dc, font);
    }
    ~FontCanvas() {
        SelectObject(dc, old);
        DeleteObject(font);
    }
};

}  // namespace

TEST(Text, TheLayoutFaceResolvesToTheCjkFontWithEveryCharacter) {
    FontCanvas canvas(10, 10, 14);
    wchar_t face[64];
    ASSERT_GT(GetTextFaceW(canvas.dc, 64, face), 0);
    EXPECT_EQ(std::wstring(face), L"WenQuanYi Micro Hei");
    const std::wstring text = L"正在安装中:0%，请稍候...";
    WORD glyphs[64];
    ASSERT_EQ(GetGlyphIndicesW(canvas.dc, text.c_str(), static_cast<int>(text.size()), glyphs,
                               GGI_MARK_NONEXISTING_GLYPHS),
              text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        EXPECT_NE(glyphs[i], 0xFFFF) << "no glyph for character " << i;
    }
}

TEST(Text, SingleLineHeightIsTheFontHeight) {
    for (int size : {12, 14, 16, 18, 24, 32}) {
        FontCanvas canvas(10, 10, size);
        TEXTMETRICW tm{};
        ASSERT_TRUE(GetTextMetricsW(canvas.dc, &tm));
        EXPECT_GE(tm.tmHeight, size);
        EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
        RECT r{0, 0, 500, 0};
        int height = DrawTextW(canvas.dc, L"安装完成", -1, &r, DT_CALCRECT | DT_SINGLELINE);
        EXPECT_EQ(height, tm.tmHeight) << size;
        EXPECT_EQ(r.bottom, tm.tmHeight);
        EXPECT_GE(r.right, 4 * size - 1) << "four full-width characters";
        EXPECT_LE(r.right, 4 * size + 4);
    }
}

TEST(Text, WordBreakWrapsToTheWidthInWholeLines) {
    FontCanvas canvas(10, 10, 16);
    TEXTMETRICW tm{};
    GetTextMetricsW(canvas.dc, &tm);
    const wchar_t* text = L"检测到计算机中已存在此软件，是否为您更新为最新版本？";
    RECT r{0, 0, 100, 0};
    int height = DrawTextW(canvas.dc, text, -1, &r, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_GE(height, 4 * tm.tmHeight);
    EXPECT_EQ(height % tm.tmHeight, 0);
    EXPECT_LE(r.right, 100);
    RECT one{0, 0, 1000, 0};
    EXPECT_EQ(DrawTextW(canvas.dc, text, -1, &one, DT_CALCRECT | DT_WORDBREAK), tm.tmHeight);
    RECT lines{0, 0, 1000, 0};
    EXPECT_EQ(DrawTextW(canvas.dc, L"一\r\n二\n三", -1, &lines, DT_CALCRECT), 3 * tm.tmHeight);
}

TEST(Text, ChineseTextIsDrawnInsideTheRectangleAndCentred) {
    FontCanvas canvas(120, 40, 18);
    SetBkMode(canvas.dc, TRANSPARENT);
    SetTextColor(canvas.dc, RGB(255, 255, 255));
    RECT r{10, 5, 110, 35};
    DrawTextW(canvas.dc, L"立即安装", -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    int inkLeft = 120, inkRight = -1, inkTop = 40, inkBottom = -1, ink = 0;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 120; ++x) {
            if (canvas.At(x, y) >> 24 > 0x80) {
                ++ink;
                inkLeft = std::min(inkLeft, x);
                inkRight = std::max(inkRight, x);
                inkTop = std::min(inkTop, y);
                inkBottom = std::max(inkBottom, y);
            }
        }
    }
    EXPECT_GT(ink, 100);
    EXPECT_GE(inkLeft, 10);
    EXPECT_LT(inkRight, 110);
    EXPECT_NEAR((inkLeft + inkRight) / 2.0, 60, 3);
    EXPECT_NEAR((inkTop + inkBottom) / 2.0, 20, 4);
}

TEST(Text, ClippedToTheRectangleAndEllipsised) {
    FontCanvas canvas(200, 30, 14);
    SetBkMode(canvas.dc, TRANSPARENT);
    RECT r{0, 0, 60, 30};
    DrawTextW(canvas.dc, L"当前网络环境较差，请在网络通畅时进行重试", -1, &r,
              DT_SINGLELINE | DT_END_ELLIPSIS);
    for (int y = 0; y < 30; ++y) {
        for (int x = 60; x < 200; ++x) {
            ASSERT_EQ(canvas.At(x, y), 0u) << x << "," << y;
        }
    }
    RECT calc{0, 0, 60, 0};
    DrawTextW(canvas.dc, L"当前网络环境较差，请在网络通畅时进行重试", -1, &calc,
              DT_CALCRECT | DT_SINGLELINE | DT_END_ELLIPSIS);
    EXPECT_LE(calc.right, 60);
}
