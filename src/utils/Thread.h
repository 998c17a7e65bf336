// A worker thread that is created suspended and started by its owner with Resume.
#pragma once

#include <functional>
#include <string>

#include "platform/Types.h"

namespace Utils {

class Thread {
  public:
    using Body = std::function<void(void*)>;

    // Creates the thread suspended and names it ("t<id>" when the name is empty).
    Thread(Body body, void* argument, const std::wstring& name);
    ~Thread();  // waits for the thread without a time limit
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;

    bool Resume();
    // Waits for a resumed thread; a thread never resumed is released without running, since
    // waiting for it would never end.
    void Join();

    win32::DWORD Id() const { return threadId_; }
    bool HasThread() const { return handle_ != nullptr; }

  private:
    static win32::DWORD CallBack(void* self);

    win32::DWORD threadId_ = static_cast<win32::DWORD>(-1);
    win32::HANDLE handle_ = nullptr;
    bool resumed_ = false;
    Body body_;
    void* argument_;
    std::wstring name_;
};

}  // namespace Utils
