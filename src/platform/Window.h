// Windows: classes, creation and destruction, window procedures and window longs, styles,
// showing and placing, painting, regions, layered windows, owners, activation and focus,
// cursors, icons, monitors and the message box.
//
// A window belongs to the thread that created it: its procedure only ever runs on that thread
// (messages sent from other threads are carried over and answered there). Other threads may
// post and send messages to it and ask IsWindow; everything else is for the owning thread.
#pragma once

#include <cstdint>

#include "platform/Gdi.h"
#include "platform/Process.h"
#include "platform/Shell.h"
#include "platform/Types.h"

namespace win32 {

struct HWND__;
using HWND = HWND__*;
struct HICON__;
using HICON = HICON__*;
using HCURSOR = HICON;
struct HMENU__;
using HMENU = HMENU__*;
struct HMONITOR__;
using HMONITOR = HMONITOR__*;
using ATOM = WORD;
using LONG_PTR = std::intptr_t;
using UINT_PTR = std::uintptr_t;

using WNDPROC = LRESULT (*)(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Window styles.
constexpr DWORD WS_OVERLAPPED = 0x00000000;
constexpr DWORD WS_POPUP = 0x80000000;
constexpr DWORD WS_CHILD = 0x40000000;
constexpr DWORD WS_MINIMIZE = 0x20000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_DISABLED = 0x08000000;
constexpr DWORD WS_CLIPSIBLINGS = 0x04000000;
constexpr DWORD WS_CLIPCHILDREN = 0x02000000;
constexpr DWORD WS_MAXIMIZE = 0x01000000;
constexpr DWORD WS_BORDER = 0x00800000;
constexpr DWORD WS_DLGFRAME = 0x00400000;
constexpr DWORD WS_CAPTION = WS_BORDER | WS_DLGFRAME;
constexpr DWORD WS_VSCROLL = 0x00200000;
constexpr DWORD WS_HSCROLL = 0x00100000;
constexpr DWORD WS_SYSMENU = 0x00080000;
constexpr DWORD WS_THICKFRAME = 0x00040000;
constexpr DWORD WS_GROUP = 0x00020000;
constexpr DWORD WS_TABSTOP = 0x00010000;
constexpr DWORD WS_MINIMIZEBOX = 0x00020000;
constexpr DWORD WS_MAXIMIZEBOX = 0x00010000;
constexpr DWORD WS_OVERLAPPEDWINDOW =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
constexpr DWORD WS_POPUPWINDOW = WS_POPUP | WS_BORDER | WS_SYSMENU;

constexpr DWORD WS_EX_TOPMOST = 0x00000008;
constexpr DWORD WS_EX_TRANSPARENT = 0x00000020;
constexpr DWORD WS_EX_TOOLWINDOW = 0x00000080;
constexpr DWORD WS_EX_WINDOWEDGE = 0x00000100;
constexpr DWORD WS_EX_CLIENTEDGE = 0x00000200;
constexpr DWORD WS_EX_APPWINDOW = 0x00040000;
constexpr DWORD WS_EX_LAYERED = 0x00080000;
constexpr DWORD WS_EX_NOACTIVATE = 0x08000000;

// Class styles.
constexpr UINT CS_VREDRAW = 0x0001;
constexpr UINT CS_HREDRAW = 0x0002;
constexpr UINT CS_DBLCLKS = 0x0008;
constexpr UINT CS_DROPSHADOW = 0x00020000;

constexpr int CW_USEDEFAULT = static_cast<int>(0x80000000);

struct WNDCLASSEXW {
    UINT cbSize;
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    const wchar_t* lpszMenuName;
    const wchar_t* lpszClassName;
    HICON hIconSm;
};

struct CREATESTRUCTW {
    void* lpCreateParams;
    HINSTANCE hInstance;
    HMENU hMenu;
    HWND hwndParent;
    int cy;
    int cx;
    int y;
    int x;
    LONG style;
    const wchar_t* lpszName;
    const wchar_t* lpszClass;
    DWORD dwExStyle;
};

// Registering a class whose name is taken fails with ERROR_CLASS_ALREADY_EXISTS.
constexpr DWORD ERROR_CLASS_ALREADY_EXISTS = 1410;
constexpr DWORD ERROR_CLASS_DOES_NOT_EXIST = 1411;
constexpr DWORD ERROR_INVALID_WINDOW_HANDLE = 1400;
ATOM RegisterClassExW(const WNDCLASSEXW* windowClass);
BOOL UnregisterClassW(const wchar_t* className, HINSTANCE instance);
BOOL GetClassInfoExW(HINSTANCE instance, const wchar_t* className, WNDCLASSEXW* windowClass);
int GetClassNameW(HWND window, wchar_t* name, int capacity);

// Sends WM_GETMINMAXINFO, WM_NCCREATE, WM_NCCALCSIZE and WM_CREATE, in that order; a window
// created with WS_VISIBLE is then shown. A parent makes a child window, an owner (a top-level
// hwndParent) an owned top-level window kept above it.
HWND CreateWindowExW(DWORD exStyle, const wchar_t* className, const wchar_t* windowName,
                     DWORD style, int x, int y, int width, int height, HWND parent, HMENU menu,
                     HINSTANCE instance, void* param);
// Hides the window, sends WM_DESTROY to it and then to its children, destroys its owned
// windows first, and ends with WM_NCDESTROY (children before their parent).
BOOL DestroyWindow(HWND window);
BOOL IsWindow(HWND window);

LRESULT DefWindowProcW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CallWindowProcW(WNDPROC procedure, HWND window, UINT message, WPARAM wParam, LPARAM lParam);

constexpr int GWLP_WNDPROC = -4;
constexpr int GWL_WNDPROC = -4;
constexpr int GWLP_HINSTANCE = -6;
constexpr int GWLP_HWNDPARENT = -8;
constexpr int GWLP_ID = -12;
constexpr int GWL_ID = -12;
constexpr int GWL_STYLE = -16;
constexpr int GWL_EXSTYLE = -20;
constexpr int GWLP_USERDATA = -21;
constexpr int GWL_USERDATA = -21;
// Offsets from 0 address the class's cbWndExtra bytes.
LONG_PTR GetWindowLongPtrW(HWND window, int index);
LONG_PTR SetWindowLongPtrW(HWND window, int index, LONG_PTR value);
LONG GetWindowLongW(HWND window, int index);
LONG SetWindowLongW(HWND window, int index, LONG value);

BOOL SetWindowTextW(HWND window, const wchar_t* text);
int GetWindowTextW(HWND window, wchar_t* text, int capacity);
int GetWindowTextLengthW(HWND window);

// Relations.
constexpr UINT GW_HWNDFIRST = 0;
constexpr UINT GW_HWNDLAST = 1;
constexpr UINT GW_HWNDNEXT = 2;
constexpr UINT GW_HWNDPREV = 3;
constexpr UINT GW_OWNER = 4;
constexpr UINT GW_CHILD = 5;
HWND GetWindow(HWND window, UINT relation);
HWND GetParent(HWND window);
constexpr UINT GA_PARENT = 1;
constexpr UINT GA_ROOT = 2;
constexpr UINT GA_ROOTOWNER = 3;
HWND GetAncestor(HWND window, UINT flags);
BOOL IsChild(HWND parent, HWND window);
HWND GetDlgItem(HWND parent, int id);
DWORD GetWindowThreadProcessId(HWND window, DWORD* processId);

// Showing and placing. SW_HIDE and SW_SHOWNORMAL come with Process.h and Shell.h, which name
// them for starting programs.
constexpr int SW_NORMAL = 1;
constexpr int SW_SHOWMINIMIZED = 2;
constexpr int SW_SHOWMAXIMIZED = 3;
constexpr int SW_MAXIMIZE = 3;
constexpr int SW_SHOWNOACTIVATE = 4;
constexpr int SW_SHOW = 5;
constexpr int SW_MINIMIZE = 6;
constexpr int SW_SHOWMINNOACTIVE = 7;
constexpr int SW_SHOWNA = 8;
constexpr int SW_RESTORE = 9;
constexpr int SW_SHOWDEFAULT = 10;
// Returns whether the window was visible before.
BOOL ShowWindow(HWND window, int command);
BOOL IsWindowVisible(HWND window);
BOOL IsIconic(HWND window);
BOOL IsZoomed(HWND window);

constexpr UINT SWP_NOSIZE = 0x0001;
constexpr UINT SWP_NOMOVE = 0x0002;
constexpr UINT SWP_NOZORDER = 0x0004;
constexpr UINT SWP_NOREDRAW = 0x0008;
constexpr UINT SWP_NOACTIVATE = 0x0010;
constexpr UINT SWP_FRAMECHANGED = 0x0020;
constexpr UINT SWP_SHOWWINDOW = 0x0040;
constexpr UINT SWP_HIDEWINDOW = 0x0080;
constexpr UINT SWP_NOCOPYBITS = 0x0100;
constexpr UINT SWP_NOOWNERZORDER = 0x0200;
constexpr UINT SWP_NOSENDCHANGING = 0x0400;
inline HWND const HWND_TOP = nullptr;
inline HWND const HWND_BOTTOM = reinterpret_cast<HWND>(1);
inline HWND const HWND_TOPMOST = reinterpret_cast<HWND>(-1);
inline HWND const HWND_NOTOPMOST = reinterpret_cast<HWND>(-2);

struct WINDOWPOS {
    HWND hwnd;
    HWND hwndInsertAfter;
    int x;
    int y;
    int cx;
    int cy;
    UINT flags;
};
struct NCCALCSIZE_PARAMS {
    RECT rgrc[3];
    WINDOWPOS* lppos;
};
struct MINMAXINFO {
    POINT ptReserved;
    POINT ptMaxSize;
    POINT ptMaxPosition;
    POINT ptMinTrackSize;
    POINT ptMaxTrackSize;
};
constexpr LRESULT WVR_HREDRAW = 0x0100;
constexpr LRESULT WVR_VREDRAW = 0x0200;

// Positions are screen coordinates for top-level windows and the parent's client
// coordinates for child windows. Sends WM_WINDOWPOSCHANGING, WM_NCCALCSIZE (size changes and
// SWP_FRAMECHANGED), WM_WINDOWPOSCHANGED, then WM_MOVE and WM_SIZE.
BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags);
BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint);
// Screen coordinates.
BOOL GetWindowRect(HWND window, RECT* rect);
// Origin (0, 0).
BOOL GetClientRect(HWND window, RECT* rect);
BOOL ClientToScreen(HWND window, POINT* point);
BOOL ScreenToClient(HWND window, POINT* point);
int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count);
// The topmost visible, enabled-or-not window under a screen point, as mouse input finds it
// (window regions and WS_EX_TRANSPARENT are honoured); then its deepest child.
HWND WindowFromPoint(POINT point);
BOOL BringWindowToTop(HWND window);

