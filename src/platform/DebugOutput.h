// The debugger output channel. Lines go to the system log at debug level; with
// QUILLON_TRACE=stderr they also go to standard error, and with QUILLON_TRACE=<file>
// they are appended to that file.
#pragma once

namespace win32 {

void OutputDebugStringW(const wchar_t* text);

}  // namespace win32
