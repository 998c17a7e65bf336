// The library's exception: a pipe or a process the system would not create.
#pragma once

#include <stdexcept>
#include <string>

#include "platform/Types.h"

namespace Utils {

class Exception : public std::runtime_error {
  public:
    Exception(const std::string& what, win32::DWORD systemError)
        : std::runtime_error(what), systemError_(systemError) {}
    win32::DWORD SystemError() const { return systemError_; }

  private:
    win32::DWORD systemError_;
};

}  // namespace Utils
