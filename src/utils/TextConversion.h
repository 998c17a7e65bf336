// Conversions between wide text and code-page text, URL encoding, file checksums and folders.
#pragma once

#include <string>

#include "platform/Types.h"

namespace Utils {

// The zero-terminated bytes in the code page (0 = ANSI, 65001 = UTF-8, 936, ...) as wide text;
// empty when the conversion fails.
std::wstring MultiByteToWide(const char* text, win32::UINT codePage);
std::wstring MultiByteToWide(const std::string& text, win32::UINT codePage);

// Wide text in the code page, unknown characters replaced; empty when the conversion fails.
std::string WideToMultiByte(const std::wstring& text, win32::UINT codePage);

inline std::string ToUtf8(const std::wstring& text) {
    return WideToMultiByte(text, 65001);
}
inline std::wstring FromUtf8(const std::string& text) {
    return MultiByteToWide(text, 65001);
}

// UTF-8 bytes 0x21 to 0x7E kept, a blank as "+", every other byte as %XX.
std::wstring UrlEncode(const std::wstring& url);

// MD5 of the file as 32 lower-case hexadecimal digits; empty when it cannot be read.
std::wstring FileMd5(const std::wstring& path);

// Creates the folder and every missing parent; paths over 260 characters fail.
bool CreateFolderWithParents(const std::wstring& path);

// The user's temporary directory + "~ZoRenTemp.92482B06FB471E17\\", created when missing;
// empty when it cannot be created.
std::wstring PrivateTempFolder();

}  // namespace Utils
