#include "setup/ExecutableFile.h"

#include <filesystem>

#include "platform/Files.h"

bool MarkExecutable(const std::wstring& path) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path file = win32::NativePath(path);
    const fs::perms current = fs::status(file, error).permissions();
    if (error) {
        return false;
    }
    fs::perms execute = fs::perms::none;
    if ((current & fs::perms::owner_read) != fs::perms::none) {
        execute |= fs::perms::owner_exec;
    }
    if ((current & fs::perms::group_read) != fs::perms::none) {
        execute |= fs::perms::group_exec;
    }
    if ((current & fs::perms::others_read) != fs::perms::none) {
        execute |= fs::perms::others_exec;
    }
    fs::permissions(file, execute, fs::perm_options::add, error);
    return !error;
}
