// The collection SDK: tracking calls become JSON records, queued in memory and delivered in
// batches to the collection service. There is one instance per process; every operation but
// Init does nothing while there is none.
#pragma once

#include <cstdint>
#include <string>

#include "analytics/sdk/ObjectNode.h"

namespace usage_analytics {

class Sdk {
  public:
    // Creates the process's instance unless one exists (which then stays as it is). False
    // when the distinct id is not a valid id.
    static bool Init(const std::string& dataFilePath, const std::string& serverUrl,
                     const std::string& distinctId, bool isLoginId);

    // Destroys the instance; what its queue still holds goes to the data file.
    static void Shutdown();

    // Event records; the super properties are merged in under the given properties.
    static void Track(const std::string& eventName, const PropertiesNode& properties);
    static void TrackInstallation(const std::string& eventName, const PropertiesNode& properties);
    // Links the login id to the current distinct id, which the login id then replaces.
    static void TrackSignup(const std::string& loginId);

    // User-profile records; they carry only the given properties.
    static void ProfileSet(const PropertiesNode& properties);
    static void ProfileSet(const std::string& name, const std::string& value);
    static void ProfileSet(const std::string& name, std::int64_t value);
    static void ProfileSet(const std::string& name, double value);
    static void ProfileSetOnce(const PropertiesNode& properties);
    static void ProfileSetOnce(const std::string& name, const std::string& value);
    static void ProfileSetOnce(const std::string& name, std::int64_t value);
    static void ProfileSetOnce(const std::string& name, double value);
    static void ProfileIncrement(const PropertiesNode& properties);
    static void ProfileIncrement(const std::string& name, std::int64_t value);
    static void ProfileAppend(const std::string& name, const std::string& value);

    // Batch after batch until the queue is empty (true) or a batch fails (false).
    static bool FlushAll();

    static void RegisterSuperProperties(const PropertiesNode& properties);

    // Whether the calling thread is inside one of the operations above (a crash there must
    // not make it wait for its own locks).
    static bool InUseByThisThread();

    // The number of records waiting, 0 without an instance.
    static std::size_t QueuedRecordCount();
};

}  // namespace usage_analytics
