// The tracker's own failure: a record that does not validate, an unknown enumeration value.
// It never leaves the tracker's wrapper.
#pragma once

#include <exception>
#include <string>

namespace zoren::usage {

class ZrException : public std::exception {
  public:
    ZrException(std::string message, std::string file, std::string function, int line)
        : message_(std::move(message)),
          file_(std::move(file)),
          function_(std::move(function)),
          line_(line) {}

    const char* what() const noexcept override { return message_.c_str(); }
    const std::string& file() const { return file_; }
    const std::string& function() const { return function_; }
    int line() const { return line_; }
    int code() const { return code_; }
    int subCode() const { return subCode_; }

  private:
    std::string message_;
    std::string file_;
    std::string function_;
    int line_;
    int code_ = -1;
    int subCode_ = -1;
};

}  // namespace zoren::usage

// Raises a ZrException naming the tracker operation it belongs to.
#define ZR_RAISE(operation, message) \
    throw ::zoren::usage::ZrException((message), __FILE__, (operation), __LINE__)
