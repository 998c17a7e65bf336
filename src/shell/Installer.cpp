#include "shell/Installer.h"

#include <curl/curl.h>

#include "platform/Crash.h"
#include "shell/LaunchConfig.h"
#include "utils/SingleInstance.h"

namespace Shell {

const wchar_t kInstanceName[] = L"Installer_Quillon";

namespace {

// The crash filter runs on whichever thread faulted; the parts outlive the whole sequence.
const InstallerParts* crashReporting = nullptr;

win32::LONG CrashFilter(win32::EXCEPTION_POINTERS*) {
    if (crashReporting != nullptr) {
        if (crashReporting->reportEvent) {
            crashReporting->reportEvent(L"崩溃退出", {{L"AB", GetLaunchConfig().AbGroup}});
        }
        if (crashReporting->reportCrash) {
            crashReporting->reportCrash();
        }
    }
    return win32::EXCEPTION_CONTINUE_SEARCH;
}

void Run(const std::function<void()>& step) {
    if (step) {
        step();
    }
}

}  // namespace

int RunInstaller(const InstallerParts& parts) {
    LaunchConfig& config = GetLaunchConfig();
    // Loading system libraries from the program's folder is a Windows concern; the dynamic
    // loader here never looks in the current or the program's folder, so there is nothing to
    // harden before the first library is used.
    crashReporting = &parts;
    win32::SetUnhandledExceptionFilter(&CrashFilter);

    if (curl_global_init(CURL_GLOBAL_ALL) != CURLE_OK) {
        config.HttpLibraryReady = false;
        if (parts.reportEvent) {
            parts.reportEvent(L"libcurl初始化失败", {{L"AB", config.AbGroup}});
        }
    }

    int exitCode = 0;
    {
        Utils::SingleInstance instance(kInstanceName);
        instance.Acquire();
        if (instance.Handle() == nullptr) {
            exitCode = -1;
        } else {
            ApplyCommandLine();
            const bool analytics = config.IsEnableAppAnalytics;
            if (analytics) {
                Run(parts.startTracker);
            }
            Run(parts.prepareFramework);
            std::shared_ptr<void> mainWindow =
                parts.runMainWindow ? parts.runMainWindow() : nullptr;
            if (analytics) {
                Run(parts.releaseTracker);
            }
            curl_global_cleanup();
            mainWindow.reset();
        }
    }
    win32::SetUnhandledExceptionFilter(nullptr);
    crashReporting = nullptr;
    if (exitCode != 0) {
        curl_global_cleanup();
    }
    return exitCode;
}

}  // namespace Shell
