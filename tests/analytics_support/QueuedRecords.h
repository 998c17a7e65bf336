// What the SDK still had queued, read back from the data file its shutdown writes.
#pragma once

#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "analytics/sdk/Sdk.h"

namespace analytics_test {

inline std::vector<nlohmann::json> ShutDownAndReadQueuedRecords(const std::string& dataFile) {
    usage_analytics::Sdk::Shutdown();
    std::vector<nlohmann::json> records;
    std::ifstream file(dataFile);
    for (std::string line; std::getline(file, line);) {
        records.push_back(nlohmann::json::parse(line));
    }
    return records;
}

}  // namespace analytics_test
