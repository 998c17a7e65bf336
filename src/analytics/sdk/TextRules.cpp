#include "analytics/sdk/TextRules.h"

#include <cstdio>

namespace usage_analytics {

namespace {

constexpr std::size_t kMaxIdentifierLength = 255;
constexpr std::size_t kMaxNameLength = 100;

bool IsContinuation(unsigned char byte) {
    return byte >= 0x80 && byte <= 0xBF;
}

bool InRange(unsigned char byte, unsigned char low, unsigned char high) {
    return byte >= low && byte <= high;
}

// Length of the well-formed sequence starting at `at`, 0 when it is not one.
std::size_t SequenceLength(const std::string& text, std::size_t at) {
    const auto byte = [&](std::size_t offset) -> unsigned char {
        return at + offset < text.size() ? static_cast<unsigned char>(text[at + offset]) : 0;
    };
    const unsigned char lead = byte(0);
    if (lead == '\t' || lead == '\n' || lead == '\r' || InRange(lead, 0x20, 0x7E)) {
        return 1;
    }
    // The second byte's range depends on the lead byte; it keeps out overlong forms,
    // surrogates and code points above U+10FFFF.
    unsigned char secondLow = 0x80;
    unsigned char secondHigh = 0xBF;
    std::size_t length = 0;
    if (InRange(lead, 0xC2, 0xDF)) {
        length = 2;
    } else if (lead == 0xE0) {
        length = 3;
        secondLow = 0xA0;
    } else if (InRange(lead, 0xE1, 0xEC) || InRange(lead, 0xEE, 0xEF)) {
        length = 3;
    } else if (lead == 0xED) {
        length = 3;
        secondHigh = 0x9F;
    } else if (lead == 0xF0) {
        length = 4;
        secondLow = 0x90;
    } else if (InRange(lead, 0xF1, 0xF3)) {
        length = 4;
    } else if (lead == 0xF4) {
        length = 4;
        secondHigh = 0x8F;
    } else {
        return 0;
    }
    if (at + length > text.size() || !InRange(byte(1), secondLow, secondHigh)) {
        return 0;
    }
    for (std::size_t offset = 2; offset < length; ++offset) {
        if (!IsContinuation(byte(offset))) {
            return 0;
        }
    }
    return length;
}

bool IsNameStart(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '$' || c == '_';
}

bool IsNamePart(char c) {
    return IsNameStart(c) || (c >= '0' && c <= '9');
}

}  // namespace

bool IsValidUtf8(const std::string& text) {
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = SequenceLength(text, at);
        if (length == 0) {
            return false;
        }
        at += length;
    }
    return true;
}

std::string CheckIdentifier(const std::string& value, const std::string& what) {
    if (value.empty()) {
        return "The " + what + " is empty.";
    }
    if (value.size() > kMaxIdentifierLength) {
        return "The " + what + " is too long, max length is 255.";
    }
    return {};
}

std::string CheckName(const std::string& value, const std::string& what) {
    if (value.empty() || value.size() > kMaxNameLength) {
        return "The " + what + " is empty or too long, max length is 100";
    }
    if (!IsNameStart(value.front())) {
        return "The " + what + " need to be a valid variable name.";
    }
    for (char c : value) {
        if (!IsNamePart(c)) {
            return "The " + what + " need to be a valid variable name.";
        }
    }
    return {};
}

void Complain(const std::string& message) {
    std::fprintf(stderr, "%s\n", message.c_str());
}

}  // namespace usage_analytics
