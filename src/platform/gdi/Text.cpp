// DrawText, ExtTextOut and text extents over pango. Lines are spaced by the font's height and
// placed on its ascent, as GDI places them, whichever fallback face shapes a character.
#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "platform/gdi/TextEngine.h"

namespace win32 {

namespace {

// Removes the mnemonic markers: "&&" is one ampersand, a single "&" disappears.
std::wstring StripPrefixes(const std::wstring& text) {
    std::wstring out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'&' && i + 1 < text.size()) {
            ++i;
        } else if (text[i] == L'&') {
            continue;
        }
        out += text[i];
    }
    return out;
}

std::wstring NormaliseBreaks(const std::wstring& text) {
    std::wstring out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\r') {
            if (i + 1 < text.size() && text[i + 1] == L'\n') {
                continue;
            }
            out += L'\n';
        } else {
            out += text[i];
        }
    }
    return out;
}

struct TextBlock {
    PangoLayout* layout = nullptr;
    LineMetrics metrics{};
    int lines = 0;
    int width = 0;  // widest line, pixels
    bool alignedByLayout = false;

    int Height() const { return lines * metrics.height; }
    ~TextBlock() {
        if (layout) {
            g_object_unref(layout);
        }
    }
};

// Call with TextLock held.
void Layout(TextBlock& block, const FontSpec& font, std::wstring text, UINT format,
            const RECT& rect) {
    if (!(format & DT_NOPREFIX)) {
        text = StripPrefixes(text);
    }
    bool single = format & DT_SINGLELINE;
    if (!single) {
        text = NormaliseBreaks(text);
    }
    std::string utf8 = detail::WideToUtf8(text);
    block.metrics = MeasureFont(font);
    block.layout = pango_layout_new(TextContext());
    PangoFontDescription* description = DescribeFont(font);
    pango_layout_set_font_description(block.layout, description);
    pango_font_description_free(description);
    if (font.underline) {
        PangoAttrList* attributes = pango_attr_list_new();
        pango_attr_list_insert(attributes, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
        pango_layout_set_attributes(block.layout, attributes);
        pango_attr_list_unref(attributes);
    }
    pango_layout_set_single_paragraph_mode(block.layout, single);
    pango_layout_set_text(block.layout, utf8.c_str(), static_cast<int>(utf8.size()));

    int width = std::max<LONG>(0, rect.right - rect.left);
    bool wrap = (format & DT_WORDBREAK) && !single;
    bool ellipsis = format & DT_END_ELLIPSIS;
    if (wrap || ellipsis) {
        pango_layout_set_width(block.layout, width * PANGO_SCALE);
        block.alignedByLayout = true;
    }
    if (wrap) {
        pango_layout_set_wrap(block.layout, PANGO_WRAP_WORD_CHAR);
    }
    if (ellipsis) {
        pango_layout_set_ellipsize(block.layout, PANGO_ELLIPSIZE_END);
        if (wrap) {
            int rows =
                std::max<LONG>(1, (rect.bottom - rect.top) / std::max(1, block.metrics.height));
            pango_layout_set_height(block.layout, -rows);
        }
    }
    PangoAlignment alignment = PANGO_ALIGN_LEFT;
    if (format & DT_CENTER) {
        alignment = PANGO_ALIGN_CENTER;
    } else if (format & DT_RIGHT) {
        alignment = PANGO_ALIGN_RIGHT;
    }
    pango_layout_set_alignment(block.layout, alignment);

    block.lines = pango_layout_get_line_count(block.layout);
    PangoRectangle logical;
    pango_layout_get_pixel_extents(block.layout, nullptr, &logical);
    block.width = logical.width;
}

// A cairo context on the device context's pixels. Bottom-up sections are drawn through a
// top-down copy, since cairo wants rows top-down.
class CairoTarget {
  public:
    explicit CairoTarget(const PixelSurface& surface) : surface_(surface) {
        unsigned char* data = reinterpret_cast<unsigned char*>(surface.pixels);
        int stride = surface.stride;
        if (stride < 0) {
            copy_.resize(static_cast<std::size_t>(surface.width) * surface.height);
            for (int y = 0; y < surface.height; ++y) {
                std::copy(surface.Row(y), surface.Row(y) + surface.width,
                          copy_.begin() + std::size_t(y) * surface.width);
            }
            data = reinterpret_cast<unsigned char*>(copy_.data());
            stride = surface.width * 4;
        }
        cairoSurface_ = cairo_image_surface_create_for_data(data, CAIRO_FORMAT_ARGB32,
                                                            surface.width, surface.height, stride);
        cr_ = cairo_create(cairoSurface_);
    }
    ~CairoTarget() {
        cairo_destroy(cr_);
        cairo_surface_flush(cairoSurface_);
        cairo_surface_destroy(cairoSurface_);
        if (!copy_.empty()) {
            for (int y = 0; y < surface_.height; ++y) {
                std::copy(copy_.begin() + std::size_t(y) * surface_.width,
                          copy_.begin() + std::size_t(y + 1) * surface_.width, surface_.Row(y));
            }
        }
    }
    CairoTarget(const CairoTarget&) = delete;
    CairoTarget& operator=(const CairoTarget&) = delete;

    cairo_t* Context() const { return cr_; }

    void Clip(const RectList& rects) {
        for (const RECT& r : rects) {
            cairo_rectangle(cr_, r.left, r.top, r.right - r.left, r.bottom - r.top);
        }
        cairo_clip(cr_);
    }

  private:
    PixelSurface surface_;
    std::vector<DWORD> copy_;
    cairo_surface_t* cairoSurface_ = nullptr;
    cairo_t* cr_ = nullptr;
};

// Draws the block's lines with their left edge at originX (plus the layout's own alignment)
// and the first line's top at originY.
void Render(const DeviceContext& dc, const TextBlock& block, int originX, int originY,
            const RectList& clip) {
    const PixelSurface* surface = dc.Surface();
    if (!surface || clip.empty()) {
        return;
    }
    CairoTarget target(*surface);
    target.Clip(clip);
    cairo_t* cr = target.Context();
    cairo_set_source_rgb(cr, GetRValue(dc.textColor) / 255.0, GetGValue(dc.textColor) / 255.0,
                         GetBValue(dc.textColor) / 255.0);
    PangoLayoutIter* iter = pango_layout_get_iter(block.layout);
    int index = 0;
    do {
        PangoRectangle logical;
        pango_layout_iter_get_line_extents(iter, nullptr, &logical);
        PangoLayoutLine* line = pango_layout_iter_get_line_readonly(iter);
        double x = originX + static_cast<double>(logical.x) / PANGO_SCALE;
        double y = originY + index * block.metrics.height + block.metrics.ascent;
        cairo_move_to(cr, x, y);
        pango_cairo_show_layout_line(cr, line);
        ++index;
    } while (pango_layout_iter_next_line(iter));
    pango_layout_iter_free(iter);
}

RECT SurfaceBounds() {
    return {INT_MIN / 2, INT_MIN / 2, INT_MAX / 2, INT_MAX / 2};
}

}  // namespace

