// quillon-tool config [SWITCH...]: the launch configuration the installer would run with, after
// the INI file beside the tool and the given switches.
#include <cstdio>

#include "platform/Process.h"
#include "shell/LaunchConfig.h"
#include "tool/ToolCommand.h"
#include "tool/Utf8Args.h"

namespace {

int RunConfig(const std::vector<std::string>& args) {
    Shell::LaunchConfig& config = Shell::GetLaunchConfig();
    std::wstring commandLine = L"quillon-tool";
    for (const std::string& arg : args) {
        commandLine += L" " + win32::QuoteArgument(Tool::Wide(arg));
    }
    config.ApplyCommandLine(commandLine);
    auto flag = [](bool value) { return std::wstring(value ? L"true" : L"false"); };
    const std::pair<const wchar_t*, std::wstring> fields[] = {
        {L"ProductName", config.ProductName},
        {L"ProductVersion", config.ProductVersion},
        {L"InstallerFileName", config.InstallerFileName},
        {L"DlAppNameSuffix", config.DlAppNameSuffix},
        {L"m_DlAppVersion", config.m_DlAppVersion},
        {L"InstCmd", config.InstCmd},
        {L"DownloadUrl", config.DownloadUrl},
        {L"DownloadType", std::to_wstring(config.DownloadType)},
        {L"IsCheckNet", flag(config.IsCheckNet)},
        {L"IsEnableAppAnalytics", flag(config.IsEnableAppAnalytics)},
        {L"DownloadScale", Utils::FromUtf8([&] {
             char number[64];
             std::snprintf(number, sizeof number, "%g", config.DownloadScale);
             return std::string(number);
         }())},
        {L"HttpLibraryReady", flag(config.HttpLibraryReady)},
        {L"AbGroup", config.AbGroup},
    };
    for (const auto& [name, value] : fields) {
        Tool::PrintLine(std::wstring(name) + L"=" + value);
    }
    return 0;
}

}  // namespace

QUILLON_TOOL_COMMAND("config", "  config [SWITCH...]\n", RunConfig);
