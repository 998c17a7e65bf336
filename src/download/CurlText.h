// The byte forms libcurl and the C file functions are given.
#pragma once

#include <string>

// UTF-8, except that a "file:///" address is in the ANSI code page like every local path.
std::string CurlUrlText(const std::wstring& url);

// A path for the C file functions (ANSI code page).
std::string AnsiPath(const std::wstring& path);

// libcurl's description of a result code (also of the TRANSFER_* codes, as an unknown one).
std::wstring CurlErrorText(int code);
