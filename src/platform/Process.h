// Anonymous pipes and child processes. A command line is split into the program and its
// arguments by the Windows rules (CommandLineToArgvW); the program is found as given, with
// "\\" read as "/", or on PATH when it names no folder. Only the three standard handles
// reach the child.
#pragma once

#include <string>
#include <vector>

#include "platform/Handle.h"

namespace win32 {

struct SECURITY_ATTRIBUTES {
    DWORD nLength;
    void* lpSecurityDescriptor;
    BOOL bInheritHandle;
};

BOOL CreatePipe(HANDLE* readEnd, HANDLE* writeEnd, SECURITY_ATTRIBUTES* attributes, DWORD size);

// Blocks until at least one byte arrives; fails with ERROR_BROKEN_PIPE once every writer has
// closed its end.
BOOL ReadFile(HANDLE handle, void* buffer, DWORD size, DWORD* read, void* overlapped);
BOOL WriteFile(HANDLE handle, const void* buffer, DWORD size, DWORD* written, void* overlapped);

// Bytes waiting in a pipe, without reading them; fails with ERROR_BROKEN_PIPE when nothing is
// waiting and every writer has closed its end.
BOOL PeekNamedPipe(HANDLE pipe, void* buffer, DWORD size, DWORD* read, DWORD* available,
                   DWORD* leftThisMessage);

constexpr DWORD STARTF_USESHOWWINDOW = 0x1;
constexpr DWORD STARTF_USESTDHANDLES = 0x100;
constexpr WORD SW_HIDE = 0;
constexpr DWORD STILL_ACTIVE = 259;

struct STARTUPINFOW {
    DWORD cb;
    DWORD dwFlags;
    WORD wShowWindow;
    HANDLE hStdInput;
    HANDLE hStdOutput;
    HANDLE hStdError;
};

struct PROCESS_INFORMATION {
    HANDLE hProcess;
    HANDLE hThread;
    DWORD dwProcessId;
    DWORD dwThreadId;
};

// The command line buffer is not changed. A program that cannot be started fails with
// ERROR_FILE_NOT_FOUND (or ERROR_ACCESS_DENIED) and no process.
BOOL CreateProcessW(const wchar_t* applicationName, wchar_t* commandLine,
                    SECURITY_ATTRIBUTES* processAttributes, SECURITY_ATTRIBUTES* threadAttributes,
                    BOOL inheritHandles, DWORD creationFlags, void* environment,
                    const wchar_t* currentDirectory, STARTUPINFOW* startupInfo,
                    PROCESS_INFORMATION* processInformation);

// STILL_ACTIVE while the process runs; its exit status afterwards (128 + n after signal n).
BOOL GetExitCodeProcess(HANDLE process, DWORD* exitCode);
BOOL TerminateProcess(HANDLE process, UINT exitCode);

// The Windows splitting rules: blanks and tabs separate; double quotes group; 2n backslashes
// before a quote give n backslashes and the quote toggles grouping, 2n+1 give n and a literal
// quote; "" inside a group gives a literal quote; the first argument (the program) ends at the
// first blank outside quotes and takes backslashes literally.
std::vector<std::wstring> CommandLineToArgvW(const std::wstring& commandLine);

// The reverse: one argument quoted so that CommandLineToArgvW gives it back unchanged.
std::wstring QuoteArgument(const std::wstring& argument);

// The process's own command line, rebuilt from its arguments.
const wchar_t* GetCommandLineW();

}  // namespace win32
