// What the package and the uninstaller write on their standard output: lines of "Key=value",
// recognised by the key at the line's start (case-sensitive). Values run to the line's end, so
// a carriage return before the line feed stays part of them unless the value is trimmed.
#pragma once

#include <functional>
#include <string>

#include "download/StatusCallback.h"

// A chunk's outcome: the last final state one of its lines set.
enum class FinalState {
    None = 0,
    Success = 1,
    Failure = 1000,
};

namespace LineProtocol {

// Values hold at most this many characters; the rest of a longer line is dropped.
constexpr std::size_t kValueCapacity = 771;

// Splits the converted chunk at line feeds and hands each piece (also a last, unfinished one) to
// parseLine in order, also after a final state; returns the last final state one of them set.
FinalState ParseChunk(const std::wstring& chunk,
                      const std::function<FinalState(const std::wstring&)>& parseLine);

// When the line begins with the key, stores what follows it (cut to kValueCapacity).
bool TakeValue(const std::wstring& line, const wchar_t* key, std::wstring* value);

std::wstring Trimmed(const std::wstring& value);

// The leading decimal number after optional white space, independent of the C locale; 0.0 when
// none leads.
double LeadingNumber(const std::wstring& value);

// The leading 32-bit integer after optional white space; 0 when none leads or it does not fit.
int LeadingInteger(const std::wstring& value);

}  // namespace LineProtocol
