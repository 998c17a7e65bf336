#include "platform/Shell.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <string>

#include "platform/Files.h"
#include "platform/Process.h"
#include "system/Utf8.h"

namespace win32 {

namespace {

std::string Home() {
    const char* home = std::getenv("HOME");
    return home != nullptr && *home != '\0' ? home : "/tmp";
}

std::string XdgBase(const char* variable, const char* fallback) {
    const char* value = std::getenv(variable);
    return value != nullptr && *value == '/' ? value : Home() + "/" + fallback;
}

// A folder named in user-dirs.dirs ("XDG_DESKTOP_DIR=\"$HOME/Desktop\""), or the fallback.
std::string UserDir(const char* key, const char* fallback) {
    if (const char* value = std::getenv(key); value != nullptr && *value == '/') {
        return value;
    }
    std::ifstream file(XdgBase("XDG_CONFIG_HOME", ".config") + "/user-dirs.dirs");
    std::string line;
    const std::string prefix = std::string(key) + "=\"";
    while (std::getline(file, line)) {
        if (line.compare(0, prefix.size(), prefix) == 0 && line.back() == '"') {
            std::string path = line.substr(prefix.size(), line.size() - prefix.size() - 1);
            if (path.compare(0, 5, "$HOME") == 0) {
                path = Home() + path.substr(5);
            }
            return path;
        }
    }
    return Home() + "/" + fallback;
}

std::string FolderOf(int csidl) {
    switch (csidl) {
        case CSIDL_PROGRAM_FILES:
        case CSIDL_LOCAL_APPDATA:
            return XdgBase("XDG_DATA_HOME", ".local/share");
        case CSIDL_APPDATA:
            return XdgBase("XDG_CONFIG_HOME", ".config");
        case CSIDL_COMMON_DOCUMENTS:
            return UserDir("XDG_DOCUMENTS_DIR", "Documents");
        case CSIDL_DESKTOPDIRECTORY:
            return UserDir("XDG_DESKTOP_DIR", "Desktop");
        default:
            return std::string();
    }
}

bool CreateWithParents(const std::string& path) {
    for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        const std::string prefix = path.substr(0, slash);
        if (::mkdir(prefix.c_str(), 0755) != 0 && errno != EEXIST) {
            return false;
        }
        if (slash == std::string::npos) {
            return true;
        }
    }
}

bool IsExecutableFile(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

}  // namespace

HRESULT SHGetFolderPathW(void*, int csidl, HANDLE, DWORD, wchar_t* path) {
    std::string folder = FolderOf(csidl & ~CSIDL_FLAG_CREATE);
    while (folder.size() > 1 && folder.back() == '/') {
        folder.pop_back();
    }
    if (folder.empty() || path == nullptr) {
        return E_INVALIDARG;
    }
    if ((csidl & CSIDL_FLAG_CREATE) != 0 && !CreateWithParents(folder)) {
        return E_FAIL;
    }
    const std::wstring wide = detail::Utf8ToWide(folder);
    if (wide.size() >= MAX_PATH) {
        return E_FAIL;
    }
    wide.copy(path, wide.size());
    path[wide.size()] = L'\0';
    return S_OK;
}

HINSTANCE ShellExecuteW(void*, const wchar_t* operation, const wchar_t* file,
                        const wchar_t* parameters, const wchar_t* directory, int) {
    constexpr std::uintptr_t kFileNotFound = 2, kAccessDenied = 5, kSuccess = 42;
    if (file == nullptr || (operation != nullptr && std::wstring(operation) != L"open")) {
        return reinterpret_cast<HINSTANCE>(kAccessDenied);
    }
    std::wstring commandLine;
    if (IsExecutableFile(NativePath(file))) {
        commandLine = QuoteArgument(file);
        if (parameters != nullptr && *parameters != L'\0') {
            commandLine += L" ";
            commandLine += parameters;
        }
    } else {
        commandLine = L"xdg-open " + QuoteArgument(file);
    }
    STARTUPINFOW startup{};
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, directory,
                        &startup, &process)) {
        return reinterpret_cast<HINSTANCE>(kFileNotFound);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return reinterpret_cast<HINSTANCE>(kSuccess);
}

}  // namespace win32
