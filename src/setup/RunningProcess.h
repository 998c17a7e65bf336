// Whether a program is running, by its executable file name.
#pragma once

#include <string>

#include "platform/Types.h"

// The id of the first running process whose executable file name is exactly name (no folder,
// case-sensitive); 0 when none is, or the process list cannot be read.
win32::DWORD FindProcessByName(const std::wstring& name);
