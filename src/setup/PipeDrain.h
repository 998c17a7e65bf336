// Reads and discards what a child writes to one of its pipes, on a thread of its own, so that
// a chatty child never blocks on a full pipe while the runner waits for it to end.
#pragma once

#include <atomic>
#include <memory>

#include "platform/Types.h"
#include "utils/Thread.h"

class PipeDrain {
  public:
    explicit PipeDrain(win32::HANDLE readEnd);
    ~PipeDrain();  // stops
    PipeDrain(const PipeDrain&) = delete;
    PipeDrain& operator=(const PipeDrain&) = delete;

    // Stops reading and waits for the thread. A descendant of the child may keep the pipe
    // open for ever, so the drain never waits for the pipe's end.
    void Stop();

  private:
    void Run();

    win32::HANDLE readEnd_;
    std::atomic<bool> stopping_{false};
    std::unique_ptr<Utils::Thread> thread_;
};
