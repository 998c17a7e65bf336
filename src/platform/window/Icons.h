// Icons and cursors as the window core keeps them.
#pragma once

#include <vector>

#include "platform/Window.h"

struct win32::HICON__ {
    int width;
    int height;
    std::vector<win32::DWORD> pixels;  // premultiplied, rows top-down
};

namespace win32::core {

// The system cursors' handles are their IDC_ values; anything else is an icon.
bool IsSystemCursor(HCURSOR cursor);

}  // namespace win32::core
