// quillon-tool ini get|set: the private-profile functions on one file.
#include <cstdlib>
#include <vector>

#include "platform/Ini.h"
#include "tool/ToolCommand.h"
#include "tool/Utf8Args.h"

namespace {

int RunIni(const std::vector<std::string>& args) {
    if (args.size() >= 5 && args.size() <= 6 && args[0] == "get") {
        const long size = args.size() == 6 ? std::strtol(args[5].c_str(), nullptr, 10) : 260;
        if (size < 0 || size > 1 << 20) {
            return Tool::UsageError("ini");
        }
        std::vector<wchar_t> buffer(static_cast<std::size_t>(size) + 1, L'\0');
        win32::GetPrivateProfileStringW(
            Tool::Wide(args[2]).c_str(), Tool::Wide(args[3]).c_str(), Tool::Wide(args[4]).c_str(),
            buffer.data(), static_cast<win32::DWORD>(size), Tool::Wide(args[1]).c_str());
        Tool::PrintLine(buffer.data());
        return 0;
    }
    if (args.size() == 5 && args[0] == "set") {
        const bool ok = win32::WritePrivateProfileStringW(
            Tool::Wide(args[2]).c_str(), Tool::Wide(args[3]).c_str(), Tool::Wide(args[4]).c_str(),
            Tool::Wide(args[1]).c_str());
        if (!ok) {
            std::fprintf(stderr, "quillon-tool: cannot write %s (error %u)\n", args[1].c_str(),
                         static_cast<unsigned>(win32::GetLastError()));
            return 1;
        }
        return 0;
    }
    return Tool::UsageError("ini");
}

}  // namespace

QUILLON_TOOL_COMMAND("ini",
                     "  ini get FILE SECTION KEY DEFAULT [SIZE]\n"
                     "  ini set FILE SECTION KEY VALUE\n",
                     RunIni);
