// The package's checksum travels in its resolved address: ".../<md5>/<file name>".
#pragma once

#include <string>

// The text between the last two "/" of the resolved URL; empty when it has fewer than two.
std::string ExpectedChecksum(const std::string& resolvedUrl);

enum class ChecksumVerdict {
    Unavailable,  // the address carries no 32-character checksum
    Matches,      // equal, or the file could not be read (nothing to compare)
    Differs,
};

// Compares the file's lower-case hexadecimal MD5 with the address's checksum, case-sensitively.
ChecksumVerdict VerifyPackageChecksum(const std::string& resolvedUrl, const std::wstring& file);
