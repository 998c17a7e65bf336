// The checks the collection service's parser relies on: identifiers, property and event
// names, and well-formed UTF-8 text.
#pragma once

#include <string>

namespace usage_analytics {

// Tab, line feed, carriage return and 0x20-0x7E as single bytes, and multi-byte sequences
// only in their shortest non-surrogate forms up to U+10FFFF.
bool IsValidUtf8(const std::string& text);

// An id (distinct id, original id): 1 to 255 bytes. Returns the complaint, empty when valid;
// `what` names the value in the complaint ("Distinct ID").
std::string CheckIdentifier(const std::string& value, const std::string& what);

// A variable-like name (property key, event name) of 1 to 100 bytes.
std::string CheckName(const std::string& value, const std::string& what);

// Complaints of the SDK go to the standard error stream, one line each.
void Complain(const std::string& message);

}  // namespace usage_analytics
