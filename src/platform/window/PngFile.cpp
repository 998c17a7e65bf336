#include "platform/window/PngFile.h"

#include <cairo.h>

namespace win32::core {

bool WritePng(const std::string& path, const std::vector<DWORD>& pixels, int width, int height) {
    if (width <= 0 || height <= 0 ||
        pixels.size() < static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
        return false;
    }
    // cairo's ARGB32 is the same premultiplied word per pixel; it only reads the data.
    cairo_surface_t* surface = cairo_image_surface_create_for_data(
        reinterpret_cast<unsigned char*>(const_cast<DWORD*>(pixels.data())), CAIRO_FORMAT_ARGB32,
        width, height, width * 4);
    cairo_status_t status = cairo_surface_write_to_png(surface, path.c_str());
    cairo_surface_destroy(surface);
    return status == CAIRO_STATUS_SUCCESS;
}

}  // namespace win32::core
