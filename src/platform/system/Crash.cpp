#include "platform/Crash.h"

#include <signal.h>

#include <atomic>
#include <cstdlib>
#include <exception>

namespace win32 {

namespace {

std::atomic<LPTOP_LEVEL_EXCEPTION_FILTER> currentFilter{nullptr};
std::atomic<bool> reporting{false};  // a crash inside the filter must not run it again

constexpr int kFatalSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};

void RunFilter(DWORD code) {
    LPTOP_LEVEL_EXCEPTION_FILTER filter = currentFilter.load();
    if (filter != nullptr && !reporting.exchange(true)) {
        EXCEPTION_POINTERS exception{code};
        filter(&exception);
    }
}

void OnFatalSignal(int signalNumber) {
    RunFilter(static_cast<DWORD>(signalNumber));
    // Let the default action end the process (with its core dump and exit status).
    ::signal(signalNumber, SIG_DFL);
    ::raise(signalNumber);
}

void OnTerminate() {
    RunFilter(0);
    ::signal(SIGABRT, SIG_DFL);
    std::abort();
}

void InstallHandlers() {
    static char alternateStack[64 * 1024];  // room to report a stack overflow
    stack_t stack{};
    stack.ss_sp = alternateStack;
    stack.ss_size = sizeof alternateStack;
    ::sigaltstack(&stack, nullptr);
    struct sigaction action {};
    action.sa_handler = OnFatalSignal;
    action.sa_flags = SA_ONSTACK | SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    for (int signalNumber : kFatalSignals) {
        ::sigaction(signalNumber, &action, nullptr);
    }
    std::set_terminate(OnTerminate);
}

}  // namespace

LPTOP_LEVEL_EXCEPTION_FILTER SetUnhandledExceptionFilter(LPTOP_LEVEL_EXCEPTION_FILTER filter) {
    static const bool installed = (InstallHandlers(), true);
    (void)installed;
    return currentFilter.exchange(filter);
}

}  // namespace win32
