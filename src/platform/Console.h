// Whether a standard stream is a console a person reads, so that output drawn for the eye (a
// progress line redrawn in place) goes only there.
#pragma once

#include "platform/Types.h"

namespace win32 {

constexpr DWORD STD_INPUT_HANDLE = static_cast<DWORD>(-10);
constexpr DWORD STD_OUTPUT_HANDLE = static_cast<DWORD>(-11);
constexpr DWORD STD_ERROR_HANDLE = static_cast<DWORD>(-12);

// True when the stream named by a STD_*_HANDLE value is a character device other than the null
// device; false for files, pipes, a closed stream and any other value.
bool IsConsoleHandle(DWORD standardStream);

}  // namespace win32
