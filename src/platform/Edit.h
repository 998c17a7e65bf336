// The "Edit" window class: a single-line text field with caret, selection and clipboard.
// It tells its parent about changes with WM_COMMAND (EN_CHANGE in the high word of wParam,
// its id in the low word, itself in lParam) and asks it for colours with WM_CTLCOLOREDIT.
#pragma once

#include "platform/Window.h"

namespace win32 {

inline const wchar_t* const WC_EDITW = L"Edit";

constexpr DWORD ES_LEFT = 0x0000;
constexpr DWORD ES_CENTER = 0x0001;
constexpr DWORD ES_RIGHT = 0x0002;
constexpr DWORD ES_MULTILINE = 0x0004;
constexpr DWORD ES_PASSWORD = 0x0020;
constexpr DWORD ES_AUTOHSCROLL = 0x0080;
constexpr DWORD ES_NOHIDESEL = 0x0100;
constexpr DWORD ES_READONLY = 0x0800;
constexpr DWORD ES_NUMBER = 0x2000;

constexpr UINT EM_GETSEL = 0x00B0;
constexpr UINT EM_SETSEL = 0x00B1;
constexpr UINT EM_REPLACESEL = 0x00C2;
constexpr UINT EM_GETMODIFY = 0x00B8;
constexpr UINT EM_SETMODIFY = 0x00B9;
constexpr UINT EM_LIMITTEXT = 0x00C5;
constexpr UINT EM_SETLIMITTEXT = 0x00C5;
constexpr UINT EM_SETPASSWORDCHAR = 0x00CC;
constexpr UINT EM_SETREADONLY = 0x00CF;
constexpr UINT EM_GETPASSWORDCHAR = 0x00D2;
constexpr UINT EM_SETMARGINS = 0x00D3;
constexpr UINT EM_GETMARGINS = 0x00D4;
constexpr UINT EM_GETLIMITTEXT = 0x00D5;

constexpr WPARAM EC_LEFTMARGIN = 0x0001;
constexpr WPARAM EC_RIGHTMARGIN = 0x0002;

constexpr WORD EN_SETFOCUS = 0x0100;
constexpr WORD EN_KILLFOCUS = 0x0200;
constexpr WORD EN_CHANGE = 0x0300;
constexpr WORD EN_UPDATE = 0x0400;
constexpr WORD EN_MAXTEXT = 0x0501;

}  // namespace win32
