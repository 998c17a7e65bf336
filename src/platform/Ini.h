// INI private-profile files: sections and keys compared without regard to case, values
// trimmed of blanks and of one pair of enclosing quotes, text cut to the caller's buffer.
// Writing creates the file and the section; the file is replaced atomically, under a lock
// that processes writing the same file at once share.
#pragma once

#include "platform/Types.h"

namespace win32 {

// Copies the value (or the default, trailing blanks removed) into the buffer, cut to
// size - 1 characters; returns the number of characters copied.
DWORD GetPrivateProfileStringW(const wchar_t* section, const wchar_t* key,
                               const wchar_t* defaultValue, wchar_t* buffer, DWORD size,
                               const wchar_t* fileName);

// The value's leading decimal number (optional sign); 0 when no digits lead; the default
// when the key is missing.
UINT GetPrivateProfileIntW(const wchar_t* section, const wchar_t* key, int defaultValue,
                           const wchar_t* fileName);

// A null value removes the key; a null key removes the whole section.
BOOL WritePrivateProfileStringW(const wchar_t* section, const wchar_t* key, const wchar_t* value,
                                const wchar_t* fileName);

}  // namespace win32
