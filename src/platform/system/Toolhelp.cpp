#include "platform/Toolhelp.h"

#include <dirent.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "system/KernelObject.h"
#include "system/Utf8.h"

namespace win32 {

namespace detail {

class ProcessSnapshot : public KernelObject {
  public:
    std::vector<PROCESSENTRY32W> entries;
    std::size_t next = 0;
};

}  // namespace detail

namespace {

// The executable's file name: from /proc/<pid>/exe, or the command's first word for processes
// whose executable cannot be read (other users').
std::wstring ExecutableName(const std::string& pid) {
    char target[4096];
    const std::string base = "/proc/" + pid;
    ssize_t length = ::readlink((base + "/exe").c_str(), target, sizeof target - 1);
    std::string path;
    if (length > 0) {
        path.assign(target, length);
        const std::string deleted = " (deleted)";
        if (path.size() > deleted.size() &&
            path.compare(path.size() - deleted.size(), deleted.size(), deleted) == 0) {
            path.resize(path.size() - deleted.size());
        }
    } else if (FILE* file = std::fopen((base + "/cmdline").c_str(), "rb")) {
        char buffer[4096];
        const std::size_t n = std::fread(buffer, 1, sizeof buffer - 1, file);
        std::fclose(file);
        buffer[n] = '\0';
        path = buffer;
    }
    return detail::Utf8ToWide(path.substr(path.find_last_of('/') + 1));
}

DWORD ParentOf(const std::string& pid) {
    DWORD parent = 0;
    if (FILE* file = std::fopen(("/proc/" + pid + "/stat").c_str(), "rb")) {
        char buffer[1024];
        const std::size_t n = std::fread(buffer, 1, sizeof buffer - 1, file);
        std::fclose(file);
        buffer[n] = '\0';
        const std::string stat(buffer);
        const std::size_t close = stat.rfind(')');
        if (close != std::string::npos) {
            unsigned long value = 0;
            if (std::sscanf(stat.c_str() + close + 1, " %*c %lu", &value) == 1) {
                parent = static_cast<DWORD>(value);
            }
        }
    }
    return parent;
}

bool CopyNext(HANDLE snapshot, PROCESSENTRY32W* entry) {
    auto* object = detail::HandleAs<detail::ProcessSnapshot>(snapshot);
    if (object == nullptr || entry == nullptr) {
        return false;
    }
    if (object->next >= object->entries.size()) {
        SetLastError(18);  // ERROR_NO_MORE_FILES
        return false;
    }
    *entry = object->entries[object->next++];
    return true;
}

}  // namespace

HANDLE CreateToolhelp32Snapshot(DWORD flags, DWORD) {
    DIR* proc = ::opendir("/proc");
    if ((flags & TH32CS_SNAPPROCESS) == 0 || proc == nullptr) {
        if (proc != nullptr) {
            ::closedir(proc);
        }
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    auto* snapshot = new detail::ProcessSnapshot();
    while (dirent* item = ::readdir(proc)) {
        const std::string pid = item->d_name;
        if (pid.find_first_not_of("0123456789") != std::string::npos) {
            continue;
        }
        const std::wstring name = ExecutableName(pid);
        if (name.empty()) {
            continue;  // kernel threads
        }
        PROCESSENTRY32W entry{};
        entry.dwSize = sizeof entry;
        entry.th32ProcessID = static_cast<DWORD>(std::strtoul(pid.c_str(), nullptr, 10));
        entry.th32ParentProcessID = ParentOf(pid);
        name.copy(entry.szExeFile, name.size() < MAX_PATH ? name.size() : MAX_PATH - 1);
        snapshot->entries.push_back(entry);
    }
    ::closedir(proc);
    return detail::ToHandle(snapshot);
}

BOOL Process32FirstW(HANDLE snapshot, PROCESSENTRY32W* entry) {
    if (auto* object = detail::HandleAs<detail::ProcessSnapshot>(snapshot)) {
        object->next = 0;
    }
    return CopyNext(snapshot, entry) ? TRUE : FALSE;
}

BOOL Process32NextW(HANDLE snapshot, PROCESSENTRY32W* entry) {
    return CopyNext(snapshot, entry) ? TRUE : FALSE;
}

}  // namespace win32
