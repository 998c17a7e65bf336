// Facts about the system and the user.
//
// The version numbers are those of a Windows release, since the installer's routing and
// analytics speak of Windows versions: 10.0.19045 by default, another one with
// QUILLON_WINVER=MAJOR.MINOR.BUILD. The installer is a 32-bit program on a 64-bit system
// when the kernel is 64-bit, so IsWow64Process answers for the kernel.
#pragma once

#include <string>

#include "platform/Types.h"

namespace win32 {

// As ntdll's: the build number carries 0xF0000000 in its high bits, as on Windows.
void RtlGetNtVersionNumbers(DWORD* major, DWORD* minor, DWORD* build);

HANDLE GetCurrentProcess();
DWORD GetCurrentProcessId();
DWORD GetCurrentThreadId();

BOOL IsWow64Process(HANDLE process, BOOL* wow64);

constexpr WORD PROCESSOR_ARCHITECTURE_INTEL = 0;
constexpr WORD PROCESSOR_ARCHITECTURE_ARM = 5;
constexpr WORD PROCESSOR_ARCHITECTURE_IA64 = 6;
constexpr WORD PROCESSOR_ARCHITECTURE_AMD64 = 9;
constexpr WORD PROCESSOR_ARCHITECTURE_ARM64 = 12;
struct SYSTEM_INFO {
    WORD wProcessorArchitecture;
    DWORD dwNumberOfProcessors;
};
void GetNativeSystemInfo(SYSTEM_INFO* info);

constexpr int SM_SERVERR2 = 89;
// SM_SERVERR2 is answered here; every other metric (screen size and the like) belongs to the
// display, whose window core registers a provider at start. Without one they are 0.
int GetSystemMetrics(int index);
using SystemMetricsProvider = int (*)(int index);
void SetSystemMetricsProvider(SystemMetricsProvider provider);

// The console session's user: the user logged in at the seat (the one who ran sudo, or the
// owner of the login session), as a wide name; false when none can be found.
constexpr DWORD WTS_CURRENT_SERVER_HANDLE = 0;
enum WTS_INFO_CLASS { WTSUserName = 5 };
DWORD WTSGetActiveConsoleSessionId();
BOOL WTSQuerySessionInformationW(DWORD server, DWORD sessionId, WTS_INFO_CLASS info,
                                 wchar_t** buffer, DWORD* bytes);
void WTSFreeMemory(void* memory);

// An account is an administrator when it is root or a member of "sudo", "wheel" or "admin".
constexpr DWORD USER_PRIV_GUEST = 0;
constexpr DWORD USER_PRIV_USER = 1;
constexpr DWORD USER_PRIV_ADMIN = 2;
constexpr DWORD NERR_Success = 0;
constexpr DWORD NERR_UserNotFound = 2221;
struct USER_INFO_1 {
    std::wstring usri1_name;
    DWORD usri1_priv;
};
DWORD NetUserGetInfo(const wchar_t* server, const wchar_t* userName, DWORD level, BYTE** buffer);
DWORD NetApiBufferFree(void* buffer);

// The process's token is in the Administrators group exactly when it runs as root.
BOOL IsProcessTokenAdministrator(BOOL* isMember);

// The user's locale: ISO 639 language and ISO 3166 country ("zh", "CN").
std::wstring GetUserLanguage();
std::wstring GetUserCountry();

}  // namespace win32
