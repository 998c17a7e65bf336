// An Xvfb server of the test's own, and xdotool runs against it: real X input through XTEST.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/Process.h"
#include "platform/Thread.h"

namespace xvfb {

inline bool Installed(const char* program) {
    const char* path = std::getenv("PATH");
    std::string dirs = path != nullptr ? path : "/usr/bin:/bin";
    std::size_t start = 0;
    for (;;) {
        std::size_t end = dirs.find(':', start);
        std::filesystem::path candidate =
            std::filesystem::path(dirs.substr(start, end - start)) / program;
        std::error_code error;
        if (std::filesystem::is_regular_file(candidate, error)) {
            return true;
        }
        if (end == std::string::npos) {
            return false;
        }
        start = end + 1;
    }
}

// A child program; null when it could not be started.
inline win32::HANDLE Start(const std::wstring& commandLine) {
    std::wstring buffer = commandLine;
    win32::STARTUPINFOW startup{sizeof startup, 0, 0, nullptr, nullptr, nullptr};
    win32::PROCESS_INFORMATION process{};
    if (!win32::CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, win32::FALSE, 0, nullptr,
                               nullptr, &startup, &process)) {
        return nullptr;
    }
    win32::CloseHandle(process.hThread);
    return process.hProcess;
}

inline bool Exited(win32::HANDLE process) {
    win32::DWORD code = win32::STILL_ACTIVE;
    return win32::GetExitCodeProcess(process, &code) && code != win32::STILL_ACTIVE;
}

inline void Stop(win32::HANDLE process) {
    win32::TerminateProcess(process, 1);
    win32::WaitForSingleObject(process, win32::INFINITE);
    win32::CloseHandle(process);
}

// Starts Xvfb on a free display and points DISPLAY at it; stops it when destroyed.
class Server {
  public:
    bool Start() {
        for (int number = 50; number < 100; ++number) {
            std::string socket = "/tmp/.X11-unix/X" + std::to_string(number);
            std::string lock = "/tmp/.X" + std::to_string(number) + "-lock";
            if (std::filesystem::exists(socket) || std::filesystem::exists(lock)) {
                continue;
            }
            process_ = xvfb::Start(L"Xvfb :" + std::to_wstring(number) +
                                   L" -screen 0 1280x800x24 -br -nolisten tcp -noreset");
            if (process_ == nullptr) {
                return false;
            }
            for (int wait = 0; wait < 200 && !Exited(process_); ++wait) {
                if (std::filesystem::exists(socket)) {
                    std::string display = ":" + std::to_string(number);
                    setenv("DISPLAY", display.c_str(), 1);
                    setenv("QUILLON_DISPLAY", "x11", 1);
                    return true;
                }
                win32::Sleep(50);
            }
            Stop(process_);
            process_ = nullptr;
        }
        return false;
    }

    ~Server() {
        if (process_ != nullptr) {
            Stop(process_);
        }
    }

  private:
    win32::HANDLE process_ = nullptr;
};

}  // namespace xvfb
