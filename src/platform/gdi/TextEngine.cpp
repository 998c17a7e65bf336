// The text engine: one fontconfig configuration with the alias file, one pango context.
#include "platform/gdi/TextEngine.h"

#include <fontconfig/fontconfig.h>
#include <pango/pangofc-fontmap.h>

#include <cmath>

namespace win32 {

extern const char kFontAliases[];

namespace {

FcConfig* LoadFontConfig() {
    FcConfig* config = FcConfigCreate();
    if (config &&
        FcConfigParseAndLoadFromMemory(config, reinterpret_cast<const FcChar8*>(kFontAliases),
                                       FcTrue) &&
        FcConfigBuildFonts(config)) {
        return config;
    }
    if (config) {
        FcConfigDestroy(config);
    }
    // Without the alias the faces still resolve, through the system's defaults.
    return FcInitLoadConfigAndFonts();
}

PangoContext* CreateContext() {
    PangoFontMap* map = pango_cairo_font_map_new_for_font_type(CAIRO_FONT_TYPE_FT);
    FcConfig* config = LoadFontConfig();
    pango_fc_font_map_set_config(PANGO_FC_FONT_MAP(map), config);
    FcConfigDestroy(config);
    PangoContext* context = pango_font_map_create_context(map);
    g_object_unref(map);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
    pango_cairo_context_set_font_options(context, options);
    cairo_font_options_destroy(options);
    pango_cairo_context_set_resolution(context, 96.0);
    pango_context_set_language(context, pango_language_from_string("zh-cn"));
    return context;
}

int Ceil(int pangoUnits) {
    return (pangoUnits + PANGO_SCALE - 1) / PANGO_SCALE;
}

}  // namespace

std::mutex& TextLock() {
    static std::mutex lock;
    return lock;
}

PangoContext* TextContext() {
    static PangoContext* const context = CreateContext();
    return context;
}

PangoFontDescription* DescribeFont(const FontSpec& font) {
    PangoFontDescription* description = pango_font_description_new();
    std::string face = detail::WideToUtf8(font.face);
    pango_font_description_set_family(description, face.empty() ? "sans-serif" : face.c_str());
    int em = font.height < 0 ? -font.height : font.height;
    pango_font_description_set_absolute_size(description, (em == 0 ? 12 : em) * PANGO_SCALE);
    LONG weight = font.weight <= 0 ? FW_NORMAL : font.weight;
    pango_font_description_set_weight(description, static_cast<PangoWeight>(weight));
    pango_font_description_set_style(description,
                                     font.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    return description;
}

LineMetrics MeasureFont(const FontSpec& font) {
    PangoFontDescription* description = DescribeFont(font);
    PangoFontMetrics* metrics = pango_context_get_metrics(
        TextContext(), description, pango_context_get_language(TextContext()));
    LineMetrics out{};
    out.ascent = Ceil(pango_font_metrics_get_ascent(metrics));
    out.descent = Ceil(pango_font_metrics_get_descent(metrics));
    out.height = out.ascent + out.descent;
    out.averageWidth = Ceil(pango_font_metrics_get_approximate_char_width(metrics));
    out.em = pango_font_description_get_size(description) / PANGO_SCALE;
    out.maxWidth = std::max(out.em, out.averageWidth);
    pango_font_metrics_unref(metrics);
    pango_font_description_free(description);
    return out;
}

const FontSpec& SelectedFont(const DeviceContext& dc) {
    return (dc.font ? dc.font : DefaultGuiFont())->font;
}

}  // namespace win32

// Fontconfig and pango keep caches for the life of the process and lose some of them when a
// configuration is replaced; the leak checker of sanitizer builds would report those against
// every program that draws text. The runtime asks for this function at start; without the
// sanitizer nobody calls it.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n"
           "leak:libpango-1.0.so\n"
           "leak:libpangoft2-1.0.so\n"
           "leak:libpangocairo-1.0.so\n"
           "leak:libcairo.so\n"
           "leak:libharfbuzz.so\n";
}