// Painting: the update region of a window is kept as its bounding rectangle, which is also
// what BeginPaint reports; WM_PAINT comes when the queue has nothing else to deliver.
struct PAINTSTRUCT {
    HDC hdc;
    BOOL fErase;
    RECT rcPaint;
    BOOL fRestore;
    BOOL fIncUpdate;
    BYTE rgbReserved[32];
};
BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase);
BOOL ValidateRect(HWND window, const RECT* rect);
BOOL GetUpdateRect(HWND window, RECT* rect, BOOL erase);
BOOL UpdateWindow(HWND window);
constexpr UINT RDW_INVALIDATE = 0x0001;
constexpr UINT RDW_ERASE = 0x0004;
constexpr UINT RDW_UPDATENOW = 0x0100;
constexpr UINT RDW_ALLCHILDREN = 0x0080;
constexpr UINT RDW_FRAME = 0x0400;
BOOL RedrawWindow(HWND window, const RECT* rect, HRGN region, UINT flags);
HDC BeginPaint(HWND window, PAINTSTRUCT* paint);
BOOL EndPaint(HWND window, const PAINTSTRUCT* paint);
// A device context on the window's client area, drawing straight into its pixels.
HDC GetDC(HWND window);
HDC GetWindowDC(HWND window);
int ReleaseDC(HWND window, HDC dc);

