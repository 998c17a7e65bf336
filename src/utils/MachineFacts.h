// What the installer asks about the machine. Every fact is computed when asked.
#pragma once

#include <string>

#include "platform/Types.h"

namespace Utils {

class HardDiskManager {
  public:
    virtual ~HardDiskManager() = default;

    // Fills the three counts for the folder (or the mount point that holds it).
    bool CheckFreeSpace(const wchar_t* folder);

    win32::ULONGLONG FreeBytesAvailableToCaller() const { return freeBytesForCaller_; }
    win32::ULONGLONG TotalNumberOfBytes() const { return totalBytes_; }
    win32::ULONGLONG TotalNumberOfFreeBytes() const { return totalFreeBytes_; }

  private:
    win32::ULONGLONG freeBytesForCaller_ = 0;
    win32::ULONGLONG totalBytes_ = 0;
    win32::ULONGLONG totalFreeBytes_ = 0;
};

// Network verdict in the upper 16 bits of CheckNetwork's result.
constexpr win32::DWORD kNetworkOk = 0;
constexpr win32::DWORD kNetworkDisconnected = 1;
constexpr win32::DWORD kNetworkNoInternet = 2;

// Low 16 bits: the connectivity flags; high 16 bits: the verdict. The calling thread must
// have initialised COM.
win32::DWORD CheckNetwork();
inline win32::DWORD NetworkVerdict(win32::DWORD result) {
    return result >> 16;
}

// The short version word ("XP", "7", "10", ...) of the system's version numbers.
std::wstring GetOSName(std::wstring* family = nullptr);
std::wstring OSNameForVersion(win32::DWORD major, win32::DWORD minor, win32::DWORD build);

bool Is64BitSystem();

// 32 hexadecimal digits of a new GUID; the third group in lower case.
std::wstring NewIdentifierText();

// The user logged in at the console; empty when it cannot be read.
std::wstring GetActiveConsoleUserName();
bool IsAdministratorAccount(const std::wstring& userName);
bool IsAdministratorToken();

// Values of the product's key, HKEY_CURRENT_USER "Software\\ZoRenSoft\\Quillon".
extern const wchar_t kProductRegistryKey[];
bool WriteProductRegistryValue(const std::wstring& name, const std::wstring& text);
bool ReadProductRegistryValue(const std::wstring& name, std::wstring* text);

}  // namespace Utils
