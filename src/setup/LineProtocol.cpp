#include "setup/LineProtocol.h"

#include <charconv>
#include <climits>
#include <cwctype>

namespace LineProtocol {

namespace {

std::size_t SkipBlanks(const std::wstring& value) {
    std::size_t start = 0;
    while (start < value.size() && std::iswspace(value[start])) {
        ++start;
    }
    return start;
}

// The characters a number may be made of, as ASCII; anything else ends the number.
// from_chars takes no plus sign; the scanf reading the protocol was written for does, so a
// leading one is dropped.
std::string NumberCharacters(const std::wstring& value, std::size_t start) {
    std::string ascii;
    for (std::size_t i = start; i < value.size() && value[i] > 0 && value[i] < 0x80; ++i) {
        ascii += static_cast<char>(value[i]);
    }
    if (!ascii.empty() && ascii[0] == '+') {
        ascii.erase(0, 1);
    }
    return ascii;
}

void ForEachLine(const std::wstring& chunk,
                 const std::function<void(const std::wstring&)>& handle) {
    std::size_t start = 0;
    while (start < chunk.size()) {
        std::size_t end = chunk.find(L'\n', start);
        if (end == std::wstring::npos) {
            end = chunk.size();
        }
        handle(chunk.substr(start, end - start));
        start = end + 1;
    }
}

}  // namespace

FinalState ParseChunk(const std::wstring& chunk,
                      const std::function<FinalState(const std::wstring&)>& parseLine) {
    FinalState result = FinalState::None;
    ForEachLine(chunk, [&](const std::wstring& line) {
        const FinalState state = parseLine(line);
        if (state != FinalState::None) {
            result = state;
        }
    });
    return result;
}

bool TakeValue(const std::wstring& line, const wchar_t* key, std::wstring* value) {
    const std::size_t keyLength = std::char_traits<wchar_t>::length(key);
    if (line.compare(0, keyLength, key) != 0) {
        return false;
    }
    *value = line.substr(keyLength, kValueCapacity);
    return true;
}

std::wstring Trimmed(const std::wstring& value) {
    const std::size_t start = SkipBlanks(value);
    std::size_t end = value.size();
    while (end > start && std::iswspace(value[end - 1])) {
        --end;
    }
    return value.substr(start, end - start);
}

double LeadingNumber(const std::wstring& value) {
    const std::string ascii = NumberCharacters(value, SkipBlanks(value));
    double number = 0.0;
    if (std::from_chars(ascii.data(), ascii.data() + ascii.size(), number).ec != std::errc()) {
        return 0.0;
    }
    return number;
}

int LeadingInteger(const std::wstring& value) {
    const std::string ascii = NumberCharacters(value, SkipBlanks(value));
    long long number = 0;
    const auto result = std::from_chars(ascii.data(), ascii.data() + ascii.size(), number);
    const bool fits = result.ec == std::errc() && number >= INT_MIN && number <= INT_MAX;
    return fits ? static_cast<int>(number) : 0;
}

}  // namespace LineProtocol
