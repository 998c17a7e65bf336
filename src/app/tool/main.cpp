// quillon-tool: the installer's subsystems one by one, with stable line-oriented output.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tool/ToolCommand.h"

namespace Tool {

namespace {
std::vector<Command>& Registry() {
    static std::vector<Command> commands;
    return commands;
}
}  // namespace

CommandRegistration::CommandRegistration(const Command& command) { Registry().push_back(command); }

const std::vector<Command>& Commands() { return Registry(); }

int UsageError(const char* commandName) {
    for (const Command& command : Commands()) {
        if (std::strcmp(command.name, commandName) == 0) {
            std::fprintf(stderr, "usage:\n%s", command.usage);
        }
    }
    return 2;
}

}  // namespace Tool

static int PrintUsage() {
    std::vector<Tool::Command> commands = Tool::Commands();
    std::sort(commands.begin(), commands.end(),
              [](const Tool::Command& a, const Tool::Command& b) {
                  return std::strcmp(a.name, b.name) < 0;
              });
    std::fprintf(stderr, "usage: quillon-tool COMMAND [ARGS...]\n");
    for (const Tool::Command& command : commands) {
        std::fprintf(stderr, "%s", command.usage);
    }
    return 2;
}

int main(int argc, char** argv) {
    if (argc < 2) {
        return PrintUsage();
    }
    for (const Tool::Command& command : Tool::Commands()) {
        if (std::strcmp(command.name, argv[1]) == 0) {
            return command.run(std::vector<std::string>(argv + 2, argv + argc));
        }
    }
    std::fprintf(stderr, "quillon-tool: unknown command '%s'\n", argv[1]);
    return PrintUsage();
}
