#include "analytics/sdk/JsonText.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <ctime>

namespace usage_analytics::utils {

void AppendQuoted(std::string& out, const std::string& text) {
    out += '"';
    for (char c : text) {
        switch (c) {
            case '\b':
                out += "\\b";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\f':
                out += "\\f";
                break;
            case '\r':
                out += "\\r";
                break;
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            default:
                out += c;
                break;
        }
    }
    out += '"';
}

std::string FormatNumber(double value) {
    if (!std::isfinite(value)) {
        return "null";
    }
    char buffer[32];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 6);
    return std::string(buffer, result.ptr);
}

std::string FormatDateTime(const DateTime& value) {
    const std::time_t seconds = static_cast<std::time_t>(value.seconds);
    std::tm local{};
    localtime_r(&seconds, &local);
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d.%03d", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
                  value.milliseconds);
    return buffer;
}

}  // namespace usage_analytics::utils
