#pragma once

#include <string>
#include <vector>

#include "platform/Types.h"

namespace win32::core {

// Premultiplied 0xAARRGGBB pixels, rows top-down.
bool WritePng(const std::string& path, const std::vector<DWORD>& pixels, int width, int height);

}  // namespace win32::core
