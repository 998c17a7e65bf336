// Kernel object handles: pipes, processes, threads and mutexes share one handle type,
// closed with CloseHandle and waited for with WaitForSingleObject.
#pragma once

#include "platform/Types.h"

namespace win32 {

constexpr DWORD WAIT_OBJECT_0 = 0;
constexpr DWORD WAIT_TIMEOUT = 258;
constexpr DWORD WAIT_FAILED = 0xFFFFFFFF;

constexpr DWORD HANDLE_FLAG_INHERIT = 0x1;
inline HANDLE const INVALID_HANDLE_VALUE = reinterpret_cast<HANDLE>(-1);

BOOL CloseHandle(HANDLE handle);

// Processes and threads are signalled when they end; other handles cannot be waited for.
DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds);

BOOL SetHandleInformation(HANDLE handle, DWORD mask, DWORD flags);

}  // namespace win32
