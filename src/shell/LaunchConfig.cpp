#include "shell/LaunchConfig.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cwchar>

#include "platform/Files.h"
#include "platform/Ini.h"
#include "platform/Process.h"
#include "utils/CommandLine.h"
#include "utils/MachineFacts.h"

namespace Shell {

const wchar_t kDefaultDownloadUrl[] = L"https://dl.zorensoft.example/software/265";
const wchar_t kLaunchConfigFileName[] = L"ZorenInstallerConfig.ini";

namespace {

constexpr win32::DWORD kValueBufferSize = 260;
const wchar_t kSection[] = L"Install";

std::wstring ReadIniText(const std::wstring& file, const wchar_t* key, const wchar_t* fallback) {
    wchar_t value[kValueBufferSize] = {};
    win32::GetPrivateProfileStringW(kSection, key, fallback, value, kValueBufferSize, file.c_str());
    return value;
}

// The standard conversion (leading blanks, longest decimal prefix). Text that does not start
// with a number gives `notANumber`; a value out of range, or not finite, keeps `previous`.
double ParseScale(const std::wstring& text, double previous, double notANumber) {
    wchar_t* end = nullptr;
    errno = 0;
    const double value = std::wcstod(text.c_str(), &end);
    if (end == text.c_str()) {
        return notANumber;
    }
    if (errno == ERANGE || !std::isfinite(value)) {
        return previous;
    }
    return value;
}

// The standard conversion to int; no digits give 0, a value beyond int keeps `previous`.
int ParseType(const std::wstring& text, int previous) {
    wchar_t* end = nullptr;
    errno = 0;
    const long long value = std::wcstoll(text.c_str(), &end, 10);
    if (end == text.c_str()) {
        return 0;
    }
    if (errno == ERANGE || value < INT_MIN || value > INT_MAX) {
        return previous;
    }
    return static_cast<int>(value);
}

std::wstring FileNamePart(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::wstring FolderPart(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

}  // namespace

std::wstring RouteDownloadUrl(const std::wstring& url, const std::wstring& versionWord) {
    const std::wstring placeholder = L"${ROUTE}";
    if (url.find(placeholder) == std::wstring::npos) {
        return url;
    }
    const std::wstring route =
        versionWord.find(L"XP") != std::wstring::npos ? L"download_silent_xp" : L"download_silent";
    std::wstring routed = url;
    for (std::size_t at = routed.find(placeholder); at != std::wstring::npos;
         at = routed.find(placeholder)) {
        routed.replace(at, placeholder.size(), route);
    }
    return routed;
}

std::wstring RouteDownloadUrl(const std::wstring& url) {
    if (url.find(L"${ROUTE}") == std::wstring::npos) {
        return url;
    }
    return RouteDownloadUrl(url, Utils::GetOSName());
}

void LaunchConfig::SetDownloadUrl(const std::wstring& url) {
    DownloadUrl = RouteDownloadUrl(url);
}

void LaunchConfig::Load(const std::wstring& exePath) {
    *this = LaunchConfig();
    SetDownloadUrl(kDefaultDownloadUrl);
    InstallerFileName = FileNamePart(exePath);
    const std::wstring ini = FolderPart(exePath) + L"\\" + kLaunchConfigFileName;
    if (win32::PathFileExistsW(ini.c_str())) {
        SetDownloadUrl(ReadIniText(ini, L"DownloadUrl", kDefaultDownloadUrl));
        DownloadType = static_cast<int>(
            win32::GetPrivateProfileIntW(kSection, L"DownloadType", 1, ini.c_str()));
        IsCheckNet = ReadIniText(ini, L"IsCheckNet", L"true") == L"true";
        IsEnableAppAnalytics = ReadIniText(ini, L"IsEnableAppAnalytics", L"true") == L"true";
        DlAppNameSuffix = ReadIniText(ini, L"DlAppNameSuffix", L".downloader");
        m_DlAppVersion = ReadIniText(ini, L"m_DlAppVersion", L"");
        DownloadScale = ParseScale(ReadIniText(ini, L"DownloadScale", L"0.7"), DownloadScale, 0.0);
        InstCmd = ReadIniText(ini, L"InstCmd", L"");
    }
    ProductName = L"Quillon";
    ProductVersion = L"1.7.9";
}

void LaunchConfig::ApplyCommandLine(const std::wstring& commandLine) {
    const Utils::CommandLine switches(commandLine);
    auto apply = [&](const wchar_t* name, auto&& set) {
        if (switches.Has(name)) {
            set(switches.Value(name));
        }
    };
    apply(L"-downloadurl", [&](const std::wstring& value) { SetDownloadUrl(value); });
    apply(L"-downloadtype",
          [&](const std::wstring& value) { DownloadType = ParseType(value, DownloadType); });
    apply(L"-downloadscale", [&](const std::wstring& value) {
        DownloadScale = ParseScale(value, DownloadScale, DownloadScale);
    });
    apply(L"-ischecknet", [&](const std::wstring& value) { IsCheckNet = value == L"true"; });
    apply(L"-isenableappanalytics",
          [&](const std::wstring& value) { IsEnableAppAnalytics = value == L"true"; });
    apply(L"-dlappnamesuffix", [&](const std::wstring& value) { DlAppNameSuffix = value; });
    apply(L"-dlappversion", [&](const std::wstring& value) { m_DlAppVersion = value; });
    apply(L"-instcmd", [&](const std::wstring& value) { InstCmd = value; });
}

LaunchConfig& GetLaunchConfig() {
    static LaunchConfig config = [] {
        wchar_t path[win32::MAX_PATH] = {};
        win32::GetModuleFileNameW(nullptr, path, win32::MAX_PATH);
        LaunchConfig loaded;
        loaded.Load(path);
        return loaded;
    }();
    return config;
}

void ApplyCommandLine() {
    GetLaunchConfig().ApplyCommandLine(win32::GetCommandLineW());
}

namespace {
// The record exists from static initialisation on, as the start sequence expects.
[[maybe_unused]] const LaunchConfig& loadedAtStart = GetLaunchConfig();
}  // namespace

}  // namespace Shell
