#include "system/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace win32::detail {

std::optional<std::string> ReadWholeFile(const std::string& nativePath) {
    int fd = ::open(nativePath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    std::string bytes;
    char buffer[16384];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0) {
            bytes.append(buffer, n);
        } else if (n == 0) {
            break;
        } else if (errno != EINTR) {
            const int saved = errno;
            ::close(fd);
            errno = saved;
            return std::nullopt;
        }
    }
    ::close(fd);
    return bytes;
}

bool ReplaceFileContents(const std::string& nativePath, const std::string& bytes) {
    std::string temporary = nativePath + ".tmp-XXXXXX";
    int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    struct stat existing;
    ::fchmod(fd, ::stat(nativePath.c_str(), &existing) == 0 ? (existing.st_mode & 07777) : 0644);
    bool ok = true;
    for (std::size_t done = 0; ok && done < bytes.size();) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += n;
        } else if (errno != EINTR) {
            ok = false;
        }
    }
    ok = ok && ::fsync(fd) == 0;
    int saved = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        saved = errno;
    }
    if (ok && ::rename(temporary.c_str(), nativePath.c_str()) != 0) {
        ok = false;
        saved = errno;
    }
    if (!ok) {
        ::unlink(temporary.c_str());
        errno = saved;
    }
    return ok;
}

}  // namespace win32::detail
