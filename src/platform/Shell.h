// Known folders and the shell's "open".
#pragma once

#include "platform/Types.h"

namespace win32 {

// Folders by their CSIDL, on Linux (documented in the README):
//   CSIDL_PROGRAM_FILES       $XDG_DATA_HOME (default ~/.local/share), where per-user programs go
//   CSIDL_LOCAL_APPDATA       $XDG_DATA_HOME (default ~/.local/share)
//   CSIDL_APPDATA             $XDG_CONFIG_HOME (default ~/.config)
//   CSIDL_COMMON_DOCUMENTS    $XDG_DOCUMENTS_DIR from user-dirs.dirs, default ~/Documents
//   CSIDL_DESKTOPDIRECTORY    $XDG_DESKTOP_DIR from user-dirs.dirs, default ~/Desktop
constexpr int CSIDL_DESKTOPDIRECTORY = 0x0010;
constexpr int CSIDL_APPDATA = 0x001a;
constexpr int CSIDL_LOCAL_APPDATA = 0x001c;
constexpr int CSIDL_PROGRAM_FILES = 0x0026;
constexpr int CSIDL_COMMON_DOCUMENTS = 0x002e;
constexpr int CSIDL_FLAG_CREATE = 0x8000;

// Fills a MAX_PATH buffer with the folder, without a trailing separator.
HRESULT SHGetFolderPathW(void* window, int csidl, HANDLE token, DWORD flags, wchar_t* path);

constexpr int SW_SHOWNORMAL = 1;

// "open": a program (an executable file) is started directly with the parameters; anything
// else (an address, a document, a folder) is handed to xdg-open. Returns a value above 32 on
// success, as on Windows.
HINSTANCE ShellExecuteW(void* window, const wchar_t* operation, const wchar_t* file,
                        const wchar_t* parameters, const wchar_t* directory, int showCommand);

}  // namespace win32