// The region (in window coordinates) becomes the window's own: the caller must not use or
// delete it afterwards. Outside it the window is not drawn and takes no mouse input.
int SetWindowRgn(HWND window, HRGN region, BOOL redraw);
// Copies the window's region into an existing region; ERROR (0) when it has none.
int GetWindowRgn(HWND window, HRGN region);

// Layered windows.
constexpr DWORD ULW_COLORKEY = 0x1;
constexpr DWORD ULW_ALPHA = 0x2;
constexpr DWORD ULW_OPAQUE = 0x4;
constexpr DWORD LWA_COLORKEY = 0x1;
constexpr DWORD LWA_ALPHA = 0x2;
// Whether the display can show per-pixel alpha; where it cannot, UpdateLayeredWindow fails
// with ERROR_NOT_SUPPORTED and callers fall back as they would without the function.
BOOL LayeredWindowsAvailable();
// The source DC must be a memory DC with a 32-bit bitmap selected (premultiplied ARGB).
BOOL UpdateLayeredWindow(HWND window, HDC screenDC, const POINT* destination, const SIZE* size,
                         HDC sourceDC, const POINT* sourcePoint, COLORREF colorKey,
                         const BLENDFUNCTION* blend, DWORD flags);
BOOL SetLayeredWindowAttributes(HWND window, COLORREF colorKey, BYTE alpha, DWORD flags);

