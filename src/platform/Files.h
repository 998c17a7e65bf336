// Files, folders and paths. Every path accepts "\\" and "/" alike; there are no drive
// letters, and the "drive" of a path is the mount point that holds it.
#pragma once

#include <cstdio>
#include <string>

#include "platform/Types.h"

namespace win32 {

constexpr DWORD INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF;
constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x1;
constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x10;
constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x80;

constexpr DWORD MOVEFILE_REPLACE_EXISTING = 0x1;
constexpr DWORD MOVEFILE_COPY_ALLOWED = 0x2;

// The file-system form of a path written the Windows way ("\\" becomes "/"), as UTF-8.
std::string NativePath(const std::wstring& path);
std::string NativePath(const char* ansiPath);

// Full path of the running executable (module null); truncated to size - 1 characters.
DWORD GetModuleFileNameW(HMODULE module, wchar_t* buffer, DWORD size);

DWORD GetFileAttributesW(const wchar_t* path);
BOOL PathFileExistsW(const wchar_t* path);
BOOL CreateDirectoryW(const wchar_t* path, void* securityAttributes);
BOOL RemoveDirectoryW(const wchar_t* path);
BOOL DeleteFileW(const wchar_t* path);
BOOL CopyFileW(const wchar_t* from, const wchar_t* to, BOOL failIfExists);
BOOL MoveFileExW(const wchar_t* from, const wchar_t* to, DWORD flags);

// Size in bytes, or -1 when the file cannot be examined.
LONGLONG GetFileSizeByPath(const wchar_t* path);

// The C library's fopen for a path in the ANSI code page, and for a wide path.
FILE* OpenFileA(const char* ansiPath, const char* mode);
FILE* _wfopen(const wchar_t* path, const wchar_t* mode);

// The user's own temporary directory, ending with a separator: $TMPDIR when set, else
// "/tmp/quillon-tmp-<uid>/", a folder only the user can enter; 0 when none can be had.
DWORD GetTempPathW(DWORD size, wchar_t* buffer);

// Free space of the mount point that holds the path.
BOOL GetDiskFreeSpaceExW(const wchar_t* path, ULARGE_INTEGER* freeBytesForCaller,
                         ULARGE_INTEGER* totalBytes, ULARGE_INTEGER* totalFreeBytes);

}  // namespace win32
