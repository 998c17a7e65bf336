// Results of a package transfer besides 0 and libcurl's own codes.
#pragma once

constexpr int TRANSFER_NOT_PLACED = -995;  // the finished file could not be put at the destination
constexpr int TRANSFER_PART_FILE_FAILED = -996;
constexpr int TRANSFER_NO_HANDLE = -997;
constexpr int TRANSFER_NO_LENGTH = -998;  // not obtained, or below kMinimumPackageLength
