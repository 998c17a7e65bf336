#include "system/FileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace win32::detail {

namespace {

std::string LockFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    std::string folder = runtime != nullptr && *runtime != '\0'
                             ? std::string(runtime) + "/quillon-locks"
                             : "/tmp/quillon-locks-" + std::to_string(::getuid());
    ::mkdir(folder.c_str(), 0700);
    return folder;
}

// Keeps letters, digits, '-', '_' and '.'; anything else becomes '_', and a hash of the whole
// name keeps two names that differ only there apart.
std::string FileNameFor(const std::string& name) {
    std::uint64_t hash = 1469598103934665603ull;
    std::string safe;
    for (unsigned char c : name) {
        hash = (hash ^ c) * 1099511628211ull;
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.';
        if (safe.size() < 64) {
            safe += plain ? static_cast<char>(c) : '_';
        }
    }
    char suffix[24];
    std::snprintf(suffix, sizeof suffix, "-%016llx", static_cast<unsigned long long>(hash));
    return safe + suffix + ".lock";
}

}  // namespace

FileLock::FileLock(const std::string& name, Mode mode) {
    const std::string path = LockFolder() + "/" + FileNameFor(name);
    fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ < 0) {
        error_ = errno;
        return;
    }
    int result;
    do {
        result = ::flock(fd_, mode == Mode::Wait ? LOCK_EX : LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    held_ = result == 0;
    error_ = held_ ? 0 : errno;
}

FileLock::~FileLock() {
    if (fd_ >= 0) {
        ::close(fd_);  // closing the descriptor releases the lock
    }
}

std::string LockNameForFile(const std::string& nativePath) {
    if (!nativePath.empty() && nativePath[0] == '/') {
        return "file" + nativePath;
    }
    char cwd[4096];
    return "file" + std::string(::getcwd(cwd, sizeof cwd) != nullptr ? cwd : ".") + "/" +
           nativePath;
}

}  // namespace win32::detail
