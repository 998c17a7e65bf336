// The worker thread of a downloader's current attempt. The next attempt may be started from
// the current worker itself (its DL_CODE_RETRY report makes the owner call Start again), and a
// thread cannot wait for itself: such a worker is kept aside and waited for later.
#pragma once

#include <functional>
#include <memory>
#include <mutex>

#include "utils/Thread.h"

class WorkerSlot {
  public:
    ~WorkerSlot();  // waits for every worker

    // Waits for the previous worker (unless it is the calling thread), then starts body on a
    // new worker named "ABDEF".
    void Replace(std::function<void()> body);

    // Waits for every worker; for the owner's destructor, before its members go.
    void JoinAll();

  private:
    std::mutex lock_;  // guards current_ and retired_
    std::unique_ptr<Utils::Thread> current_;
    std::unique_ptr<Utils::Thread> retired_;  // a worker that started its own successor
};
