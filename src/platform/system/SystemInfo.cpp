#include "platform/SystemInfo.h"

#include <grp.h>
#include <pwd.h>
#include <sys/syscall.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "system/Utf8.h"

namespace win32 {

namespace {

std::atomic<SystemMetricsProvider> metricsProvider{nullptr};

std::string Machine() {
    utsname name;
    return ::uname(&name) == 0 ? name.machine : "";
}

std::string LoginNameOfConsole() {
    if (::geteuid() == 0) {
        if (const char* sudoUser = std::getenv("SUDO_USER"); sudoUser != nullptr && *sudoUser) {
            return sudoUser;
        }
        if (const char* pkexecUid = std::getenv("PKEXEC_UID"); pkexecUid != nullptr && *pkexecUid) {
            if (passwd* entry =
                    ::getpwuid(static_cast<uid_t>(std::strtoul(pkexecUid, nullptr, 10)))) {
                return entry->pw_name;
            }
        }
    }
    if (passwd* entry = ::getpwuid(::getuid())) {
        return entry->pw_name;
    }
    return std::string();
}

bool InAdministratorsGroup(const passwd& user) {
    int count = 64;
    std::vector<gid_t> groups(count);
    if (::getgrouplist(user.pw_name, user.pw_gid, groups.data(), &count) < 0) {
        groups.resize(count);
        ::getgrouplist(user.pw_name, user.pw_gid, groups.data(), &count);
    }
    groups.resize(count);
    for (gid_t gid : groups) {
        if (group* entry = ::getgrgid(gid)) {
            const std::string name = entry->gr_name;
            if (name == "sudo" || name == "wheel" || name == "admin") {
                return true;
            }
        }
    }
    return false;
}

// "zh_CN.UTF-8" -> language "zh", country "CN"; the C locale counts as en_US.
std::string LocaleName() {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') {
            return value;
        }
    }
    return "C";
}

}  // namespace

void RtlGetNtVersionNumbers(DWORD* major, DWORD* minor, DWORD* build) {
    unsigned long m = 10, n = 0, b = 19045;
    if (const char* version = std::getenv("QUILLON_WINVER")) {
        unsigned long a = 0, c = 0, d = 0;
        if (std::sscanf(version, "%lu.%lu.%lu", &a, &c, &d) == 3) {
            m = a;
            n = c;
            b = d;
        }
    }
    *major = static_cast<DWORD>(m);
    *minor = static_cast<DWORD>(n);
    *build = static_cast<DWORD>(b) | 0xF0000000u;
}

HANDLE GetCurrentProcess() {
    return reinterpret_cast<HANDLE>(-1);
}
DWORD GetCurrentProcessId() {
    return static_cast<DWORD>(::getpid());
}
DWORD GetCurrentThreadId() {
    return static_cast<DWORD>(::gettid());
}

BOOL IsWow64Process(HANDLE, BOOL* wow64) {
    if (wow64 == nullptr) {
        return FALSE;
    }
    *wow64 = Machine().find("64") != std::string::npos ? TRUE : FALSE;
    return TRUE;
}

void GetNativeSystemInfo(SYSTEM_INFO* info) {
    const std::string machine = Machine();
    info->wProcessorArchitecture = machine == "x86_64"    ? PROCESSOR_ARCHITECTURE_AMD64
                                   : machine == "aarch64" ? PROCESSOR_ARCHITECTURE_ARM64
                                   : machine == "ia64"    ? PROCESSOR_ARCHITECTURE_IA64
                                   : machine.compare(0, 3, "arm") == 0
                                       ? PROCESSOR_ARCHITECTURE_ARM
                                       : PROCESSOR_ARCHITECTURE_INTEL;
    const long processors = ::sysconf(_SC_NPROCESSORS_ONLN);
    info->dwNumberOfProcessors = processors > 0 ? static_cast<DWORD>(processors) : 1;
}

int GetSystemMetrics(int index) {
    if (index == SM_SERVERR2) {
        return 0;
    }
    SystemMetricsProvider provider = metricsProvider.load();
    return provider != nullptr ? provider(index) : 0;
}

void SetSystemMetricsProvider(SystemMetricsProvider provider) {
    metricsProvider.store(provider);
}

DWORD WTSGetActiveConsoleSessionId() {
    return 1;
}

BOOL WTSQuerySessionInformationW(DWORD, DWORD, WTS_INFO_CLASS info, wchar_t** buffer,
                                 DWORD* bytes) {
    const std::string name = LoginNameOfConsole();
    if (info != WTSUserName || buffer == nullptr || name.empty()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const std::wstring wide = detail::Utf8ToWide(name);
    *buffer = new wchar_t[wide.size() + 1];
    wide.copy(*buffer, wide.size());
    (*buffer)[wide.size()] = L'\0';
    if (bytes != nullptr) {
        *bytes = static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t));
    }
    return TRUE;
}

void WTSFreeMemory(void* memory) {
    delete[] static_cast<wchar_t*>(memory);
}

DWORD NetUserGetInfo(const wchar_t*, const wchar_t* userName, DWORD level, BYTE** buffer) {
    if (level != 1 || userName == nullptr || buffer == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    passwd* user = ::getpwnam(detail::WideToUtf8(userName).c_str());
    if (user == nullptr) {
        return NERR_UserNotFound;
    }
    const bool admin = user->pw_uid == 0 || InAdministratorsGroup(*user);
    *buffer = reinterpret_cast<BYTE*>(
        new USER_INFO_1{userName, admin ? USER_PRIV_ADMIN : USER_PRIV_USER});
    return NERR_Success;
}

DWORD NetApiBufferFree(void* buffer) {
    delete static_cast<USER_INFO_1*>(buffer);
    return NERR_Success;
}

BOOL IsProcessTokenAdministrator(BOOL* isMember) {
    if (isMember == nullptr) {
        return FALSE;
    }
    *isMember = ::geteuid() == 0 ? TRUE : FALSE;
    return TRUE;
}

std::wstring GetUserLanguage() {
    const std::string locale = LocaleName();
    if (locale == "C" || locale == "POSIX" || locale.compare(0, 2, "C.") == 0) {
        return L"en";
    }
    return detail::Utf8ToWide(locale.substr(0, locale.find_first_of("_.@")));
}

std::wstring GetUserCountry() {
    const std::string locale = LocaleName();
    const std::size_t underscore = locale.find('_');
    if (underscore == std::string::npos) {
        return L"US";
    }
    return detail::Utf8ToWide(
        locale.substr(underscore + 1, locale.find_first_of(".@", underscore) - underscore - 1));
}

}  // namespace win32
