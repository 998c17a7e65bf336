#include "platform/Process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/ioctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <mutex>
#include <thread>

#include "platform/Files.h"
#include "system/KernelObject.h"
#include "system/Utf8.h"

extern char** environ;

namespace win32 {

namespace detail {

class PipeEnd : public KernelObject {
  public:
    explicit PipeEnd(int fd) : fd_(fd) {}
    ~PipeEnd() override { ::close(fd_); }
    int Fd() const { return fd_; }

  private:
    int fd_;
};

class ProcessObject : public KernelObject {
  public:
    explicit ProcessObject(pid_t pid) : pid_(pid) {
        pidfd_ = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
    }
    ~ProcessObject() override {
        if (pidfd_ >= 0) {
            ::close(pidfd_);
        }
        // Closing the handle does not end the child; reap it whenever it ends so it never
        // lingers as a zombie.
        if (!Reaped()) {
            std::thread([pid = pid_] { ::waitpid(pid, nullptr, 0); }).detach();
        }
    }

    DWORD Wait(DWORD milliseconds) override {
        if (Reaped()) {
            return WAIT_OBJECT_0;
        }
        if (pidfd_ >= 0) {
            pollfd entry{pidfd_, POLLIN, 0};
            int timeout = milliseconds == INFINITE ? -1 : static_cast<int>(milliseconds);
            int ready;
            do {
                ready = ::poll(&entry, 1, timeout);
            } while (ready < 0 && errno == EINTR);
            return ready > 0 && Reaped() ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
        }
        // Kernels without pidfd: poll the child's state.
        for (DWORD waited = 0; milliseconds == INFINITE || waited < milliseconds; waited += 5) {
            if (Reaped()) {
                return WAIT_OBJECT_0;
            }
            ::usleep(5000);
        }
        return Reaped() ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
    }

    // True once the child has ended; collects its status the first time.
    bool Reaped() {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!reaped_) {
            int status = 0;
            if (::waitpid(pid_, &status, WNOHANG) == pid_) {
                reaped_ = true;
                exitCode_ = WIFEXITED(status) ? static_cast<DWORD>(WEXITSTATUS(status))
                                              : 128 + static_cast<DWORD>(WTERMSIG(status));
            }
        }
        return reaped_;
    }
    DWORD ExitCode() {
        std::lock_guard<std::mutex> lock(mutex_);
        return exitCode_;
    }
    pid_t Pid() const { return pid_; }

  private:
    const pid_t pid_;
    int pidfd_ = -1;
    std::mutex mutex_;  // guards reaped_ and exitCode_
    bool reaped_ = false;
    DWORD exitCode_ = STILL_ACTIVE;
};

// The child's main thread: only closed, never waited for.
class ProcessThread : public KernelObject {};

}  // namespace detail

namespace {

// A write to a pipe whose reader has gone reports ERROR_BROKEN_PIPE, as on Windows, instead of
// ending the process with SIGPIPE.
void IgnoreSigpipe() {
    static std::once_flag once;
    std::call_once(once, [] { ::signal(SIGPIPE, SIG_IGN); });
}

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t';
}

}  // namespace

BOOL CreatePipe(HANDLE* readEnd, HANDLE* writeEnd, SECURITY_ATTRIBUTES*, DWORD) {
    IgnoreSigpipe();
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        return detail::FailWithErrno();
    }
    *readEnd = detail::ToHandle(new detail::PipeEnd(fds[0]));
    *writeEnd = detail::ToHandle(new detail::PipeEnd(fds[1]));
    return TRUE;
}

BOOL ReadFile(HANDLE handle, void* buffer, DWORD size, DWORD* read, void*) {
    auto* pipe = detail::HandleAs<detail::PipeEnd>(handle);
    if (read != nullptr) {
        *read = 0;
    }
    if (pipe == nullptr) {
        return FALSE;
    }
    ssize_t n;
    do {
        n = ::read(pipe->Fd(), buffer, size);
    } while (n < 0 && errno == EINTR);
    if (n < 0) {
        return detail::FailWithErrno();
    }
    if (n == 0 && size > 0) {
        SetLastError(ERROR_BROKEN_PIPE);
        return FALSE;
    }
    if (read != nullptr) {
        *read = static_cast<DWORD>(n);
    }
    return TRUE;
}

