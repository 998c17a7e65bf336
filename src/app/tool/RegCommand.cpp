// quillon-tool reg get|set: values of the product's registry key.
#include "tool/ToolCommand.h"
#include "tool/Utf8Args.h"
#include "utils/MachineFacts.h"

namespace {

int RunReg(const std::vector<std::string>& args) {
    if (args.size() == 2 && args[0] == "get") {
        std::wstring value;
        if (!Utils::ReadProductRegistryValue(Tool::Wide(args[1]), &value)) {
            std::fprintf(stderr, "quillon-tool: no value %s\n", args[1].c_str());
            return 1;
        }
        Tool::PrintLine(value);
        return 0;
    }
    if (args.size() == 3 && args[0] == "set") {
        return Utils::WriteProductRegistryValue(Tool::Wide(args[1]), Tool::Wide(args[2])) ? 0 : 1;
    }
    return Tool::UsageError("reg");
}

}  // namespace

QUILLON_TOOL_COMMAND("reg", "  reg get NAME\n  reg set NAME VALUE\n", RunReg);
