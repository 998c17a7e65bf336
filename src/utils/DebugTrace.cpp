#include "utils/DebugTrace.h"

#include <cstdio>
#include <cstdlib>
#include <cwchar>

#include "platform/DebugOutput.h"
#include "platform/SystemInfo.h"
#include "platform/Time.h"

namespace Utils {

namespace {

// Windows reads "%s" and "%c" in a wide format as wide ("%hs", "%S" as narrow) and "l" as 32
// bits; the C library reads "%s" as narrow and "l" as its 64-bit long. Rewrites one format
// from the first convention to the second.
std::wstring ToLibraryFormat(const wchar_t* format) {
    std::wstring out;
    const wchar_t* p = format;
    while (*p != L'\0') {
        if (*p != L'%') {
            out += *p++;
            continue;
        }
        out += *p++;
        if (*p == L'%') {
            out += *p++;
            continue;
        }
        while (*p != L'\0' && std::wcschr(L"-+ #0123456789.*", *p) != nullptr) {
            out += *p++;
        }
        std::wstring length;
        if (p[0] == L'I' && p[1] == L'6' && p[2] == L'4') {
            length = L"ll";
            p += 3;
        }
        while (*p != L'\0' && std::wcschr(L"hlLzjt", *p) != nullptr) {
            length += *p++;
        }
        const wchar_t conversion = *p;
        if (conversion == L'\0') {
            break;
        }
        ++p;
        if (conversion == L's' || conversion == L'c') {
            out += length == L"h" ? L"" : L"l";
            out += conversion;
        } else if (conversion == L'S' || conversion == L'C') {
            out += static_cast<wchar_t>(conversion == L'S' ? L's' : L'c');
        } else {
            const bool integer = std::wcschr(L"diouxX", conversion) != nullptr;
            out += integer && length == L"l" ? L"" : length;
            out += conversion;
        }
    }
    return out;
}

}  // namespace

std::wstring WideFormatV(const wchar_t* format, va_list args) {
    const std::wstring libraryFormat = ToLibraryFormat(format);
    // vswprintf cannot tell the length it needs; a wide memory stream grows as it writes.
    wchar_t* text = nullptr;
    std::size_t length = 0;
    FILE* stream = ::open_wmemstream(&text, &length);
    if (stream == nullptr) {
        return std::wstring();
    }
    std::vfwprintf(stream, libraryFormat.c_str(), args);
    std::fclose(stream);
    std::wstring result(text, length);
    std::free(text);
    return result;
}

std::wstring WideFormat(const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    std::wstring text = WideFormatV(format, args);
    va_end(args);
    return text;
}

void DebugTrace(const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    const std::wstring line = WideFormatV(format, args);
    va_end(args);
    win32::OutputDebugStringW(line.c_str());
}

std::wstring QualifiedFunctionName(const char* prettyFunction) {
    // "void Utils::Thread::CallBack(void*)" -> "Utils::Thread::CallBack": the name ends at the
    // parameter list's "(" and starts after the return type's last blank outside brackets.
    const std::string signature = prettyFunction;
    int depth = 0;
    std::size_t end = signature.size();
    std::size_t start = 0;
    for (std::size_t i = 0; i < signature.size(); ++i) {
        const char c = signature[i];
        if (c == '<' || c == '[') {
            ++depth;
        } else if ((c == '>' || c == ']') && depth > 0) {
            --depth;
        } else if (depth == 0 && c == ' ') {
            start = i + 1;
        } else if (depth == 0 && c == '(' &&
                   signature.compare(i > 8 ? i - 8 : 0, 8, "operator") != 0) {
            end = i;
            break;
        }
    }
    std::wstring name;
    for (std::size_t i = start; i < end; ++i) {
        name += static_cast<wchar_t>(static_cast<unsigned char>(signature[i]));
    }
    return name;
}

TraceStamp TraceStamp::Now() {
    win32::SYSTEMTIME time;
    win32::GetLocalTime(&time);
    return TraceStamp{static_cast<int>(win32::GetCurrentProcessId()),
                      static_cast<int>(win32::GetCurrentThreadId()),
                      time.wYear,
                      time.wMonth,
                      time.wDay,
                      time.wHour,
                      time.wMinute,
                      time.wSecond,
                      time.wMilliseconds};
}

}  // namespace Utils
