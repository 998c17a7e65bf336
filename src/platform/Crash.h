// The process's last resort: a filter run when a fatal signal arrives (SIGSEGV, SIGBUS,
// SIGFPE, SIGILL, SIGABRT) or std::terminate is called. After the filter returns, the
// default action ends the process as it would have without the filter.
#pragma once

#include "platform/Types.h"

namespace win32 {

struct EXCEPTION_POINTERS {
    DWORD ExceptionCode;  // the signal number, or 0 for std::terminate
};
using LPTOP_LEVEL_EXCEPTION_FILTER = LONG (*)(EXCEPTION_POINTERS* exception);
constexpr LONG EXCEPTION_CONTINUE_SEARCH = 0;

// Returns the previous filter.
LPTOP_LEVEL_EXCEPTION_FILTER SetUnhandledExceptionFilter(LPTOP_LEVEL_EXCEPTION_FILTER filter);

}  // namespace win32
