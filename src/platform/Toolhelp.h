// A snapshot of the running processes, read from /proc.
#pragma once

#include "platform/Handle.h"

namespace win32 {

constexpr DWORD TH32CS_SNAPPROCESS = 0x2;

struct PROCESSENTRY32W {
    DWORD dwSize;
    DWORD th32ProcessID;
    DWORD th32ParentProcessID;
    wchar_t szExeFile[MAX_PATH];  // file name of the executable, no folder
};

HANDLE CreateToolhelp32Snapshot(DWORD flags, DWORD processId);
BOOL Process32FirstW(HANDLE snapshot, PROCESSENTRY32W* entry);
BOOL Process32NextW(HANDLE snapshot, PROCESSENTRY32W* entry);

}  // namespace win32
