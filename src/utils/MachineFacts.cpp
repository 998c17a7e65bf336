#include "utils/MachineFacts.h"

#include "platform/Com.h"
#include "platform/Files.h"
#include "platform/Registry.h"
#include "platform/SystemInfo.h"
#include "utils/DebugTrace.h"

namespace Utils {

const wchar_t kProductRegistryKey[] = L"Software\\ZoRenSoft\\Quillon";

bool HardDiskManager::CheckFreeSpace(const wchar_t* folder) {
    win32::ULARGE_INTEGER forCaller{}, total{}, totalFree{};
    if (!win32::GetDiskFreeSpaceExW(folder, &forCaller, &total, &totalFree)) {
        UTILS_TRACE(L"HardDiskManager::CheckFreeSpace FAIL code=%ld\r\n", win32::GetLastError());
        return false;
    }
    freeBytesForCaller_ = forCaller.QuadPart;
    totalBytes_ = total.QuadPart;
    totalFreeBytes_ = totalFree.QuadPart;
    return true;
}

win32::DWORD CheckNetwork() {
    win32::INetworkListManager* manager = nullptr;
    if (win32::FAILED(win32::CoCreateInstance(win32::CLSID_NetworkListManager, nullptr,
                                              win32::CLSCTX_ALL, win32::IID_INetworkListManager,
                                              reinterpret_cast<void**>(&manager)))) {
        return 0;
    }
    win32::DWORD result = 0;
    win32::NLM_CONNECTIVITY flags = win32::NLM_CONNECTIVITY_DISCONNECTED;
    manager->GetConnectivity(&flags);
    const win32::DWORD low = static_cast<win32::DWORD>(flags) & 0xFFFF;
    if (low == 0) {
        UTILS_TRACE(L"GetConnectivity %d", static_cast<int>(flags));
        result = (kNetworkDisconnected << 16) | low;
    } else {
        win32::VARIANT_BOOL connected = win32::VARIANT_FALSE;
        manager->get_IsConnectedToInternet(&connected);
        if (connected == win32::VARIANT_FALSE) {
            UTILS_TRACE(L"get_IsConnectedToInternet:%d", static_cast<int>(connected));
            result = (kNetworkNoInternet << 16) | low;
        } else {
            result = (kNetworkOk << 16) | low;
        }
    }
    manager->Release();
    win32::CoFreeUnusedLibraries();
    return result;
}

std::wstring OSNameForVersion(win32::DWORD major, win32::DWORD minor, win32::DWORD build) {
    switch (major) {
        case 0:
        case 1:
        case 2:
        case 3:
        case 4:
            return L"XP-";
        case 5:
            switch (minor) {
                case 0:
                    return L"2K";
                case 1:
                    return L"XP";
                case 2:
                    return win32::GetSystemMetrics(win32::SM_SERVERR2) != 0 ? L"Server 2003 R2"
                                                                            : L"Server 2003";
                default:
                    return L"XP+";
            }
        case 6:
            switch (minor) {
                case 0:
                    return L"Vista";
                case 1:
                    return L"7";
                case 2:
                    return L"8";
                case 3:
                    return L"8.1";
                default:
                    return L"8.1+";
            }
        case 10:
            return minor == 0 ? L"10" : L"10+";
        default:
            return std::to_wstring(major) + L"." + std::to_wstring(minor) + L"." +
                   std::to_wstring(build);
    }
}

std::wstring GetOSName(std::wstring* family) {
    if (family != nullptr) {
        *family = L"Windows";
    }
    // ntdll is not looked up by name here: the platform answers directly.
    win32::DWORD major = 0, minor = 0, build = 0;
    win32::RtlGetNtVersionNumbers(&major, &minor, &build);
    return OSNameForVersion(major, minor, build & 0xFFFF);
}

bool Is64BitSystem() {
    win32::BOOL wow64 = win32::FALSE;
    if (win32::IsWow64Process(win32::GetCurrentProcess(), &wow64)) {
        return wow64 != win32::FALSE;
    }
    win32::SYSTEM_INFO info{};
    win32::GetNativeSystemInfo(&info);
    return info.wProcessorArchitecture == win32::PROCESSOR_ARCHITECTURE_AMD64 ||
           info.wProcessorArchitecture == win32::PROCESSOR_ARCHITECTURE_IA64;
}

std::wstring NewIdentifierText() {
    win32::GUID guid{};
    win32::CoCreateGuid(&guid);
    return WideFormat(L"%08X%04X%04x%02X%02X%02X%02X%02X%02X%02X%02X", guid.Data1, guid.Data2,
                      guid.Data3, guid.Data4[0], guid.Data4[1], guid.Data4[2], guid.Data4[3],
                      guid.Data4[4], guid.Data4[5], guid.Data4[6], guid.Data4[7]);
}

std::wstring GetActiveConsoleUserName() {
    wchar_t* name = nullptr;
    win32::DWORD bytes = 0;
    if (!win32::WTSQuerySessionInformationW(win32::WTS_CURRENT_SERVER_HANDLE,
                                            win32::WTSGetActiveConsoleSessionId(),
                                            win32::WTSUserName, &name, &bytes)) {
        return std::wstring();
    }
    std::wstring user = name;
    win32::WTSFreeMemory(name);
    return user;
}

bool IsAdministratorAccount(const std::wstring& userName) {
    win32::BYTE* buffer = nullptr;
    if (win32::NetUserGetInfo(nullptr, userName.c_str(), 1, &buffer) != win32::NERR_Success) {
        return false;
    }
    const bool admin =
        reinterpret_cast<win32::USER_INFO_1*>(buffer)->usri1_priv == win32::USER_PRIV_ADMIN;
    win32::NetApiBufferFree(buffer);
    return admin;
}

bool IsAdministratorToken() {
    win32::BOOL member = win32::FALSE;
    return win32::IsProcessTokenAdministrator(&member) && member != win32::FALSE;
}

bool WriteProductRegistryValue(const std::wstring& name, const std::wstring& text) {
    win32::HKEY key = nullptr;
    if (win32::RegCreateKeyExW(win32::HKEY_CURRENT_USER, kProductRegistryKey, 0, nullptr,
                               win32::REG_OPTION_NON_VOLATILE, win32::KEY_ALL_ACCESS, nullptr, &key,
                               nullptr) != win32::ERROR_SUCCESS) {
        return false;
    }
    const win32::LONG status = win32::RegSetValueExW(
        key, name.c_str(), 0, win32::REG_SZ, reinterpret_cast<const win32::BYTE*>(text.c_str()),
        static_cast<win32::DWORD>(text.size() * sizeof(wchar_t)));
    win32::RegCloseKey(key);
    return status == win32::ERROR_SUCCESS;
}

bool ReadProductRegistryValue(const std::wstring& name, std::wstring* text) {
    win32::HKEY key = nullptr;
    if (win32::RegOpenKeyExW(win32::HKEY_CURRENT_USER, kProductRegistryKey, 0, win32::KEY_READ,
                             &key) != win32::ERROR_SUCCESS) {
        return false;
    }
    win32::DWORD size = 0;
    bool ok = win32::RegQueryValueExW(key, name.c_str(), nullptr, nullptr, nullptr, &size) ==
              win32::ERROR_SUCCESS;
    if (ok) {
        std::wstring buffer(size / sizeof(wchar_t) + 1, L'\0');
        win32::DWORD bufferSize = static_cast<win32::DWORD>(buffer.size() * sizeof(wchar_t));
        ok = win32::RegQueryValueExW(key, name.c_str(), nullptr, nullptr,
                                     reinterpret_cast<win32::BYTE*>(buffer.data()),
                                     &bufferSize) == win32::ERROR_SUCCESS;
        if (ok && text != nullptr) {
            *text = buffer.c_str();
        }
    }
    win32::RegCloseKey(key);
    return ok;
}

}  // namespace Utils
