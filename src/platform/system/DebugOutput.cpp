#include "platform/DebugOutput.h"

#include <syslog.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>

#include "system/Utf8.h"

namespace win32 {

namespace {

// Where lines go besides the system log, read once from QUILLON_TRACE.
struct TraceTarget {
    bool toStderr = false;
    std::string file;
    TraceTarget() {
        const char* target = std::getenv("QUILLON_TRACE");
        if (target == nullptr || *target == '\0') {
            return;
        }
        if (std::strcmp(target, "stderr") == 0) {
            toStderr = true;
        } else {
            file = target;
        }
    }
};

const TraceTarget& Target() {
    static const TraceTarget target;
    return target;
}

std::mutex fileMutex;  // guards appends to the trace file, so lines from threads stay whole

}  // namespace

void OutputDebugStringW(const wchar_t* text) {
    if (text == nullptr) {
        return;
    }
    std::string line = detail::WideToUtf8(text);
    syslog(LOG_DEBUG, "%s", line.c_str());
    // A debugger shows every call as a line of its own; a stream needs the line end for that.
    if (line.empty() || line.back() != '\n') {
        line += '\n';
    }
    const TraceTarget& target = Target();
    if (target.toStderr) {
        // One write per line: the kernel keeps a single write to a pipe or terminal whole.
        [[maybe_unused]] ssize_t n = ::write(STDERR_FILENO, line.data(), line.size());
    }
    if (!target.file.empty()) {
        std::lock_guard<std::mutex> lock(fileMutex);
        if (FILE* file = std::fopen(target.file.c_str(), "ab")) {
            std::fwrite(line.data(), 1, line.size(), file);
            std::fclose(file);
        }
    }
}

}  // namespace win32
