// User-profile records: each user property the tracker knows goes out as exactly one
// profile record of the kind its table entry names.
#pragma once

#include <cstdint>
#include <string>

namespace zoren::usage {

class NativeUserTracker {
  public:
    // Each raises a ZrException for a name outside the table, or for an operation the
    // value's kind cannot take (a string cannot be incremented, nothing can be appended).
    static void userPropertyString(const std::string& name, const std::string& value);
    static void userPropertyNumber(const std::string& name, std::int64_t value);
    static void userPropertyNumber(const std::string& name, double value);
    // Milliseconds since 1970-01-01; a value that can only be seconds is taken as seconds.
    static void userPropertyDateTime(const std::string& name, std::int64_t time);

    // The profile steps of the tracking operations; each returns how much the pending count
    // rises for them (only whether it is above zero matters).
    static int activityProfile(const std::string& osVersion, const std::string& appStore,
                               const std::string& appName, const std::string& appVersion);
    static int launchProfile();
    static int paymentProfile(double paidAmount);

    static std::int64_t nowMilliseconds();
};

}  // namespace zoren::usage
