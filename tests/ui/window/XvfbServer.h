// An Xvfb server of the test's own, and xdotool runs against it: real X input through XTEST.
#pragma once

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

extern char** environ;

namespace xvfb {

inline bool Installed(const char* program) {
    const char* path = std::getenv("PATH");
    std::string paths = path != nullptr ? path : "/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= paths.size()) {
        std::size_t end = paths.find(':', start);
        std::string dir = paths.substr(start, end == std::string::npos ? end : end - start);
        if (!dir.empty() && access((dir + "/" + program).c_str(), X_OK) == 0) {
            return true;
        }
        if (end == std::string::npos) {
            break;
        }
        start = end + 1;
    }
    return false;
}

inline pid_t Spawn(const std::vector<std::string>& arguments,
                   posix_spawn_file_actions_t* actions = nullptr) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawnp(&pid, argv[0], actions, nullptr, argv.data(), environ) != 0) {
        return -1;
    }
    return pid;
}

inline bool Exited(pid_t pid) {
    int status;
    return waitpid(pid, &status, WNOHANG) == pid;
}

// Starts Xvfb on a free display and points DISPLAY at it; stops it when destroyed.
class Server {
  public:
    bool Start() {
        int fds[2];
        if (pipe(fds) != 0) {
            return false;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        pid_ = Spawn({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", "1280x800x24",
                      "-br", "-nolisten", "tcp", "-noreset"},
                     &actions);
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        std::string number;
        char c;
        while (pid_ > 0 && read(fds[0], &c, 1) == 1 && c != '\n') {
            number.push_back(c);
        }
        close(fds[0]);
        if (number.empty()) {
            return false;
        }
        display_ = ":" + number;
        setenv("DISPLAY", display_.c_str(), 1);
        setenv("QUILLON_DISPLAY", "x11", 1);
        return true;
    }

    ~Server() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            int status;
            waitpid(pid_, &status, 0);
        }
    }

  private:
    pid_t pid_ = -1;
    std::string display_;
};

}  // namespace xvfb
