// Fonts and their metrics.
#include <hb.h>

#include <cwchar>

#include "platform/gdi/TextEngine.h"

namespace win32 {

namespace {

GdiObject* NewFont(const LOGFONTW& logFont) {
    auto* font = new GdiObject;
    font->type = OBJ_FONT;
    font->font.logFont = logFont;
    font->font.logFont.lfFaceName[LF_FACESIZE - 1] = L'\0';
    font->font.face = font->font.logFont.lfFaceName;
    font->font.height = logFont.lfHeight;
    font->font.weight = logFont.lfWeight;
    font->font.italic = logFont.lfItalic != 0;
    font->font.underline = logFont.lfUnderline != 0;
    return font;
}

}  // namespace

GdiObject* DefaultGuiFont() {
    // The layouts' face, so that text drawn before a layout font exists is still Chinese-ready.
    static GdiObject* const font = [] {
        LOGFONTW logFont{};
        logFont.lfHeight = -12;
        logFont.lfWeight = FW_NORMAL;
        logFont.lfCharSet = DEFAULT_CHARSET;
        std::wcsncpy(logFont.lfFaceName, L"微软雅黑", LF_FACESIZE - 1);
        GdiObject* object = NewFont(logFont);
        object->stock = true;
        return object;
    }();
    return font;
}

HFONT CreateFontIndirectW(const LOGFONTW* font) {
    if (!font) {
        return nullptr;
    }
    return NewFont(*font);
}

BOOL GetTextMetricsW(HDC dc, TEXTMETRICW* metrics) {
    if (!dc || !metrics) {
        return FALSE;
    }
    const FontSpec& font = SelectedFont(*dc);
    LineMetrics line;
    {
        std::lock_guard<std::mutex> hold(TextLock());
        line = MeasureFont(font);
    }
    *metrics = {};
    metrics->tmHeight = line.height;
    metrics->tmAscent = line.ascent;
    metrics->tmDescent = line.descent;
    metrics->tmInternalLeading = line.height > line.em ? line.height - line.em : 0;
    metrics->tmAveCharWidth = line.averageWidth;
    metrics->tmMaxCharWidth = line.maxWidth;
    metrics->tmWeight = font.weight <= 0 ? FW_NORMAL : font.weight;
    metrics->tmDigitizedAspectX = 96;
    metrics->tmDigitizedAspectY = 96;
    metrics->tmFirstChar = 0x20;
    metrics->tmLastChar = 0xFFFF;
    metrics->tmDefaultChar = L'?';
    metrics->tmBreakChar = L' ';
    metrics->tmItalic = font.italic ? 1 : 0;
    metrics->tmUnderlined = font.underline ? 1 : 0;
    metrics->tmCharSet = DEFAULT_CHARSET;
    return TRUE;
}

namespace {

// Call with TextLock held; the caller releases the font.
PangoFont* LoadFont(const FontSpec& spec) {
    PangoFontDescription* description = DescribeFont(spec);
    PangoFont* font = pango_context_load_font(TextContext(), description);
    pango_font_description_free(description);
    return font;
}

}  // namespace

int GetTextFaceW(HDC dc, int count, wchar_t* face) {
    if (!dc || !face || count <= 0) {
        return 0;
    }
    std::lock_guard<std::mutex> hold(TextLock());
    PangoFont* font = LoadFont(SelectedFont(*dc));
    if (!font) {
        return 0;
    }
    PangoFontDescription* description = pango_font_describe(font);
    const char* family = pango_font_description_get_family(description);
    std::wstring wide = detail::Utf8ToWide(family ? family : "");
    pango_font_description_free(description);
    g_object_unref(font);
    int copied = std::min<int>(count - 1, static_cast<int>(wide.size()));
    std::wmemcpy(face, wide.data(), copied);
    face[copied] = L'\0';
    return copied;
}

DWORD GetGlyphIndicesW(HDC dc, const wchar_t* text, int count, WORD* glyphs, DWORD flags) {
    if (!dc || !text || !glyphs || count < 0) {
        return 0xFFFFFFFF;
    }
    std::lock_guard<std::mutex> hold(TextLock());
    PangoFont* font = LoadFont(SelectedFont(*dc));
    hb_font_t* hbFont = font ? pango_font_get_hb_font(font) : nullptr;
    for (int i = 0; i < count; ++i) {
        hb_codepoint_t glyph = 0;
        bool present = hbFont && hb_font_get_nominal_glyph(
                                     hbFont, static_cast<hb_codepoint_t>(text[i]), &glyph);
        glyphs[i] =
            present ? static_cast<WORD>(glyph) : (flags & GGI_MARK_NONEXISTING_GLYPHS ? 0xFFFF : 0);
    }
    if (font) {
        g_object_unref(font);
    }
    return static_cast<DWORD>(count);
}

}  // namespace win32
