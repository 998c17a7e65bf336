// The installer's start and shutdown sequence.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>

namespace Shell {

using ReportProperties = std::map<std::wstring, std::wstring>;

// The steps the sequence hands to the subsystems above the shell. The executable fills them;
// an empty step is skipped, which lets tests and tools run the sequence on its own.
struct InstallerParts {
    std::function<void()> startTracker;
    std::function<void()> releaseTracker;
    std::function<void(const std::wstring& event, const ReportProperties& properties)> reportEvent;
    std::function<void()> reportCrash;
    std::function<void()> prepareFramework;
    // Builds the main window, runs it modally and hands the window object back: the sequence
    // destroys it after the tracker is released and the HTTP library is cleaned up.
    std::function<std::shared_ptr<void>()> runMainWindow;
};

extern const wchar_t kInstanceName[];

// Runs the whole sequence; returns the process's exit code (0, or -1 for a second instance).
int RunInstaller(const InstallerParts& parts);

}  // namespace Shell
