// An advisory lock shared by all processes of the user, held with flock on a lock file in
// $XDG_RUNTIME_DIR (or /tmp/quillon-locks-<uid>). The kernel drops it when the holder dies.
#pragma once

#include <string>

namespace win32::detail {

class FileLock {
  public:
    enum class Mode { Wait, TryOnce };

    // name: any text; it is turned into a file name of its own.
    FileLock(const std::string& name, Mode mode);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool Held() const { return held_; }
    // The errno of a lock that could not be taken (EWOULDBLOCK when another holder has it).
    int Error() const { return error_; }

  private:
    int fd_ = -1;
    bool held_ = false;
    int error_ = 0;
};

// The lock that serialises writers of one file, by its absolute path.
std::string LockNameForFile(const std::string& nativePath);

}  // namespace win32::detail