// Owners, enabling, activation and focus.
BOOL EnableWindow(HWND window, BOOL enable);
BOOL IsWindowEnabled(HWND window);
HWND SetActiveWindow(HWND window);
HWND GetActiveWindow();
BOOL SetForegroundWindow(HWND window);
HWND GetForegroundWindow();
HWND SetFocus(HWND window);
HWND GetFocus();

// Monitors: one monitor, the screen; its work area leaves out docks and panels.
constexpr DWORD MONITOR_DEFAULTTONULL = 0;
constexpr DWORD MONITOR_DEFAULTTOPRIMARY = 1;
constexpr DWORD MONITOR_DEFAULTTONEAREST = 2;
constexpr DWORD MONITORINFOF_PRIMARY = 1;
struct MONITORINFO {
    DWORD cbSize;
    RECT rcMonitor;
    RECT rcWork;
    DWORD dwFlags;
};
HMONITOR MonitorFromWindow(HWND window, DWORD flags);
HMONITOR MonitorFromPoint(POINT point, DWORD flags);
BOOL GetMonitorInfoW(HMONITOR monitor, MONITORINFO* info);
constexpr UINT SPI_GETWORKAREA = 0x0030;
BOOL SystemParametersInfoW(UINT action, UINT param, void* value, UINT winIni);

// The display's metrics, which GetSystemMetrics (SystemInfo.h) answers once the window library
// is linked in.
constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;
constexpr int SM_CXICON = 11;
constexpr int SM_CYICON = 12;
constexpr int SM_CXCURSOR = 13;
constexpr int SM_CYCURSOR = 14;
constexpr int SM_CXFULLSCREEN = 16;
constexpr int SM_CYFULLSCREEN = 17;
constexpr int SM_MOUSEPRESENT = 19;
constexpr int SM_CXDOUBLECLK = 36;
constexpr int SM_CYDOUBLECLK = 37;
constexpr int SM_CXSMICON = 49;
constexpr int SM_CYSMICON = 50;
constexpr int SM_CXMAXIMIZED = 61;
constexpr int SM_CYMAXIMIZED = 62;
constexpr int SM_CXVIRTUALSCREEN = 78;
constexpr int SM_CYVIRTUALSCREEN = 79;
constexpr int SM_CMONITORS = 80;

// Cursors. Only the system cursors exist: the arrow, the hand and the I-beam.
inline const wchar_t* const IDC_ARROW = reinterpret_cast<const wchar_t*>(32512);
inline const wchar_t* const IDC_IBEAM = reinterpret_cast<const wchar_t*>(32513);
inline const wchar_t* const IDC_WAIT = reinterpret_cast<const wchar_t*>(32514);
inline const wchar_t* const IDC_SIZEALL = reinterpret_cast<const wchar_t*>(32646);
inline const wchar_t* const IDC_HAND = reinterpret_cast<const wchar_t*>(32649);
HCURSOR LoadCursorW(HINSTANCE instance, const wchar_t* name);
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();

// Icons, made from premultiplied ARGB pixels (rows top-down); WM_SETICON hands them to a
// window with ICON_BIG or ICON_SMALL.
HICON CreateIconFromPixels(const DWORD* pixels, int width, int height);
BOOL DestroyIcon(HICON icon);
BOOL GetIconSize(HICON icon, SIZE* size);
constexpr WPARAM ICON_SMALL = 0;
constexpr WPARAM ICON_BIG = 1;

// The message box: only the OK button exists here, which is what the one fatal message needs.
constexpr UINT MB_OK = 0x00000000;
constexpr UINT MB_ICONERROR = 0x00000010;
constexpr UINT MB_ICONHAND = 0x00000010;
constexpr UINT MB_ICONWARNING = 0x00000030;
constexpr UINT MB_ICONINFORMATION = 0x00000040;
constexpr UINT MB_SYSTEMMODAL = 0x00001000;
constexpr UINT MB_TOPMOST = 0x00040000;
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
int MessageBoxW(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type);

}  // namespace win32
