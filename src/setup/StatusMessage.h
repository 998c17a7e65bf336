// The record a setup status travels in from a reporting thread to the main window, and the
// message that carries it. The window owns the record once posted and deletes it.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Types.h"

// The window core defines the same number; the setup must not depend on the window core.
constexpr win32::UINT kSetupWmUser = 0x0400;
constexpr win32::UINT WM_SETUP_STATUS = kSetupWmUser + 1000;  // wParam 0, lParam StatusMessage*

struct StatusMessage {
    std::int32_t code;
    double value;
    std::wstring text;
};
