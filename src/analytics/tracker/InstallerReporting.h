// The installer's own analytics reports. They hide the tracker from the rest of the program:
// every report is skipped when analytics is switched off in the launch configuration, and
// also while no tracker is started (before StartTracker, after releaseTracker).
#pragma once

#include <map>
#include <string>

namespace zoren::usage {

// The only name with an effect is "AB": the A/B group ("IN"), sent as "zrc_ab".
using ReportProperties = std::map<std::wstring, std::wstring>;

// Creates the process-wide tracker from the launch configuration (main thread, at start).
void StartTracker();

// A named installer milestone or failure, tracked as a task that always succeeded; the
// detail becomes its reason when non-empty.
void ReportInstallerEvent(const std::wstring& event, const std::wstring& detail,
                          float elapsedSeconds, ReportProperties properties);

// A button press, with the button's text as its name.
void ReportInstallerClick(ReportProperties properties, const std::wstring& buttonText);

// The progress page ("安装中") being shown.
void ReportInstallerPage(ReportProperties properties);

// The crash report of the last-resort filter; it is delivered at once, in the calling thread.
void ReportInstallerCrash();

}  // namespace zoren::usage
