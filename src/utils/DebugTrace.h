// One-line diagnostic traces to the debugger output channel.
//
// UTILS_TRACE(format, args...) writes the fixed prefix (process, thread, local time, function,
// line) followed by the message; UTILS_TRACE_LINE does the same and ends the line with "\r\n".
// Formats follow the Windows wide convention: "%s" is a wide string, "%c" a wide character,
// "%ld" a 32-bit number. WideFormat turns them into the C library's convention.
#pragma once

#include <cstdarg>
#include <string>

#include "platform/Types.h"

namespace Utils {

#define UTILS_TRACE_PREFIX L"<P%05d><T%05d><%04d-%02d-%02d %02d:%02d:%02d.%03d>(%s)<%04d>: "

// Formats and writes one line; no state, any thread.
void DebugTrace(const wchar_t* format, ...);

// printf-style formatting of any length with Windows wide conventions.
std::wstring WideFormat(const wchar_t* format, ...);
std::wstring WideFormatV(const wchar_t* format, va_list args);

// The qualified function name ("Utils::Thread::CallBack") from the compiler's signature text.
std::wstring QualifiedFunctionName(const char* prettyFunction);

// The values that fill the prefix, taken at the trace point.
struct TraceStamp {
    int processId;
    int threadId;
    int year, month, day, hour, minute, second, millisecond;
    static TraceStamp Now();
};

}  // namespace Utils

#define UTILS_TRACE(format, ...)                                                                 \
    do {                                                                                         \
        static const std::wstring utilsTraceFunction_ =                                          \
            ::Utils::QualifiedFunctionName(__PRETTY_FUNCTION__);                                 \
        const ::Utils::TraceStamp utilsTraceStamp_ = ::Utils::TraceStamp::Now();                 \
        ::Utils::DebugTrace(UTILS_TRACE_PREFIX format, utilsTraceStamp_.processId,               \
                            utilsTraceStamp_.threadId, utilsTraceStamp_.year,                    \
                            utilsTraceStamp_.month, utilsTraceStamp_.day, utilsTraceStamp_.hour, \
                            utilsTraceStamp_.minute, utilsTraceStamp_.second,                    \
                            utilsTraceStamp_.millisecond, utilsTraceFunction_.c_str(),           \
                            __LINE__ __VA_OPT__(, ) __VA_ARGS__);                                \
    } while (0)

#define UTILS_TRACE_LINE(format, ...) UTILS_TRACE(format L"\r\n" __VA_OPT__(, ) __VA_ARGS__)
