// Runs a real program through Utils::ChildProcess and collects its output and exit status.
#pragma once

#include <string>
#include <thread>

#include "platform/Handle.h"
#include "platform/Process.h"
#include "utils/ChildProcess.h"
#include "utils/TextConversion.h"

namespace TestSupport {

struct ProgramResult {
    int exitCode;
    std::string output;
};

inline ProgramResult RunProgram(const std::wstring& commandLine) {
    Utils::ChildProcess child;
    child.Run(commandLine);
    child.Input().CloseWriteEnd();
    std::string output;
    char buffer[4096];
    win32::DWORD read = 0;
    while (win32::ReadFile(child.Output().ReadEnd(), buffer, sizeof buffer, &read, nullptr)) {
        output.append(buffer, read);
    }
    win32::WaitForSingleObject(child.ProcessHandle(), win32::INFINITE);
    win32::DWORD exitCode = 0;
    win32::GetExitCodeProcess(child.ProcessHandle(), &exitCode);
    return {static_cast<int>(exitCode), output};
}

// Runs a shell script in two processes at once, with "a" and "b" as their $0; true when both
// exit with 0.
inline bool RunTwoShellWritersAtOnce(const std::string& script) {
    auto writer = [&](const char* name) {
        return RunProgram(L"sh -c " + win32::QuoteArgument(Utils::FromUtf8(script)) + L" " +
                          Utils::FromUtf8(name));
    };
    ProgramResult first, second;
    std::thread a([&] { first = writer("a"); });
    std::thread b([&] { second = writer("b"); });
    a.join();
    b.join();
    return first.exitCode == 0 && second.exitCode == 0;
}

inline std::wstring BinPath(const char* program) {
    return Utils::FromUtf8(std::string(QUILLON_BIN) + "/" + program);
}

}  // namespace TestSupport
