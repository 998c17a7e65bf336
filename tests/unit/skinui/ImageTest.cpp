#include <gtest/gtest.h>

#include "SkinTestSupport.h"
#include "skinui/DrawInfo.h"
#include "skinui/RenderEngine.h"

using SkinUI::CRenderEngine;
using SkinUI::CWindowManagerUI;
using SkinUI::TDrawInfo;
using SkinUI::TImageData;

TEST(Image, PremultiplicationAndTheMaskRule) {
    SkinTest::TempFolder folder;
    // Straight RGBA: transparent red, white at alpha 127, opaque red, opaque blue.
    folder.WritePng("p.png", 4, 1, {0x00FF0000, 0x7FFFFFFF, 0xFFFF0000, 0xFF0000FF});
    folder.WritePng("opaque.png", 1, 1, {0xFF102030});
    SkinTest::UseLooseFiles(folder.Path().wstring());
    struct Case {
        const wchar_t* name;
        win32::DWORD mask;
        std::vector<win32::DWORD> pixels;
        bool alpha;
    };
    const Case cases[] = {
        {L"p.png", 0, {0x00000000, 0x7F7F7F7F, 0xFFFF0000, 0xFF0000FF}, true},
        {L"p.png", 0xFFFF0000, {0x00000000, 0x7F7F7F7F, 0x00000000, 0xFF0000FF}, true},
        // Six digits leave alpha 0: only an all-zero pixel could match, and it already is.
        {L"p.png", 0x00FF0000, {0x00000000, 0x7F7F7F7F, 0xFFFF0000, 0xFF0000FF}, true},
        {L"opaque.png", 0, {0xFF102030}, false},
        {L"opaque.png", 0xFF102030, {0x00000000}, true},
    };
    for (const Case& c : cases) {
        std::unique_ptr<TImageData> image = SkinUI::LoadImage(c.name, L"", c.mask);
        ASSERT_NE(image, nullptr);
        ASSERT_EQ(image->nX * image->nY, static_cast<int>(c.pixels.size()));
        for (std::size_t i = 0; i < c.pixels.size(); ++i) {
            EXPECT_EQ(image->pBits[i], c.pixels[i]) << "pixel " << i << " mask " << c.mask;
        }
        EXPECT_EQ(image->bAlpha, c.alpha) << c.mask;
    }
}

// The straightforward rule the loader's block conversion must agree with, pixel for pixel.
win32::DWORD ReferencePixel(win32::DWORD argb, win32::DWORD mask) {
    win32::DWORD a = argb >> 24;
    win32::DWORD pixel = a << 24;
    for (int shift : {16, 8, 0}) {
        pixel |= (argb >> shift & 0xFF) * a / 255 << shift;
    }
    return pixel == mask ? 0 : pixel;
}

TEST(Image, ConvertingRunsOfPixelsMatchesThePerPixelRule) {
    auto rgbaOf = [](const std::vector<win32::DWORD>& argb) {
        std::vector<unsigned char> rgba;
        for (win32::DWORD p : argb) {
            rgba.insert(rgba.end(),
                        {static_cast<unsigned char>(p >> 16), static_cast<unsigned char>(p >> 8),
                         static_cast<unsigned char>(p), static_cast<unsigned char>(p >> 24)});
        }
        return rgba;
    };
    // Every channel value at every alpha, then a few pixels past the last full block.
    std::vector<win32::DWORD> every;
    for (win32::DWORD a = 0; a < 256; ++a) {
        for (win32::DWORD c = 0; c < 256; ++c) {
            every.push_back(a << 24 | c << 16 | (255 - c) << 8 | c / 3);
        }
    }
    every.insert(every.end(), {0x80FFFFFF, 0xFF102030, 0x00FFFFFF});
    std::vector<win32::DWORD> opaque(40, 0xFF336699);
    std::vector<win32::DWORD> clear(40, 0x00336699);
    std::vector<win32::DWORD> mixed;
    for (win32::DWORD i = 0; i < 52; ++i) {
        mixed.push_back((i * 5) << 24 | 0xFF8040);
    }
    std::vector<win32::DWORD> oneMasked = opaque;
    oneMasked[21] = 0xFFFF0000;
    struct Case {
        const char* what;
        const std::vector<win32::DWORD>& argb;
        win32::DWORD mask;
        bool alpha;
    };
    const Case cases[] = {
        {"every value", every, 0, true},
        {"every value, a translucent pixel masked", every,
         ReferencePixel(every[0x80 * 256 + 0x40], 1), true},
        {"alpha changing within blocks", mixed, ReferencePixel(mixed[20], 1), true},
        {"opaque blocks", opaque, 0, false},
        {"opaque blocks, one pixel masked", oneMasked, 0xFFFF0000, true},
        {"transparent blocks", clear, 0, true},
    };
    for (const Case& c : cases) {
        std::vector<unsigned char> rgba = rgbaOf(c.argb);
        int width = static_cast<int>(c.argb.size());
        std::unique_ptr<TImageData> image = SkinUI::ImageFromRgba(rgba.data(), width, 1, c.mask);
        ASSERT_NE(image, nullptr) << c.what;
        int wrong = 0;
        for (int i = 0; i < width && wrong < 5; ++i) {
            win32::DWORD expected = ReferencePixel(c.argb[i], c.mask);
            if (image->pBits[i] != expected) {
                ++wrong;
                ADD_FAILURE() << c.what << ": pixel " << i << " is " << std::hex << image->pBits[i]
                              << ", not " << expected;
            }
        }
        EXPECT_EQ(image->bAlpha, c.alpha) << c.what;
    }
}

