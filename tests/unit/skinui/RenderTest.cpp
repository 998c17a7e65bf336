#include <gtest/gtest.h>

#include <stb_image.h>

#include <cstdlib>
#include <string>

#include "SkinTestSupport.h"
#include "skinui/RenderClip.h"
#include "skinui/RenderEngine.h"

using SkinUI::CRenderEngine;
using SkinUI::CWindowManagerUI;
using SkinUI::TDrawInfo;
using win32::DWORD;
using win32::RECT;

namespace {

struct Surface {
    int width;
    int height;
    std::vector<DWORD> pixels;
    win32::HDC dc;
    Surface(int w, int h, DWORD fill = 0)
        : width(w),
          height(h),
          pixels(static_cast<std::size_t>(w) * h, fill),
          dc(win32::CreateDCForPixels(pixels.data(), w, h, w * 4)) {}
    ~Surface() { win32::DeleteDC(dc); }
    DWORD At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    RECT All() const { return {0, 0, width, height}; }
};

bool Draw(Surface& s, CWindowManagerUI& manager, const wchar_t* description, RECT item) {
    TDrawInfo info(description);
    return CRenderEngine::DrawImageInfo(s.dc, &manager, item, s.All(), info);
}

// A 6 x 6 image: a 2-pixel frame of translucent blue around a 2 x 2 opaque red centre.
void WriteFramedImage(const SkinTest::TempFolder& folder) {
    std::vector<unsigned> pixels;
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 6; ++x) {
            bool centre = x >= 2 && x < 4 && y >= 2 && y < 4;
            pixels.push_back(centre ? 0xFFFF0000 : 0x800000FF);
        }
    }
    folder.WritePng("framed.png", 6, 6, pixels);
    folder.WritePng("stripe.png", 4, 1, {0xFF000001, 0xFF000002, 0xFF000003, 0xFF000004});
}

int Count(const Surface& s, DWORD value) {
    int n = 0;
    for (DWORD p : s.pixels) {
        n += p == value;
    }
    return n;
}

}  // namespace

TEST(NineGrid, TheProgressTrackKeepsItsCornersAt100By8) {
    SkinTest::UseEmbeddedSkin();
    CWindowManagerUI manager;
    const SkinUI::TImageData* image = manager.GetImageEx(L"res\\mainWnd\\installPrg1.png", L"", 0);
    ASSERT_NE(image, nullptr);
    ASSERT_EQ(image->nX, 520);
    ASSERT_EQ(image->nY, 8);
    Surface s(100, 8);
    ASSERT_TRUE(Draw(s, manager,
                     L"file='res\\mainWnd\\installPrg1.png' corner='2,2,2,2' mask='#FF0000' "
                     L"fade='255' hole='false' xtiled='false' ytiled='false'",
                     s.All()));
    for (int y : {0, 1, 6, 7}) {
        for (int x : {0, 1}) {
            EXPECT_EQ(s.At(x, y), image->pBits[y * 520 + x]) << x << "," << y;
            EXPECT_EQ(s.At(98 + x, y), image->pBits[y * 520 + 518 + x]) << x << "," << y;
        }
    }
    EXPECT_EQ(s.At(50, 4), image->pBits[4 * 520 + 260]);
    EXPECT_LT(s.At(0, 0) >> 24, 0xFFu) << "the rounded corner is translucent";
}

TEST(NineGrid, PiecesHoleTilingAndFade) {
    SkinTest::TempFolder folder;
    WriteFramedImage(folder);
    SkinTest::UseLooseFiles(folder.Path().wstring());
    CWindowManagerUI manager;
    const DWORD red = 0xFFFF0000;
    const DWORD blue = 0x80000080;  // premultiplied

    Surface wide(10, 6);
    ASSERT_TRUE(Draw(wide, manager, L"file='framed.png' corner='2,2,2,2'", wide.All()));
    EXPECT_EQ(Count(wide, red), 6 * 2) << "the centre stretched to 6 x 2";
    EXPECT_EQ(wide.At(0, 0), blue);
    EXPECT_EQ(wide.At(9, 5), blue);
    EXPECT_EQ(wide.At(2, 2), red);
    EXPECT_EQ(wide.At(7, 3), red);

    // At a width of 3 the centre has a negative width: no red at all, the corners still draw.
    Surface narrow(3, 6);
    ASSERT_TRUE(Draw(narrow, manager, L"file='framed.png' corner='2,2,2,2'", narrow.All()));
    EXPECT_EQ(Count(narrow, red), 0);
    EXPECT_EQ(narrow.At(0, 0), blue);
    EXPECT_NE(narrow.At(2, 5), 0u);

    Surface hole(10, 6);
    ASSERT_TRUE(Draw(hole, manager, L"file='framed.png' corner='2,2,2,2' hole='true'", hole.All()));
    EXPECT_EQ(Count(hole, red), 0);
    EXPECT_EQ(Count(hole, 0), 6 * 2);

    Surface faded(6, 6);
    ASSERT_TRUE(Draw(faded, manager, L"file='framed.png' fade='128'", faded.All()));
    EXPECT_EQ(faded.At(2, 2), 0x80800000u);

    // Tiling lays copies of the centre from the left, cut at the end; opaque and blended alike.
    for (const wchar_t* description :
         {L"file='stripe.png' xtiled='true'", L"file='stripe.png' xtiled='true' fade='254'"}) {
        Surface tiled(10, 2);
        ASSERT_TRUE(Draw(tiled, manager, description, tiled.All()));
        for (int x = 0; x < 10; ++x) {
            EXPECT_EQ(tiled.At(x, 1) & 0xFF, static_cast<DWORD>(x % 4 + 1) * (x >= 0))
                << x << " " << (description[25] ? "blended" : "opaque");
        }
    }
}

