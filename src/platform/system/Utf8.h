// UTF-8 and wide text inside the stand-in, where the locale must not matter (file names,
// configuration files, log lines). Invalid input bytes become U+FFFD.
#pragma once

#include <string>
#include <string_view>

namespace win32::detail {

std::string WideToUtf8(std::wstring_view text);
std::wstring Utf8ToWide(std::string_view text);

}  // namespace win32::detail
