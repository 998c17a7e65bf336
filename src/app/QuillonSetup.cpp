// The installer's entry point.
#include <clocale>

#include "analytics/tracker/InstallerReporting.h"
#include "analytics/tracker/UsageTracker.h"
#include "shell/Installer.h"

int main() {
    // Text conversions follow the user's character set; numbers keep the C locale.
    std::setlocale(LC_CTYPE, "");
    Shell::InstallerParts parts;
    parts.startTracker = &zoren::usage::StartTracker;
    parts.releaseTracker = &zoren::usage::releaseTracker;
    parts.reportEvent = [](const std::wstring& event, const Shell::ReportProperties& properties) {
        zoren::usage::ReportInstallerEvent(event, L"", 0.0f, properties);
    };
    parts.reportCrash = &zoren::usage::ReportInstallerCrash;
    return Shell::RunInstaller(parts);
}
