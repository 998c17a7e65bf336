// The process-wide launch configuration: built-in defaults, then "ZorenInstallerConfig.ini"
// beside the executable, then the command-line switches.
#pragma once

#include <string>

namespace Shell {

struct LaunchConfig {
    std::wstring ProductName = L"Quillon";
    std::wstring ProductVersion = L"1.7.9";
    std::wstring InstallerFileName = L"NULL";
    std::wstring DlAppNameSuffix = L".downloader";
    std::wstring m_DlAppVersion;
    std::wstring InstCmd;
    std::wstring DownloadUrl;
    int DownloadType = 1;
    bool IsCheckNet = false;
    bool IsEnableAppAnalytics = true;
    double DownloadScale = 0.7;
    bool HttpLibraryReady = true;
    std::wstring AbGroup = L"IN";

    // Defaults, then the INI file beside the executable at exePath.
    void Load(const std::wstring& exePath);
    // The switches of a whole command line (the program path first).
    void ApplyCommandLine(const std::wstring& commandLine);
    void SetDownloadUrl(const std::wstring& url);
};

extern const wchar_t kDefaultDownloadUrl[];
extern const wchar_t kLaunchConfigFileName[];

// Replaces every "${ROUTE}" by the route word of the system's version word.
std::wstring RouteDownloadUrl(const std::wstring& url);
std::wstring RouteDownloadUrl(const std::wstring& url, const std::wstring& versionWord);

// The process's record: built from the running executable during static initialisation.
LaunchConfig& GetLaunchConfig();

// Applies the process's own command line to the process's record (start sequence).
void ApplyCommandLine();

}  // namespace Shell
