// The properties every event of the tracker carries: application, platform, system, locale
// and screen.
#pragma once

#include <string>

#include "analytics/sdk/ObjectNode.h"
#include "analytics/tracker/ZrEvents.h"

namespace zoren::usage {

// The analytics name of the running Windows version ("7", "10", "11", "Vista64", ...).
std::string operatingSystemName();
std::string operatingSystemName(unsigned major, unsigned minor, unsigned build, bool is64Bit,
                                bool isServerR2);

// "Mozilla/5.0(Windows <name>; Win64;)" or "...; Win32;)".
std::string userAgent();

struct LocaleParts {
    std::string locale;  // language + "_" + country
    std::string language;
    std::string country;
};
// A locale set by the application when it has a "_" in it, otherwise the user's.
LocaleParts localeParts(const std::string& setLocale);
void setLocaleProperties(usage_analytics::PropertiesNode& properties, const LocaleParts& parts);

struct ScreenSize {
    int width;
    int height;
};
// 0 by 0 when no display is known.
ScreenSize primaryScreenSize();

usage_analytics::PropertiesNode presetProperties(const ZrTrackerConfig& config,
                                                 const std::string& userId,
                                                 const std::string& setLocale);

}  // namespace zoren::usage
