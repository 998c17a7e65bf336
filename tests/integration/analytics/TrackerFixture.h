// A tracker test's surroundings: a collection service, a data folder of its own (the local
// application data points there) and the settings file the tracker keeps in it.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "CollectServer.h"
#include "analytics/tracker/UsageTracker.h"
#include "analytics_support/TestFolder.h"

namespace analytics_test {

class TrackerFixture : public ::testing::Test {
  protected:
    static constexpr char kAppName[] = "Quillon.downloader";

    void SetUp() override;
    void TearDown() override;

    zoren::usage::ZrTrackerConfig Config(const std::string& serverUrl) const;

    std::filesystem::path DataFolder() const;
    std::wstring SettingsFile() const;
    std::string Setting(const wchar_t* section, const wchar_t* key) const;
    void WriteSetting(const wchar_t* section, const wchar_t* key, const wchar_t* value) const;

    // The "track" records the service accepted, oldest first.
    nlohmann::json Events();

    TestFolder folderHolder_{"tracker"};
    const std::filesystem::path& folder_ = folderHolder_.path();
    CollectServer server_;
};

}  // namespace analytics_test