BOOL WriteFile(HANDLE handle, const void* buffer, DWORD size, DWORD* written, void*) {
    auto* pipe = detail::HandleAs<detail::PipeEnd>(handle);
    if (written != nullptr) {
        *written = 0;
    }
    if (pipe == nullptr) {
        return FALSE;
    }
    ssize_t n;
    do {
        n = ::write(pipe->Fd(), buffer, size);
    } while (n < 0 && errno == EINTR);
    if (n < 0) {
        return detail::FailWithErrno();
    }
    if (written != nullptr) {
        *written = static_cast<DWORD>(n);
    }
    return TRUE;
}

BOOL PeekNamedPipe(HANDLE handle, void*, DWORD, DWORD* read, DWORD* available,
                   DWORD* leftThisMessage) {
    auto* pipe = detail::HandleAs<detail::PipeEnd>(handle);
    if (pipe == nullptr) {
        return FALSE;
    }
    int waiting = 0;
    if (::ioctl(pipe->Fd(), FIONREAD, &waiting) != 0) {
        return detail::FailWithErrno();
    }
    if (waiting == 0) {
        pollfd entry{pipe->Fd(), POLLIN, 0};
        if (::poll(&entry, 1, 0) > 0 && (entry.revents & POLLHUP) != 0) {
            SetLastError(ERROR_BROKEN_PIPE);
            return FALSE;
        }
    }
    if (read != nullptr) {
        *read = 0;
    }
    if (available != nullptr) {
        *available = static_cast<DWORD>(waiting);
    }
    if (leftThisMessage != nullptr) {
        *leftThisMessage = 0;
    }
    return TRUE;
}

std::vector<std::wstring> CommandLineToArgvW(const std::wstring& commandLine) {
    std::vector<std::wstring> arguments;
    if (commandLine.empty()) {
        wchar_t path[MAX_PATH];
        GetModuleFileNameW(nullptr, path, MAX_PATH);
        arguments.emplace_back(path);
        return arguments;
    }
    std::size_t i = 0;
    const std::size_t n = commandLine.size();
    // The program: up to the closing quote when it starts with one, else up to a blank;
    // backslashes are taken as they are.
    std::wstring program;
    if (commandLine[0] == L'"') {
        const std::size_t close = commandLine.find(L'"', 1);
        program =
            commandLine.substr(1, close == std::wstring::npos ? std::wstring::npos : close - 1);
        i = close == std::wstring::npos ? n : close + 1;
    }
    while (i < n && !IsBlank(commandLine[i])) {
        program += commandLine[i++];
    }
    arguments.push_back(program);
    while (i < n && IsBlank(commandLine[i])) {
        ++i;
    }
    while (i < n) {
        std::wstring argument;
        bool quoted = false;
        while (i < n && (quoted || !IsBlank(commandLine[i]))) {
            std::size_t backslashes = 0;
            while (i < n && commandLine[i] == L'\\') {
                ++backslashes;
                ++i;
            }
            if (i < n && commandLine[i] == L'"') {
                argument.append(backslashes / 2, L'\\');
                if (backslashes % 2 == 1) {
                    argument += L'"';
                    ++i;
                } else if (quoted && i + 1 < n && commandLine[i + 1] == L'"') {
                    // "" inside a group: a literal quote, and the group ends.
                    argument += L'"';
                    quoted = false;
                    i += 2;
                } else {
                    quoted = !quoted;
                    ++i;
                }
            } else {
                argument.append(backslashes, L'\\');
                if (i < n && (quoted || !IsBlank(commandLine[i]))) {
                    argument += commandLine[i++];
                }
            }
        }
        arguments.push_back(argument);
        while (i < n && IsBlank(commandLine[i])) {
            ++i;
        }
    }
    return arguments;
}

std::wstring QuoteArgument(const std::wstring& argument) {
    if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring::npos) {
        return argument;
    }
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, L'\\');
    quoted += L'"';
    return quoted;
}

