// Package files of a chosen size, their checksums, and temporary folders.
#pragma once

#include <cstdint>
#include <string>

namespace DownloadTest {

// A fresh folder under the temporary directory, removed with the object.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    const std::string& Path() const { return path_; }

  private:
    std::string path_;
};

// Writes size pseudo-random bytes (seeded by the size, so no two sizes share content).
void MakePackage(const std::string& path, std::int64_t size);

// Lower-case hexadecimal MD5; empty when the file cannot be read.
std::string Md5Of(const std::string& path);

bool FileExists(const std::string& path);
std::int64_t FileSize(const std::string& path);  // -1 when missing
std::string ReadText(const std::string& path);

}  // namespace DownloadTest
