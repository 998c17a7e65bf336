// Wall-clock and tick time.
#pragma once

#include "platform/Types.h"

namespace win32 {

struct SYSTEMTIME {
    WORD wYear;
    WORD wMonth;
    WORD wDayOfWeek;
    WORD wDay;
    WORD wHour;
    WORD wMinute;
    WORD wSecond;
    WORD wMilliseconds;
};

void GetLocalTime(SYSTEMTIME* time);
DWORD GetTickCount();
ULONGLONG GetTickCount64();

}  // namespace win32
