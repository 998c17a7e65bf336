// The registry under HKEY_CURRENT_USER, kept in one file under $XDG_CONFIG_HOME
// (default ~/.config) as "quillon/registry.ini". Every change is written to a temporary file
// and renamed over the store while a lock shared by all processes is held, so a crash never
// loses the store and two processes writing at once never lose each other's values.
// Only REG_SZ values are stored.
#pragma once

#include "platform/Types.h"

namespace win32 {

struct RegistryKey;
using HKEY = RegistryKey*;

extern const HKEY HKEY_CURRENT_USER;

using REGSAM = DWORD;
constexpr REGSAM KEY_READ = 0x20019;
constexpr REGSAM KEY_WRITE = 0x20006;
constexpr REGSAM KEY_ALL_ACCESS = 0xF003F;
constexpr DWORD REG_SZ = 1;
constexpr DWORD REG_OPTION_NON_VOLATILE = 0;

LONG RegCreateKeyExW(HKEY key, const wchar_t* subKey, DWORD reserved, wchar_t* className,
                     DWORD options, REGSAM access, void* securityAttributes, HKEY* result,
                     DWORD* disposition);
LONG RegOpenKeyExW(HKEY key, const wchar_t* subKey, DWORD options, REGSAM access, HKEY* result);
LONG RegCloseKey(HKEY key);

// data points at the text including its terminating zero; size is in bytes.
LONG RegSetValueExW(HKEY key, const wchar_t* valueName, DWORD reserved, DWORD type,
                    const BYTE* data, DWORD size);

// With data null, *size receives the bytes needed (terminating zero included);
// a buffer too small gives ERROR_MORE_DATA.
LONG RegQueryValueExW(HKEY key, const wchar_t* valueName, DWORD* reserved, DWORD* type, BYTE* data,
                      DWORD* size);

}  // namespace win32