TEST(NineGrid, TheCheckBoxImageLandsAtItsDest) {
    SkinTest::UseEmbeddedSkin();
    CWindowManagerUI manager;
    const SkinUI::TImageData* image = manager.GetImageEx(L"res\\mainWnd\\Cb1.png", L"", 0);
    ASSERT_NE(image, nullptr);
    Surface s(100, 50, 0xFF123456);
    ASSERT_TRUE(
        Draw(s, manager, L"file='res\\mainWnd\\Cb1.png' dest='0,3,15,17'", {10, 20, 78, 38}));
    for (int y = 0; y < 50; ++y) {
        for (int x = 0; x < 100; ++x) {
            bool inside = x >= 10 && x < 25 && y >= 23 && y < 37;
            if (!inside) {
                ASSERT_EQ(s.At(x, y), 0xFF123456u) << x << "," << y;
            }
        }
    }
    EXPECT_NE(s.At(17, 30), 0xFF123456u);
}

TEST(Colour, FillsAndClips) {
    Surface s(4, 4, 0xFF000000);
    CRenderEngine::DrawColor(s.dc, s.All(), 0x00FFFFFF);
    EXPECT_EQ(Count(s, 0xFF000000), 16) << "alpha 0 draws nothing";
    CRenderEngine::DrawColor(s.dc, {0, 0, 2, 2}, 0x26003B76);
    EXPECT_EQ(s.At(0, 0), 0xFF003B76u) << "channels taken as premultiplied";
    CRenderEngine::DrawColor(s.dc, {2, 2, 4, 4}, 0xFF00FF00);
    EXPECT_EQ(s.At(3, 3), 0xFF00FF00u);
    {
        SkinUI::CRenderClip clip;
        SkinUI::CRenderClip::GenerateRoundClip(s.dc, s.All(), s.All(), 4, 4, clip);
        CRenderEngine::DrawColor(s.dc, s.All(), 0xFFFFFFFF);
        EXPECT_EQ(s.At(0, 0), 0xFF003B76u) << "the rounded corner is outside the clip";
        EXPECT_EQ(s.At(1, 1), 0xFFFFFFFFu);
    }
    CRenderEngine::DrawColor(s.dc, s.All(), 0xFF0000FF);
    EXPECT_EQ(s.At(0, 0), 0xFF0000FFu) << "the clip is restored";
}

TEST(Text, ManagerFontsMeasureAndDrawChinese) {
    CWindowManagerUI manager;
    ASSERT_NE(manager.AddFont(1, L"微软雅黑", 18, false, false, false, false), nullptr);
    const SkinUI::TFontData* font = manager.GetFontInfo(1);
    ASSERT_NE(font, nullptr);
    EXPECT_GE(font->tm.tmHeight, 18);
    EXPECT_EQ(manager.GetFontInfo(42), manager.GetDefaultFontInfo());
    Surface s(200, 40);
    RECT calc{0, 0, 200, 40};
    CRenderEngine::DrawText(s.dc, &manager, calc, L"正在安装中:0%", 0xFF282A43, 1,
                            win32::DT_CALCRECT | win32::DT_SINGLELINE);
    EXPECT_EQ(calc.bottom, font->tm.tmHeight);
    RECT r = s.All();
    CRenderEngine::DrawText(s.dc, &manager, r, L"正在安装中:0%", 0xFF282A43, 1,
                            win32::DT_CENTER | win32::DT_VCENTER | win32::DT_SINGLELINE);
    EXPECT_GT(static_cast<int>(s.pixels.size()) - Count(s, 0), 200);
}

