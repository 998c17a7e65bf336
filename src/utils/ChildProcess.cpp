#include "utils/ChildProcess.h"

#include <cwchar>

#include "utils/Exception.h"

namespace Utils {

Pipe::Pipe() {
    win32::SECURITY_ATTRIBUTES attributes{sizeof(win32::SECURITY_ATTRIBUTES), nullptr, win32::TRUE};
    if (!win32::CreatePipe(&readEnd_, &writeEnd_, &attributes, 0)) {
        readEnd_ = writeEnd_ = nullptr;
        throw Exception("CreatePipe failed", win32::GetLastError());
    }
}

Pipe::~Pipe() {
    CloseReadEnd();
    CloseWriteEnd();
}

void Pipe::CloseReadEnd() {
    if (readEnd_ != nullptr) {
        win32::CloseHandle(readEnd_);
        readEnd_ = nullptr;
    }
}

void Pipe::CloseWriteEnd() {
    if (writeEnd_ != nullptr) {
        win32::CloseHandle(writeEnd_);
        writeEnd_ = nullptr;
    }
}

ChildProcess::ChildProcess() = default;

ChildProcess::~ChildProcess() {
    Close();
}

void ChildProcess::Run(const std::wstring& commandLine) {
    if (commandLine.size() >= kCommandLineCapacity) {
        throw Exception("command line longer than 1023 characters", win32::ERROR_INVALID_PARAMETER);
    }
    std::wmemcpy(commandLine_, commandLine.c_str(), commandLine.size() + 1);

    win32::STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = win32::STARTF_USESTDHANDLES | win32::STARTF_USESHOWWINDOW;
    startup.wShowWindow = win32::SW_HIDE;
    startup.hStdInput = input_.ReadEnd();
    startup.hStdOutput = output_.WriteEnd();
    startup.hStdError = error_.WriteEnd();
    win32::SetHandleInformation(output_.ReadEnd(), win32::HANDLE_FLAG_INHERIT, 0);
    win32::SetHandleInformation(error_.ReadEnd(), win32::HANDLE_FLAG_INHERIT, 0);
    win32::SetHandleInformation(input_.WriteEnd(), win32::HANDLE_FLAG_INHERIT, 0);

    if (!win32::CreateProcessW(nullptr, commandLine_, nullptr, nullptr, win32::TRUE, 0, nullptr,
                               nullptr, &startup, &processInformation_)) {
        processInformation_ = {};
        throw Exception("CreateProcess failed", win32::GetLastError());
    }
    // Without the parent's copies of the child's ends, reads end when the child (and whatever
    // it started) closes its output.
    output_.CloseWriteEnd();
    error_.CloseWriteEnd();
    input_.CloseReadEnd();
}

void ChildProcess::Close() {
    if (processInformation_.hProcess != nullptr) {
        win32::CloseHandle(processInformation_.hProcess);
    }
    if (processInformation_.hThread != nullptr) {
        win32::CloseHandle(processInformation_.hThread);
    }
    processInformation_.hProcess = processInformation_.hThread = nullptr;
    for (Pipe* pipe : {&error_, &output_, &input_}) {
        pipe->CloseReadEnd();
        pipe->CloseWriteEnd();
    }
}

}  // namespace Utils
