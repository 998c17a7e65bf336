#include "setup/ChildSession.h"

#include <cstring>

#include "platform/Handle.h"

ChildSession::ChildSession(const std::wstring& commandLine) {
    process_.Run(commandLine);
    // Nothing is ever written to the child; it sees its input end at once.
    process_.Input().CloseWriteEnd();
    errorDrain_ = std::make_unique<PipeDrain>(process_.Error().ReadEnd());
}

ChildSession::~ChildSession() {
    WaitForEnd(win32::INFINITE);
    if (outputDrain_ != nullptr) {
        outputDrain_->Stop();
    }
    errorDrain_->Stop();
    process_.Close();
}

// The process handle rather than the exit code: a child may exit with STILL_ACTIVE's number.
bool ChildSession::HasEnded() const {
    return win32::WaitForSingleObject(process_.ProcessHandle(), 0) == win32::WAIT_OBJECT_0;
}

bool ChildSession::OutputWaiting() {
    win32::DWORD waiting = 0;
    return outputDrain_ == nullptr &&
           win32::PeekNamedPipe(process_.Output().ReadEnd(), nullptr, 0, nullptr, &waiting,
                                nullptr) &&
           waiting > 0;
}

bool ChildSession::ReadChunk(std::string* chunk) {
    char buffer[kChunkSize];
    win32::DWORD read = 0;
    if (!win32::ReadFile(process_.Output().ReadEnd(), buffer, sizeof buffer, &read, nullptr)) {
        return false;
    }
    chunk->assign(buffer, strnlen(buffer, read));
    return true;
}

void ChildSession::WaitForEnd(win32::DWORD milliseconds) {
    win32::WaitForSingleObject(process_.ProcessHandle(), milliseconds);
}

void ChildSession::DiscardOutput() {
    if (outputDrain_ == nullptr) {
        outputDrain_ = std::make_unique<PipeDrain>(process_.Output().ReadEnd());
    }
}
