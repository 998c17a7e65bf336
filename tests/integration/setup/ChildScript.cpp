#include "integration/setup/ChildScript.h"

#include <fstream>

namespace SetupTest {

ChildScript::ChildScript(const std::string& path, const std::string& scenario, bool executable)
    : argsFile_(path + ".args") {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path) << "#!/bin/sh\nexec python3 '" QUILLON_FIXTURES "/setup/child_setup.py' '"
                        << scenario << "' '" << argsFile_ << "' \"$@\"\n";
    namespace fs = std::filesystem;
    fs::permissions(
        path, executable ? fs::perms::owner_all : fs::perms::owner_read | fs::perms::owner_write,
        fs::perm_options::replace);
}

std::vector<std::string> ChildScript::Arguments() const {
    std::vector<std::string> arguments;
    std::ifstream file(argsFile_);
    for (std::string line; std::getline(file, line);) {
        arguments.push_back(line);
    }
    return arguments;
}

bool ChildScript::Ended() const {
    return std::filesystem::exists(argsFile_ + ".ended");
}

}  // namespace SetupTest
