#include "setup/InstallationRecord.h"

#include <clocale>
#include <cstdlib>
#include <filesystem>

#include "platform/Files.h"
#include "platform/Ini.h"
#include "platform/Shell.h"
#include "platform/Time.h"
#include "utils/DebugTrace.h"
#include "utils/MachineFacts.h"
#include "utils/TextConversion.h"

namespace {

constexpr wchar_t kProductFolderName[] = L"Quillon";

std::wstring WithFolder(const std::wstring& base, const std::wstring& name) {
    if (!base.empty() && (base.back() == L'\\' || base.back() == L'/')) {
        return base + name;
    }
    return base + L"\\" + name;
}

std::wstring EnvironmentFolder(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? Utils::FromUtf8(value) : std::wstring();
}

std::wstring KnownFolder(int csidl) {
    wchar_t path[win32::MAX_PATH] = {};
    return win32::SUCCEEDED(win32::SHGetFolderPathW(nullptr, csidl, nullptr, 0, path))
               ? std::wstring(path)
               : std::wstring();
}

// One program folder serves both word sizes here, so the 32-bit one is the program folder.
std::wstring DefaultBaseFolder(const AccountFacts& facts) {
    const std::wstring appData = EnvironmentFolder("APPDATA");
    if (facts.adminAct && facts.authorizationAct && !appData.empty()) {
        return WithFolder(appData, L"zoren");
    }
    return KnownFolder(win32::CSIDL_PROGRAM_FILES);
}

std::wstring FileNameOf(const std::wstring& path) {
    const std::size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? path : path.substr(separator + 1);
}

std::wstring RunningInstallerFileName() {
    wchar_t path[win32::MAX_PATH] = {};
    win32::GetModuleFileNameW(nullptr, path, win32::MAX_PATH);
    return FileNameOf(path);
}

std::wstring LocalTimeText() {
    win32::SYSTEMTIME now{};
    win32::GetLocalTime(&now);
    return Utils::WideFormat(L"%d-%02d-%02d %02d:%02d:%02d", now.wYear, now.wMonth, now.wDay,
                             now.wHour, now.wMinute, now.wSecond);
}

}  // namespace

ExistingInstallation FindExistingInstallation() {
    ExistingInstallation existing;
    Utils::ReadProductRegistryValue(L"InstallPath", &existing.installPath);
    Utils::ReadProductRegistryValue(L"UnInstallEp", &existing.uninstallEp);
    if (existing.uninstallEp.empty() && !existing.installPath.empty()) {
        existing.uninstallEp = existing.installPath + L"\\uninst.ep";
    }
    return existing;
}

std::wstring GetDefaultInstallDir(const ExistingInstallation& existing, AccountFacts* facts) {
    *facts = CurrentAccountFacts();
    if (!existing.installPath.empty() && win32::PathFileExistsW(existing.uninstallEp.c_str())) {
        return existing.installPath;
    }
    return WithFolder(DefaultBaseFolder(*facts), kProductFolderName);
}

std::wstring GetCustomInstallDir(const std::wstring& defaultDir, const std::wstring& typedDir) {
    if (IsSameFolder(defaultDir, typedDir)) {
        return defaultDir;
    }
    return typedDir + L"\\" + kProductFolderName;
}

bool IsSameFolder(const std::wstring& a, const std::wstring& b) {
    if (a.empty() || b.empty()) {
        return false;
    }
    const auto normal = [](const std::wstring& path) {
        std::filesystem::path folder =
            std::filesystem::path(win32::NativePath(path)).lexically_normal();
        return folder.has_filename() ? folder : folder.parent_path();
    };
    return normal(a) == normal(b);
}

bool IsOverrideDisabled(const std::wstring& existingInstallPath, const std::wstring& folder) {
    if (!IsSameFolder(existingInstallPath, folder)) {
        return false;
    }
    wchar_t value[20] = {};
    win32::GetPrivateProfileStringW(L"Uninstall", L"IsOverride", L"true", value, 20,
                                    (folder + L"\\set.ini").c_str());
    return std::wstring(value) == L"false";
}

void SaveInstallInfo(const std::wstring& installDir, std::wstring* uninstallEp) {
    Utils::WriteProductRegistryValue(L"InstallPath", installDir);
    if (uninstallEp->empty()) {
        *uninstallEp = installDir + L"\\uninst.ep";
    }
    if (win32::PathFileExistsW(uninstallEp->c_str())) {
        Utils::WriteProductRegistryValue(L"UnInstallEp", *uninstallEp);
    }
}

std::wstring ProductDataFolder() {
    std::wstring base = EnvironmentFolder("APPDATA");
    if (base.empty()) {
        base = KnownFolder(win32::CSIDL_COMMON_DOCUMENTS);
    }
    return WithFolder(WithFolder(base, L"ZoRenData"), kProductFolderName);
}

void WriteSetIni(const std::wstring& installDir) {
    const std::wstring setIni = installDir + L"\\set.ini";
    // Process-wide and kept: the C run-time's text handling from here on expects UTF-8.
    std::setlocale(LC_ALL, "en_GB.UTF-8");
    win32::WritePrivateProfileStringW(L"Install", L"APPStore", RunningInstallerFileName().c_str(),
                                      setIni.c_str());
    win32::WritePrivateProfileStringW(L"Install", L"AppName", kProductFolderName, setIni.c_str());
    win32::WritePrivateProfileStringW(L"Install", L"DeviceID", Utils::NewIdentifierText().c_str(),
                                      setIni.c_str());
    const std::wstring dataFolder = ProductDataFolder();
    if (!Utils::CreateFolderWithParents(dataFolder)) {
        UTILS_TRACE_LINE(L"cannot create %s", dataFolder.c_str());
        return;
    }
    const std::wstring analyticsIni = dataFolder + L"\\ZRUsageAnalytics.ini";
    win32::WritePrivateProfileStringW(L"Install", L"ZRUsageAnalyticsIni", analyticsIni.c_str(),
                                      setIni.c_str());
    win32::WritePrivateProfileStringW(L"Init", L"UpdateTime", LocalTimeText().c_str(),
                                      analyticsIni.c_str());
}
