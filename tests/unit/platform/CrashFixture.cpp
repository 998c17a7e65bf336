// A program that installs the crash filter, then fails the way its argument says. The filter
// writes a marker line to standard output, so the test sees that it ran before the end.
// With "console" it says instead whether its standard error is a console.
#include <csignal>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "platform/Console.h"
#include "platform/Crash.h"

namespace {
win32::LONG Filter(win32::EXCEPTION_POINTERS* exception) {
    std::printf("filter ran for %u\n", static_cast<unsigned>(exception->ExceptionCode));
    std::fflush(stdout);
    return win32::EXCEPTION_CONTINUE_SEARCH;
}
}  // namespace

int main(int argc, char** argv) {
    win32::SetUnhandledExceptionFilter(&Filter);
    const char* how = argc > 1 ? argv[1] : "";
    if (std::strcmp(how, "segv") == 0) {
        std::raise(SIGSEGV);
    } else if (std::strcmp(how, "console") == 0) {
        std::printf("console %d\n", win32::IsConsoleHandle(win32::STD_ERROR_HANDLE) ? 1 : 0);
    } else if (std::strcmp(how, "throw") == 0) {
        throw std::runtime_error("nobody catches this");
    }
    return 0;
}
