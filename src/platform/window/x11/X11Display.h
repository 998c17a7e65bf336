// Real windows on an X server (Xlib with the Shape extension).
#pragma once

#include <memory>

#include "platform/window/DisplayBackend.h"

namespace win32::core {

// Null when no X server can be reached.
std::unique_ptr<DisplayBackend> CreateX11Display();

}  // namespace win32::core