namespace {

// Compares the surface with the recorded picture (rewritten when QUILLON_UPDATE_GOLDEN is set).
// Anti-aliased text may differ slightly between font library versions, hence the tolerance.
void ExpectGolden(const Surface& s, const std::string& name) {
    std::string golden = std::string(SKINUI_GOLDEN_DIR) + "/" + name;
    if (std::getenv("QUILLON_UPDATE_GOLDEN")) {
        std::vector<unsigned char> rgba;
        for (DWORD p : s.pixels) {
            rgba.insert(rgba.end(),
                        {static_cast<unsigned char>(p >> 16), static_cast<unsigned char>(p >> 8),
                         static_cast<unsigned char>(p), 255});
        }
        stbi_write_png(golden.c_str(), s.width, s.height, 4, rgba.data(), s.width * 4);
    }
    int w = 0, h = 0, n = 0;
    unsigned char* expected = stbi_load(golden.c_str(), &w, &h, &n, 4);
    ASSERT_NE(expected, nullptr) << golden;
    ASSERT_EQ(w, s.width);
    ASSERT_EQ(h, s.height);
    int far = 0;
    for (int i = 0; i < w * h; ++i) {
        DWORD p = s.pixels[i];
        int channels[3] = {static_cast<int>(p >> 16 & 0xFF), static_cast<int>(p >> 8 & 0xFF),
                           static_cast<int>(p & 0xFF)};
        for (int c = 0; c < 3; ++c) {
            far += std::abs(channels[c] - expected[i * 4 + c]) > 24;
        }
    }
    stbi_image_free(expected);
    EXPECT_LT(far, w * h * 3 / 100) << name;
}

}  // namespace

TEST(Golden, TheInstallingPageWidgetsDrawAsRecorded) {
    SkinTest::UseEmbeddedSkin();
    CWindowManagerUI manager;
    manager.AddFont(1, L"微软雅黑", 18, false, false, false, false);
    Surface s(260, 70, 0xFFFFFFFF);
    RECT label{0, 0, 260, 30};
    CRenderEngine::DrawText(s.dc, &manager, label, L"正在安装中:60%，请稍候...", 0xFF282A43, 1,
                            win32::DT_CENTER | win32::DT_VCENTER | win32::DT_SINGLELINE);
    const wchar_t* track = L"file='res\\mainWnd\\installPrg1.png' corner='2,2,2,2' mask='#FF0000'";
    const wchar_t* fill = L"file='res\\mainWnd\\installPrg2.png' corner='2,2,2,2' mask='#FF0000'";
    ASSERT_TRUE(Draw(s, manager, track, {10, 36, 250, 44}));
    ASSERT_TRUE(Draw(s, manager, fill, {10, 36, 154, 44}));
    ASSERT_TRUE(
        Draw(s, manager, L"file='res\\mainWnd\\Cb2.png' dest='0,3,15,17'", {10, 50, 78, 68}));
    ExpectGolden(s, "installing.png");
}

TEST(Golden, TheExitTipBodyDrawsAsRecorded) {
    SkinTest::UseEmbeddedSkin();
    CWindowManagerUI manager;
    manager.AddFont(0, L"微软雅黑", 14, false, false, false, false);
    manager.AddFont(1, L"微软雅黑", 16, false, false, false, false);
    Surface s(360, 110, 0xFFFFFFFF);
    CRenderEngine::DrawColor(s.dc, {0, 0, 360, 40}, 0xFFF3F5F9);
    RECT title{20, 0, 336, 40};
    CRenderEngine::DrawText(s.dc, &manager, title, L"温馨提示", 0xFF282A43, 0,
                            win32::DT_VCENTER | win32::DT_SINGLELINE);
    ASSERT_TRUE(Draw(s, manager, L"res\\MessageBoxWnd\\icoQuest.png", {34, 50, 74, 90}));
    RECT question{94, 50, 254, 90};
    CRenderEngine::DrawText(s.dc, &manager, question, L"您确定要退出安装吗？", 0xFF555C78, 1,
                            win32::DT_VCENTER | win32::DT_SINGLELINE);
    // The outlined and the filled dialog buttons.
    RECT yes{188, 74, 264, 106};
    CRenderEngine::DrawRoundRect(s.dc, yes, 1, 1, 2, 0xFF1890FF);
    CRenderEngine::DrawText(s.dc, &manager, yes, L"是", 0xFF1890FF, 0,
                            win32::DT_CENTER | win32::DT_VCENTER | win32::DT_SINGLELINE);
    RECT no{284, 74, 360, 106};
    {
        SkinUI::CRenderClip clip;
        SkinUI::CRenderClip::GenerateRoundClip(s.dc, no, no, 1, 2, clip);
        CRenderEngine::DrawColor(s.dc, no, 0xFF1675FE);
    }
    CRenderEngine::DrawText(s.dc, &manager, no, L"否", 0xFFFFFFFF, 0,
                            win32::DT_CENTER | win32::DT_VCENTER | win32::DT_SINGLELINE);
    ExpectGolden(s, "exit-tip.png");
}
