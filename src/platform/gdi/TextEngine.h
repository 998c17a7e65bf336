// Pango and fontconfig behind the text functions. Private to the gdi library.
#pragma once

#include <mutex>
#include <string>

// Before pango: glib defines TRUE and FALSE as macros when they are not macros yet.
#include "platform/gdi/GdiObjects.h"
#include "platform/system/Utf8.h"

#include <pango/pangocairo.h>

namespace win32 {

// Pango's objects are not thread-safe; every use of the engine holds this lock.
std::mutex& TextLock();

// The shared context, with fontconfig configured through the project's alias file and fixed
// font options, so that measuring and drawing agree. Call with TextLock held.
PangoContext* TextContext();

struct LineMetrics {
    int ascent;
    int descent;
    int height;
    int averageWidth;
    int maxWidth;
    int em;
};

// Call with TextLock held; the caller frees the description.
PangoFontDescription* DescribeFont(const FontSpec& font);
LineMetrics MeasureFont(const FontSpec& font);

// The font selected into dc, or the default GUI font.
const FontSpec& SelectedFont(const DeviceContext& dc);

}  // namespace win32
