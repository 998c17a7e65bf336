// quillon-tool facts [PATH]: what the installer learns about the machine.
#include <cinttypes>

#include "platform/Com.h"
#include "tool/ToolCommand.h"
#include "tool/Utf8Args.h"
#include "utils/MachineFacts.h"

namespace {

int RunFacts(const std::vector<std::string>& args) {
    if (args.size() > 1) {
        return Tool::UsageError("facts");
    }
    Tool::PrintLine(L"OSName=" + Utils::GetOSName());
    std::printf("Is64Bit=%s\n", Utils::Is64BitSystem() ? "true" : "false");
    const std::wstring path = args.empty() ? L"/" : Tool::Wide(args[0]);
    Utils::HardDiskManager disk;
    if (disk.CheckFreeSpace(path.c_str())) {
        std::printf("FreeBytes=%" PRIu64 "\n", disk.FreeBytesAvailableToCaller());
    } else {
        std::printf("FreeBytes=unknown\n");
    }
    win32::CoInitializeEx(nullptr, win32::COINIT_APARTMENTTHREADED);
    const win32::DWORD network = Utils::CheckNetwork();
    win32::CoUninitialize();
    std::printf("NetworkVerdict=%u\nNetworkFlags=0x%04X\n", Utils::NetworkVerdict(network),
                static_cast<unsigned>(network & 0xFFFF));
    const std::wstring user = Utils::GetActiveConsoleUserName();
    Tool::PrintLine(L"ConsoleUser=" + user);
    std::printf("AdminAccount=%s\n", Utils::IsAdministratorAccount(user) ? "true" : "false");
    std::printf("AdminToken=%s\n", Utils::IsAdministratorToken() ? "true" : "false");
    Tool::PrintLine(L"NewIdentifier=" + Utils::NewIdentifierText());
    return 0;
}

}  // namespace

QUILLON_TOOL_COMMAND("facts", "  facts [PATH]\n", RunFacts);
