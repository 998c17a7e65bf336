// Whole-file reads and crash-safe replacement of small files.
#pragma once

#include <optional>
#include <string>

namespace win32::detail {

// The file's bytes, or nothing (errno set) when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::string& nativePath);

// Writes the bytes to a temporary file in the same folder, flushes it and renames it over the
// target; the target keeps its permissions. On failure the target is untouched, the
// temporary file is removed and errno tells why.
bool ReplaceFileContents(const std::string& nativePath, const std::string& bytes);

}  // namespace win32::detail
