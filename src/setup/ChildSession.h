// One run of a child setup program: started hidden with its three standard streams on pipes,
// its standard error drained from the start, its standard output read in chunks.
#pragma once

#include <memory>
#include <string>

#include "setup/PipeDrain.h"
#include "utils/ChildProcess.h"

class ChildSession {
  public:
    static constexpr std::size_t kChunkSize = 1024;

    // Throws Utils::Exception when the child cannot be started, also when the command line
    // does not fit 1023 characters.
    explicit ChildSession(const std::wstring& commandLine);
    ~ChildSession();  // waits for the child
    ChildSession(const ChildSession&) = delete;
    ChildSession& operator=(const ChildSession&) = delete;

    bool HasEnded() const;
    // Output the child wrote and nobody has read yet.
    bool OutputWaiting();

    // Reads at most kChunkSize bytes, waiting until the child writes something or closes its
    // output; the bytes are cut at the first zero byte. False when nothing could be read.
    bool ReadChunk(std::string* chunk);

    // Waits up to the given time for the child to end.
    void WaitForEnd(win32::DWORD milliseconds);

    // Discards the rest of the standard output from now on.
    void DiscardOutput();

  private:
    Utils::ChildProcess process_;
    std::unique_ptr<PipeDrain> errorDrain_;
    std::unique_ptr<PipeDrain> outputDrain_;
};
