// Guards that one program runs once: a named mutex "D1A547DB89C0BC61_" + instance name.
#pragma once

#include <string>

#include "platform/Types.h"

namespace Utils {

class SingleInstance {
  public:
    explicit SingleInstance(std::wstring instanceName) : instanceName_(std::move(instanceName)) {}
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // Creates the mutex if the handle is still null; it stays null when another instance
    // already holds the name or creation failed.
    void Acquire();
    win32::HANDLE Handle() const { return mutex_; }

  private:
    std::wstring instanceName_;
    win32::HANDLE mutex_ = nullptr;
};

}  // namespace Utils
