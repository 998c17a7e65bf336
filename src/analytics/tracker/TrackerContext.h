// What the tracker keeps about its user between runs: the analytics identity in the
// settings file, and where that file, the event log and the SDK's data file lie.
#pragma once

#include <atomic>
#include <string>

namespace zoren::usage {

class TrackerContext {
  public:
    // Finds (and creates) the data directory and the settings file for the application:
    // the path named by "Set.ini" beside the executable, or a folder of the application's
    // own under the local application data.
    void locateFiles(const std::string& appName, const std::string& configuredLogPath);

    // Reads the identity from the settings file; a missing one gets a new distinct id.
    void loadIdentity();

    // An identity belongs to one collection address: a different one logs the user out and
    // falls back to the primary distinct id.
    void applyServerUrl(const std::string& url);

    void saveIdentity() const;
    void writeUninstallInfo(const std::string& appStore, const std::string& appName,
                            const std::string& appVersion) const;

    // Upper-case GUID text, "XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX".
    static std::string newIdentifier();

    bool loggedIn = false;
    std::string userId;
    std::string distinctId;
    std::string primaryDistinctId;
    int vipLevel = 0;
    std::string savedUrl;
    std::string locale;
    std::wstring dataDir;  // ends with "\\"
    std::wstring settingsPath;
    std::wstring logPath;
    std::wstring sdkDataFile;  // the records still queued when a run ends
};

}  // namespace zoren::usage
