// Named mutexes, which only ever guard one instance of a program: the name is a lock file in
// $XDG_RUNTIME_DIR (or the temporary directory) held with flock, so the kernel releases it
// when the holder dies.
#pragma once

#include "platform/Handle.h"

namespace win32 {

struct SECURITY_ATTRIBUTES;

// When another handle (in this or another process) holds the name, the call still returns a
// handle, with the last error ERROR_ALREADY_EXISTS, as on Windows.
HANDLE CreateMutexW(SECURITY_ATTRIBUTES* attributes, BOOL initialOwner, const wchar_t* name);
BOOL ReleaseMutex(HANDLE mutex);

}  // namespace win32
