#include "platform/Time.h"

#include <sys/time.h>
#include <time.h>

namespace win32 {

void GetLocalTime(SYSTEMTIME* time) {
    timespec now;
    ::clock_gettime(CLOCK_REALTIME, &now);
    tm local;
    ::localtime_r(&now.tv_sec, &local);
    time->wYear = static_cast<WORD>(local.tm_year + 1900);
    time->wMonth = static_cast<WORD>(local.tm_mon + 1);
    time->wDayOfWeek = static_cast<WORD>(local.tm_wday);
    time->wDay = static_cast<WORD>(local.tm_mday);
    time->wHour = static_cast<WORD>(local.tm_hour);
    time->wMinute = static_cast<WORD>(local.tm_min);
    time->wSecond = static_cast<WORD>(local.tm_sec);
    time->wMilliseconds = static_cast<WORD>(now.tv_nsec / 1000000);
}

ULONGLONG GetTickCount64() {
    timespec now;
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<ULONGLONG>(now.tv_sec) * 1000 +
           static_cast<ULONGLONG>(now.tv_nsec / 1000000);
}

DWORD GetTickCount() {
    return static_cast<DWORD>(GetTickCount64());
}

}  // namespace win32
