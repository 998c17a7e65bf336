// Conversions between the tool's UTF-8 arguments and output and the system's wide text.
#pragma once

#include <cstdio>
#include <string>

#include "utils/TextConversion.h"

namespace Tool {

inline std::wstring Wide(const std::string& text) {
    return Utils::FromUtf8(text);
}

inline void PrintLine(const std::wstring& text) {
    std::printf("%s\n", Utils::ToUtf8(text).c_str());
}

}  // namespace Tool
