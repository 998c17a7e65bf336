#include "platform/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "system/KernelObject.h"
#include "system/Utf8.h"

namespace win32 {

namespace {
std::string ForwardSlashes(std::string path) {
    for (char& c : path) {
        if (c == '\\') {
            c = '/';
        }
    }
    return path;
}
}  // namespace

std::string NativePath(const std::wstring& path) {
    return ForwardSlashes(detail::WideToUtf8(path));
}

std::string NativePath(const char* ansiPath) {
    return ForwardSlashes(ansiPath == nullptr ? std::string() : std::string(ansiPath));
}

DWORD GetModuleFileNameW(HMODULE, wchar_t* buffer, DWORD size) {
    char path[4096];
    ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (length < 0 || size == 0) {
        detail::FailWithErrno();
        return 0;
    }
    const std::wstring wide = detail::Utf8ToWide(std::string_view(path, length));
    DWORD copied = static_cast<DWORD>(wide.size() < size ? wide.size() : size - 1);
    wide.copy(buffer, copied);
    buffer[copied] = L'\0';
    SetLastError(copied < wide.size() ? ERROR_INSUFFICIENT_BUFFER : ERROR_SUCCESS);
    return copied;
}

DWORD GetFileAttributesW(const wchar_t* path) {
    struct stat info;
    if (path == nullptr || ::stat(NativePath(path).c_str(), &info) != 0) {
        detail::FailWithErrno();
        return INVALID_FILE_ATTRIBUTES;
    }
    DWORD attributes = S_ISDIR(info.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
    if (::access(NativePath(path).c_str(), W_OK) != 0) {
        attributes |= FILE_ATTRIBUTE_READONLY;
    }
    return attributes;
}

BOOL PathFileExistsW(const wchar_t* path) {
    return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES ? TRUE : FALSE;
}

BOOL CreateDirectoryW(const wchar_t* path, void*) {
    if (::mkdir(NativePath(path).c_str(), 0755) != 0) {
        return detail::FailWithErrno();
    }
    return TRUE;
}

BOOL RemoveDirectoryW(const wchar_t* path) {
    return ::rmdir(NativePath(path).c_str()) == 0 ? TRUE : detail::FailWithErrno();
}

BOOL DeleteFileW(const wchar_t* path) {
    const std::string native = NativePath(path);
    struct stat info;
    if (::lstat(native.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    return ::unlink(native.c_str()) == 0 ? TRUE : detail::FailWithErrno();
}

namespace {

// Copies the bytes into a temporary file beside the target, then renames it over the target,
// so a failed copy (full disk) never leaves a cut-off file under the target's name.
BOOL CopyContents(const std::string& from, const std::string& to, bool failIfExists) {
    int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) {
        return detail::FailWithErrno();
    }
    struct stat info;
    ::fstat(in, &info);
    if (failIfExists && ::access(to.c_str(), F_OK) == 0) {
        ::close(in);
        SetLastError(ERROR_FILE_EXISTS);
        return FALSE;
    }
    std::string temporary = to + ".copy-XXXXXX";
    int out = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (out < 0) {
        ::close(in);
        return detail::FailWithErrno();
    }
    char buffer[65536];
    bool ok = true;
    int savedErrno = 0;
    for (;;) {
        ssize_t n = ::read(in, buffer, sizeof buffer);
        if (n == 0) {
            break;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            ok = false;
            savedErrno = errno;
            break;
        }
        for (ssize_t done = 0; done < n;) {
            ssize_t w = ::write(out, buffer + done, n - done);
            if (w < 0 && errno == EINTR) {
                continue;
            }
            if (w < 0) {
                ok = false;
                savedErrno = errno;
                break;
            }
            done += w;
        }
        if (!ok) {
            break;
        }
    }
    ::fchmod(out, info.st_mode & 07777);
    if (::close(out) != 0 && ok) {
        ok = false;
        savedErrno = errno;
    }
    ::close(in);
    if (ok && ::rename(temporary.c_str(), to.c_str()) != 0) {
        ok = false;
        savedErrno = errno;
    }
    if (!ok) {
        ::unlink(temporary.c_str());
        SetLastError(detail::ErrorFromErrno(savedErrno));
        return FALSE;
    }
    return TRUE;
}

}  // namespace

BOOL CopyFileW(const wchar_t* from, const wchar_t* to, BOOL failIfExists) {
    return CopyContents(NativePath(from), NativePath(to), failIfExists != FALSE);
}

BOOL MoveFileExW(const wchar_t* from, const wchar_t* to, DWORD flags) {
    const std::string source = NativePath(from);
    const std::string target = NativePath(to);
    if ((flags & MOVEFILE_REPLACE_EXISTING) == 0 && ::access(target.c_str(), F_OK) == 0) {
        SetLastError(ERROR_ALREADY_EXISTS);
        return FALSE;
    }
    if (::rename(source.c_str(), target.c_str()) == 0) {
        return TRUE;
    }
    if (errno == EXDEV && (flags & MOVEFILE_COPY_ALLOWED) != 0) {
        if (!CopyContents(source, target, false)) {
            return FALSE;
        }
        ::unlink(source.c_str());
        return TRUE;
    }
    return detail::FailWithErrno();
}

LONGLONG GetFileSizeByPath(const wchar_t* path) {
    struct stat info;
    if (::stat(NativePath(path).c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        detail::FailWithErrno();
        return -1;
    }
    return info.st_size;
}

FILE* OpenFileA(const char* ansiPath, const char* mode) {
    FILE* file = std::fopen(NativePath(ansiPath).c_str(), mode);
    if (file == nullptr) {
        detail::FailWithErrno();
    }
    return file;
}

FILE* _wfopen(const wchar_t* path, const wchar_t* mode) {
    FILE* file = std::fopen(NativePath(path).c_str(), detail::WideToUtf8(mode).c_str());
    if (file == nullptr) {
        detail::FailWithErrno();
    }
    return file;
}

namespace {

// A folder only this user can enter: created 0700 when missing, refused when it is a link or
// belongs to someone else (a shared /tmp lets anyone create a folder under a name we use).
bool IsPrivateFolder(const std::string& path) {
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) {
        return false;
    }
    struct stat info;
    return ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
           info.st_uid == ::getuid() && (info.st_mode & 077) == 0;
}

// The user's own temporary directory, as Windows gives every user one: $TMPDIR when set,
// else a private folder in /tmp, else one in the user's cache folder.
std::string UserTempFolder() {
    const char* tmp = std::getenv("TMPDIR");
    if (tmp != nullptr && *tmp == '/') {
        return tmp;
    }
    const std::string shared = "/tmp/quillon-tmp-" + std::to_string(::getuid());
    if (IsPrivateFolder(shared)) {
        return shared;
    }
    const char* home = std::getenv("HOME");
    const std::string cache = std::string(home != nullptr ? home : "") + "/.cache";
    ::mkdir(cache.c_str(), 0700);
    const std::string own = cache + "/quillon-tmp";
    return IsPrivateFolder(own) ? own : std::string();
}

}  // namespace

DWORD GetTempPathW(DWORD size, wchar_t* buffer) {
    std::wstring path = detail::Utf8ToWide(UserTempFolder());
    if (path.empty()) {
        SetLastError(ERROR_ACCESS_DENIED);
        return 0;
    }
    if (path.back() != L'/') {
        path += L'/';
    }
    if (path.size() + 1 > size) {
        return static_cast<DWORD>(path.size() + 1);  // as on Windows: the size needed
    }
    path.copy(buffer, path.size());
    buffer[path.size()] = L'\0';
    return static_cast<DWORD>(path.size());
}

BOOL GetDiskFreeSpaceExW(const wchar_t* path, ULARGE_INTEGER* freeBytesForCaller,
                         ULARGE_INTEGER* totalBytes, ULARGE_INTEGER* totalFreeBytes) {
    if (path == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    // A folder that does not exist yet lives on the mount point of its nearest existing parent.
    std::string native = NativePath(path);
    struct statvfs info;
    while (::statvfs(native.c_str(), &info) != 0) {
        const std::size_t slash = native.find_last_of('/');
        if (errno != ENOENT || slash == std::string::npos || native == "/") {
            return detail::FailWithErrno();
        }
        native.erase(slash == 0 ? 1 : slash);
    }
    const ULONGLONG unit = info.f_frsize != 0 ? info.f_frsize : info.f_bsize;
    if (freeBytesForCaller != nullptr) {
        freeBytesForCaller->QuadPart = unit * info.f_bavail;
    }
    if (totalBytes != nullptr) {
        totalBytes->QuadPart = unit * info.f_blocks;
    }
    if (totalFreeBytes != nullptr) {
        totalFreeBytes->QuadPart = unit * info.f_bfree;
    }
    return TRUE;
}

}  // namespace win32
