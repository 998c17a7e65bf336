// Code-page conversions through iconv. CP_ACP is the locale's character set, CP_UTF8 UTF-8,
// and any other number n is iconv's "CP<n>" (936 is GBK).
#pragma once

#include "platform/Types.h"

namespace win32 {

constexpr UINT CP_ACP = 0;
constexpr UINT CP_UTF8 = 65001;
constexpr DWORD MB_ERR_INVALID_CHARS = 0x8;

// As on Windows: a length of -1 converts up to and including the terminating zero; an output
// size of 0 asks for the length needed. Returns the number of characters written (or needed),
// 0 on failure with the last error set.
int MultiByteToWideChar(UINT codePage, DWORD flags, const char* text, int length, wchar_t* out,
                        int outSize);

// Characters the code page lacks become "?".
int WideCharToMultiByte(UINT codePage, DWORD flags, const wchar_t* text, int length, char* out,
                        int outSize, const char* defaultChar, BOOL* usedDefault);

}  // namespace win32