const wchar_t* GetCommandLineW() {
    static const std::wstring commandLine = [] {
        std::wstring line;
        if (FILE* file = std::fopen("/proc/self/cmdline", "rb")) {
            std::string bytes;
            char buffer[4096];
            std::size_t n;
            while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
                bytes.append(buffer, n);
            }
            std::fclose(file);
            std::size_t start = 0;
            bool first = true;
            while (start < bytes.size()) {
                std::size_t end = bytes.find('\0', start);
                if (end == std::string::npos) {
                    end = bytes.size();
                }
                const std::wstring argument = detail::Utf8ToWide(bytes.substr(start, end - start));
                if (!first) {
                    line += L' ';
                }
                // The program takes its quotes literally, so it is only ever wrapped in them.
                line += first ? (argument.find_first_of(L" \t") == std::wstring::npos
                                     ? argument
                                     : L"\"" + argument + L"\"")
                              : QuoteArgument(argument);
                first = false;
                start = end + 1;
            }
        }
        return line;
    }();
    return commandLine.c_str();
}

BOOL CreateProcessW(const wchar_t* applicationName, wchar_t* commandLine, SECURITY_ATTRIBUTES*,
                    SECURITY_ATTRIBUTES*, BOOL, DWORD, void* environment,
                    const wchar_t* currentDirectory, STARTUPINFOW* startupInfo,
                    PROCESS_INFORMATION* processInformation) {
    if (commandLine == nullptr && applicationName == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::vector<std::wstring> words =
        CommandLineToArgvW(commandLine != nullptr ? commandLine : applicationName);
    const std::string program =
        NativePath(applicationName != nullptr ? std::wstring(applicationName) : words[0]);
    if (program.empty()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return FALSE;
    }
    std::vector<std::string> argumentBytes;
    for (std::size_t k = 0; k < words.size(); ++k) {
        argumentBytes.push_back(k == 0 ? program : detail::WideToUtf8(words[k]));
    }
    std::vector<char*> argv;
    for (std::string& argument : argumentBytes) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (startupInfo != nullptr && (startupInfo->dwFlags & STARTF_USESTDHANDLES) != 0) {
        const HANDLE standard[3] = {startupInfo->hStdInput, startupInfo->hStdOutput,
                                    startupInfo->hStdError};
        for (int fd = 0; fd < 3; ++fd) {
            if (auto* pipe = dynamic_cast<detail::PipeEnd*>(
                    static_cast<detail::KernelObject*>(standard[fd]))) {
                posix_spawn_file_actions_adddup2(&actions, pipe->Fd(), fd);
            }
        }
    }
    std::string directory;
    if (currentDirectory != nullptr) {
        directory = NativePath(currentDirectory);
        posix_spawn_file_actions_addchdir_np(&actions, directory.c_str());
    }
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults, empty;
    sigemptyset(&empty);
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setsigmask(&attributes, &empty);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);

    char** env = environment != nullptr ? static_cast<char**>(environment) : environ;
    pid_t pid = 0;
    const bool searchPath = program.find('/') == std::string::npos;
    const int error =
        searchPath ? ::posix_spawnp(&pid, program.c_str(), &actions, &attributes, argv.data(), env)
                   : ::posix_spawn(&pid, program.c_str(), &actions, &attributes, argv.data(), env);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (error != 0) {
        SetLastError(detail::ErrorFromErrno(error));
        return FALSE;
    }
    processInformation->hProcess = detail::ToHandle(new detail::ProcessObject(pid));
    processInformation->hThread = detail::ToHandle(new detail::ProcessThread());
    processInformation->dwProcessId = static_cast<DWORD>(pid);
    processInformation->dwThreadId = static_cast<DWORD>(pid);
    return TRUE;
}

BOOL GetExitCodeProcess(HANDLE process, DWORD* exitCode) {
    auto* child = detail::HandleAs<detail::ProcessObject>(process);
    if (child == nullptr || exitCode == nullptr) {
        return FALSE;
    }
    *exitCode = child->Reaped() ? child->ExitCode() : STILL_ACTIVE;
    return TRUE;
}

BOOL TerminateProcess(HANDLE process, UINT) {
    auto* child = detail::HandleAs<detail::ProcessObject>(process);
    if (child == nullptr) {
        return FALSE;
    }
    if (child->Reaped()) {
        return TRUE;
    }
    return ::kill(child->Pid(), SIGKILL) == 0 ? TRUE : detail::FailWithErrno();
}

}  // namespace win32
