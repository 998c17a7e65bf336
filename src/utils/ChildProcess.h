// A hidden child process whose standard streams are redirected into anonymous pipes.
#pragma once

#include <string>

#include "platform/Process.h"

namespace Utils {

// An anonymous pipe; throws Utils::Exception when the system refuses one.
class Pipe {
  public:
    Pipe();
    ~Pipe();
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;

    win32::HANDLE ReadEnd() const { return readEnd_; }
    win32::HANDLE WriteEnd() const { return writeEnd_; }
    void CloseReadEnd();
    void CloseWriteEnd();

  private:
    win32::HANDLE writeEnd_ = nullptr;
    win32::HANDLE readEnd_ = nullptr;
};

class ChildProcess {
  public:
    static constexpr std::size_t kCommandLineCapacity = 1024;

    ChildProcess();  // creates the error, output and input pipes, in that order
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Starts the command line hidden with the three pipes as its standard streams. Throws
    // Utils::Exception when the process cannot be created, and also when the line does not fit
    // the 1024-character buffer: running a cut-off command would start something else.
    void Run(const std::wstring& commandLine);
    void Close();

    Pipe& Output() { return output_; }
    Pipe& Error() { return error_; }
    Pipe& Input() { return input_; }
    const win32::PROCESS_INFORMATION& ProcessInformation() const { return processInformation_; }
    win32::HANDLE ProcessHandle() const { return processInformation_.hProcess; }

  private:
    wchar_t commandLine_[kCommandLineCapacity] = {};
    Pipe error_;
    Pipe output_;
    Pipe input_;
    win32::PROCESS_INFORMATION processInformation_ = {};
};

}  // namespace Utils
