// Threads, which may be created suspended and are then resumed by their creator.
#pragma once

#include "platform/Handle.h"

namespace win32 {

struct SECURITY_ATTRIBUTES;

using LPTHREAD_START_ROUTINE = DWORD (*)(void* argument);
constexpr DWORD CREATE_SUSPENDED = 0x4;

// The thread exists, with its id, when the call returns, even when it is suspended.
// A handle is signalled once the routine has returned.
HANDLE CreateThread(SECURITY_ATTRIBUTES* attributes, std::size_t stackSize,
                    LPTHREAD_START_ROUTINE routine, void* argument, DWORD flags, DWORD* threadId);

// Returns the previous suspend count, or (DWORD)-1 when the handle is not a thread.
DWORD ResumeThread(HANDLE thread);

BOOL GetExitCodeThread(HANDLE thread, DWORD* exitCode);

// The name debuggers and the process listing show (at most 15 bytes of it on Linux).
void SetThreadName(HANDLE thread, const char* name);

void Sleep(DWORD milliseconds);

}  // namespace win32