int DrawTextW(HDC dc, const wchar_t* text, int length, RECT* rect, UINT format) {
    if (!dc || !text || !rect) {
        return 0;
    }
    std::wstring content = length < 0 ? std::wstring(text) : std::wstring(text, length);
    std::lock_guard<std::mutex> hold(TextLock());
    TextBlock block;
    Layout(block, SelectedFont(*dc), content, format, *rect);
    int height = block.Height();
    if (format & DT_CALCRECT) {
        rect->right = rect->left + block.width;
        rect->bottom = rect->top + height;
        return height;
    }
    int top = rect->top;
    if (format & DT_SINGLELINE) {
        if (format & DT_VCENTER) {
            top = rect->top + (rect->bottom - rect->top - height) / 2;
        } else if (format & DT_BOTTOM) {
            top = rect->bottom - height;
        }
    }
    int left = rect->left;
    int available = rect->right - rect->left;
    if (!block.alignedByLayout) {
        if (format & DT_CENTER) {
            left += (available - block.width) / 2;
        } else if (format & DT_RIGHT) {
            left += available - block.width;
        }
    }
    RECT bounds = (format & DT_NOCLIP) ? SurfaceBounds() : *rect;
    if (dc->bkMode == OPAQUE) {
        int blockWidth = block.alignedByLayout ? available : block.width;
        RECT back{left, top, left + blockWidth, top + height};
        RECT visible;
        if (IntersectRect(&visible, &back, &bounds)) {
            FillPixels(*dc, visible, OpaquePixel(dc->bkColor));
        }
    }
    Render(*dc, block, left, top, DrawableRects(*dc, bounds));
    return (format & (DT_VCENTER | DT_BOTTOM)) && (format & DT_SINGLELINE)
               ? top - rect->top + height
               : height;
}

BOOL ExtTextOutW(HDC dc, int x, int y, UINT options, const RECT* rect, const wchar_t* text,
                 UINT length, const int*) {
    if (!dc) {
        return FALSE;
    }
    if ((options & ETO_OPAQUE) && rect) {
        FillPixels(*dc, *rect, OpaquePixel(dc->bkColor));
    }
    if (!text || length == 0) {
        return TRUE;
    }
    std::lock_guard<std::mutex> hold(TextLock());
    TextBlock block;
    Layout(block, SelectedFont(*dc), std::wstring(text, length), DT_NOPREFIX | DT_SINGLELINE,
           {0, 0, 0, 0});
    RECT bounds = (options & ETO_CLIPPED) && rect ? *rect : SurfaceBounds();
    if (dc->bkMode == OPAQUE && !(options & ETO_OPAQUE)) {
        RECT back{x, y, x + block.width, y + block.Height()};
        RECT visible;
        if (IntersectRect(&visible, &back, &bounds)) {
            FillPixels(*dc, visible, OpaquePixel(dc->bkColor));
        }
    }
    Render(*dc, block, x, y, DrawableRects(*dc, bounds));
    return TRUE;
}

BOOL GetTextExtentPoint32W(HDC dc, const wchar_t* text, int length, SIZE* size) {
    if (!dc || !size || (!text && length > 0) || length < 0) {
        return FALSE;
    }
    std::lock_guard<std::mutex> hold(TextLock());
    TextBlock block;
    Layout(block, SelectedFont(*dc), std::wstring(text ? text : L"", length),
           DT_NOPREFIX | DT_SINGLELINE, {0, 0, 0, 0});
    size->cx = block.width;
    size->cy = block.metrics.height;
    return TRUE;
}

}  // namespace win32
