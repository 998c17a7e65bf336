#include "platform/window/x11/X11Display.h"

namespace win32::core {

std::unique_ptr<DisplayBackend> CreateX11Display() {
    return nullptr;
}

}  // namespace win32::core
