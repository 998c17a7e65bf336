#include "setup/RunningProcess.h"

#include "platform/Toolhelp.h"

win32::DWORD FindProcessByName(const std::wstring& name) {
    win32::HANDLE snapshot = win32::CreateToolhelp32Snapshot(win32::TH32CS_SNAPPROCESS, 0);
    if (snapshot == nullptr || snapshot == win32::INVALID_HANDLE_VALUE) {
        return 0;
    }
    win32::PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    win32::DWORD found = 0;
    for (bool more = win32::Process32FirstW(snapshot, &entry); more && found == 0;
         more = win32::Process32NextW(snapshot, &entry)) {
        if (name == entry.szExeFile) {
            found = entry.th32ProcessID;
        }
    }
    win32::CloseHandle(snapshot);
    return found;
}
