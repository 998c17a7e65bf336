#include "setup/PipeDrain.h"

#include "platform/Process.h"
#include "platform/Thread.h"

namespace {
constexpr win32::DWORD kIdlePauseMs = 10;
}

PipeDrain::PipeDrain(win32::HANDLE readEnd) : readEnd_(readEnd) {
    thread_ = std::make_unique<Utils::Thread>([this](void*) { Run(); }, nullptr, L"PipeDrain");
    thread_->Resume();
}

PipeDrain::~PipeDrain() {
    Stop();
}

void PipeDrain::Stop() {
    stopping_ = true;
    thread_->Join();
}

void PipeDrain::Run() {
    char discarded[65536];
    while (!stopping_) {
        win32::DWORD waiting = 0;
        if (!win32::PeekNamedPipe(readEnd_, nullptr, 0, nullptr, &waiting, nullptr)) {
            return;  // every writer is gone
        }
        if (waiting == 0) {
            win32::Sleep(kIdlePauseMs);
            continue;
        }
        win32::DWORD read = 0;
        const win32::DWORD size = waiting < sizeof discarded ? waiting : sizeof discarded;
        if (!win32::ReadFile(readEnd_, discarded, size, &read, nullptr)) {
            return;
        }
    }
}
