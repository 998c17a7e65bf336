// The textual forms of the record format's values.
#pragma once

#include <string>

#include "analytics/sdk/ObjectNode.h"

namespace usage_analytics::utils {

// The string between double quotes with backspace, tab, line feed, form feed, carriage
// return, the double quote and the backslash escaped; every other byte copied as it is.
void AppendQuoted(std::string& out, const std::string& text);

// printf's "%g": six significant digits ("12.5", "1.23457e+06"), whatever the C locale.
// A value that is not finite has no JSON form and becomes null.
std::string FormatNumber(double value);

// "YYYY-MM-DD hh:mm:ss.mmm" in the local time zone.
std::string FormatDateTime(const DateTime& value);

}  // namespace usage_analytics::utils
