// Mouse and keyboard: virtual-key codes, key-state bits, capture and mouse tracking.
#pragma once

#include "platform/Window.h"

namespace win32 {

// Key-state bits of mouse messages' wParam.
constexpr WPARAM MK_LBUTTON = 0x0001;
constexpr WPARAM MK_RBUTTON = 0x0002;
constexpr WPARAM MK_SHIFT = 0x0004;
constexpr WPARAM MK_CONTROL = 0x0008;
constexpr WPARAM MK_MBUTTON = 0x0010;

// Virtual-key codes. Letters and digits are their upper-case ASCII codes.
constexpr int VK_LBUTTON = 0x01;
constexpr int VK_RBUTTON = 0x02;
constexpr int VK_MBUTTON = 0x04;
constexpr int VK_BACK = 0x08;
constexpr int VK_TAB = 0x09;
constexpr int VK_RETURN = 0x0D;
constexpr int VK_SHIFT = 0x10;
constexpr int VK_CONTROL = 0x11;
constexpr int VK_MENU = 0x12;
constexpr int VK_PAUSE = 0x13;
constexpr int VK_CAPITAL = 0x14;
constexpr int VK_ESCAPE = 0x1B;
constexpr int VK_SPACE = 0x20;
constexpr int VK_PRIOR = 0x21;
constexpr int VK_NEXT = 0x22;
constexpr int VK_END = 0x23;
constexpr int VK_HOME = 0x24;
constexpr int VK_LEFT = 0x25;
constexpr int VK_UP = 0x26;
constexpr int VK_RIGHT = 0x27;
constexpr int VK_DOWN = 0x28;
constexpr int VK_INSERT = 0x2D;
constexpr int VK_DELETE = 0x2E;
constexpr int VK_F1 = 0x70;
constexpr int VK_F4 = 0x73;
constexpr int VK_F10 = 0x79;
constexpr int VK_F12 = 0x7B;
constexpr int VK_LSHIFT = 0xA0;
constexpr int VK_RSHIFT = 0xA1;
constexpr int VK_LCONTROL = 0xA2;
constexpr int VK_RCONTROL = 0xA3;
constexpr int VK_LMENU = 0xA4;
constexpr int VK_RMENU = 0xA5;

// The high bit (the SHORT is negative) when the key is down, as of the input delivered so far.
short GetKeyState(int virtualKey);
short GetAsyncKeyState(int virtualKey);

// Mouse messages go to the capturing window wherever the pointer is, until ReleaseCapture;
// the window losing it gets WM_CAPTURECHANGED.
HWND SetCapture(HWND window);
BOOL ReleaseCapture();
HWND GetCapture();

BOOL GetCursorPos(POINT* point);
UINT GetDoubleClickTime();

// WM_MOUSEHOVER after the pointer rested dwHoverTime ms in the client area, WM_MOUSELEAVE
// when it leaves the client area; each ends the tracking of its kind.
constexpr DWORD TME_HOVER = 0x00000001;
constexpr DWORD TME_LEAVE = 0x00000002;
constexpr DWORD TME_CANCEL = 0x80000000;
constexpr DWORD HOVER_DEFAULT = 0xFFFFFFFF;
struct TRACKMOUSEEVENT {
    DWORD cbSize;
    DWORD dwFlags;
    HWND hwndTrack;
    DWORD dwHoverTime;
};
BOOL TrackMouseEvent(TRACKMOUSEEVENT* track);

}  // namespace win32
