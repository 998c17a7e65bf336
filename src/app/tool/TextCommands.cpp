// quillon-tool md5 | urlencode | argv: the text helpers one at a time.
#include "platform/Process.h"
#include "tool/ToolCommand.h"
#include "tool/Utf8Args.h"
#include "utils/TextConversion.h"

namespace {

int RunMd5(const std::vector<std::string>& args) {
    if (args.size() != 1) {
        return Tool::UsageError("md5");
    }
    const std::wstring digest = Utils::FileMd5(Tool::Wide(args[0]));
    if (digest.empty()) {
        std::fprintf(stderr, "quillon-tool: cannot read %s\n", args[0].c_str());
        return 1;
    }
    Tool::PrintLine(digest);
    return 0;
}

int RunUrlEncode(const std::vector<std::string>& args) {
    if (args.size() != 1) {
        return Tool::UsageError("urlencode");
    }
    Tool::PrintLine(Utils::UrlEncode(Tool::Wide(args[0])));
    return 0;
}

int RunArgv(const std::vector<std::string>& args) {
    if (args.size() != 1) {
        return Tool::UsageError("argv");
    }
    for (const std::wstring& argument : win32::CommandLineToArgvW(Tool::Wide(args[0]))) {
        Tool::PrintLine(argument);
    }
    return 0;
}

}  // namespace

QUILLON_TOOL_COMMAND("md5", "  md5 FILE\n", RunMd5);
QUILLON_TOOL_COMMAND("urlencode", "  urlencode TEXT\n", RunUrlEncode);
QUILLON_TOOL_COMMAND("argv", "  argv COMMANDLINE\n", RunArgv);
