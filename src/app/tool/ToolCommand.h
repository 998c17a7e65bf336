// quillon-tool's commands. Each command group lives in one file of this folder and registers
// itself with QUILLON_TOOL_COMMAND; main() dispatches on the first argument.
#pragma once

#include <string>
#include <vector>

namespace Tool {

// Arguments after the command name, as UTF-8. Returns the process's exit status.
using CommandFunction = int (*)(const std::vector<std::string>& args);

struct Command {
    const char* name;
    const char* usage;  // one line per form, without the program name
    CommandFunction run;
};

class CommandRegistration {
  public:
    explicit CommandRegistration(const Command& command);
};

const std::vector<Command>& Commands();

// Prints the command's usage to standard error and returns 2.
int UsageError(const char* commandName);

}  // namespace Tool

#define QUILLON_TOOL_CONCAT_(a, b) a##b
#define QUILLON_TOOL_NAME_(line) QUILLON_TOOL_CONCAT_(toolCommandRegistration, line)
#define QUILLON_TOOL_COMMAND(name, usage, function)                         \
    static const ::Tool::CommandRegistration QUILLON_TOOL_NAME_(__LINE__) { \
        { name, usage, function }                                           \
    }