TEST(Image, ColoursResourcesAndFailures) {
    std::unique_ptr<TImageData> color = SkinUI::LoadImage(L"#80FF0000", L"*COLOR*", 0);
    ASSERT_NE(color, nullptr);
    EXPECT_EQ(color->pBits[0], 0x80800000u);
    SkinTest::UseEmbeddedSkin();
    EXPECT_NE(SkinUI::LoadImage(L"res\\mainWnd\\Cb1.png", L"", 0), nullptr);
    EXPECT_EQ(SkinUI::LoadImage(L"res\\mainWnd\\installPrg3.png", L"", 0), nullptr);
    EXPECT_EQ(SkinUI::LoadImage(L"mainWnd.xml", L"", 0), nullptr) << "not an image";
    EXPECT_EQ(SkinUI::LoadImage(L"147", L"NOSUCHTYPE", 0), nullptr);
}

TEST(Image, TheCacheKeysOnTheNameAsWritten) {
    SkinTest::UseEmbeddedSkin();
    CWindowManagerUI manager;
    const TImageData* back = manager.GetImageEx(L"res\\mainWnd\\Cb1.png", L"", 0);
    const TImageData* forward = manager.GetImageEx(L"res/mainWnd/Cb1.png", L"", 0);
    ASSERT_NE(back, nullptr);
    ASSERT_NE(forward, nullptr);
    EXPECT_NE(back, forward);
    EXPECT_EQ(manager.GetImageEx(L"res\\mainWnd\\Cb1.png", L"", 0), back);
    EXPECT_EQ(back->nX, 15);
    EXPECT_EQ(back->nY, 14);
    EXPECT_EQ(manager.GetImage(L"res\\mainWnd\\missing.png"), nullptr);
}

TEST(Image, AMissingImageIsTriedOnceAndDrawsNothing) {
    SkinTest::TempFolder folder;
    SkinTest::UseLooseFiles(folder.Path().wstring());
    CWindowManagerUI manager;
    std::vector<win32::DWORD> pixels(16, 0);
    win32::HDC dc = win32::CreateDCForPixels(pixels.data(), 4, 4, 16);
    TDrawInfo info(L"file='late.png' fade='200'");
    win32::RECT all{0, 0, 4, 4};
    EXPECT_FALSE(CRenderEngine::DrawImageInfo(dc, &manager, all, all, info));
    EXPECT_TRUE(info.bLoaded);
    folder.WritePng("late.png", 1, 1, {0xFFFFFFFF});
    EXPECT_FALSE(CRenderEngine::DrawImageInfo(dc, &manager, all, all, info));
    for (win32::DWORD p : pixels) {
        EXPECT_EQ(p, 0u);
    }
    // A new description tries again.
    info.Clear();
    info.sDrawString = L"late.png";
    EXPECT_TRUE(CRenderEngine::DrawImageInfo(dc, &manager, all, all, info));
    EXPECT_EQ(pixels[5], 0xFFFFFFFFu);
    win32::DeleteDC(dc);
}

TEST(Image, DescriptionParsing) {
    struct Case {
        const wchar_t* text;
        const wchar_t* name;
        const wchar_t* type;
        win32::RECT dest;
        win32::BYTE fade;
        bool hole;
    };
    const Case cases[] = {
        {L"res\\a.png", L"res\\a.png", L"", {0, 0, 0, 0}, 255, false},
        {L"file='a.png' dest='0,3,15,17' fade='100' hole='true'",
         L"a.png",
         L"",
         {0, 3, 15, 17},
         100,
         true},
        {L"file='a.png'  fade='100'", L"a.png", L"", {0, 0, 0, 0}, 100, false},
        {L"file='a.png'fade='100'", L"a.png", L"", {0, 0, 0, 0}, 255, false},
        {L"file='a.png' hole='True'", L"a.png", L"", {0, 0, 0, 0}, 255, false},
        {L"res='7' restype='PNG'", L"7", L"PNG", {0, 0, 0, 0}, 255, false},
        {L"file='a.png' restype='PNG'", L"a.png", L"", {0, 0, 0, 0}, 255, false},
        {L"color='#FF00FF00'", L"#FF00FF00", L"*COLOR*", {0, 0, 0, 0}, 255, false},
        {L"file='unclosed", L"file='unclosed", L"", {0, 0, 0, 0}, 255, false},
    };
    for (const Case& c : cases) {
        TDrawInfo info(c.text);
        info.Parse();
        std::string what(c.text, c.text + std::wcslen(c.text));
        EXPECT_EQ(info.sImageName, c.name) << what;
        EXPECT_EQ(info.sResType, c.type) << what;
        EXPECT_TRUE(win32::EqualRect(&info.rcDest, &c.dest)) << what;
        EXPECT_EQ(info.uFade, c.fade) << what;
        EXPECT_EQ(info.bHole, c.hole) << what;
    }
    TDrawInfo masked(L"file='x' corner='2,2,2,2' mask='#FF0000' xtiled='true'");
    masked.Parse();
    EXPECT_EQ(masked.dwMask, 0x00FF0000u);
    EXPECT_EQ(masked.rcCorner.right, 2);
    EXPECT_TRUE(masked.bTiledX);
}
