// What a window does with the messages its procedure leaves alone.
#include <algorithm>

#include "platform/Input.h"
#include "platform/window/DisplayBackend.h"
#include "platform/window/InputRouter.h"
#include "platform/window/Painting.h"
#include "platform/window/WindowInternals.h"

namespace win32 {

using core::Window;

namespace {

constexpr LPARAM kAltDownBit = 1 << 29;

LRESULT HitTest(Window* window, LPARAM lParam) {
    RECT rect;
    GetWindowRect(window->handle, &rect);
    POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (point.x < rect.left || point.y < rect.top || point.x >= rect.right ||
        point.y >= rect.bottom) {
        return HTNOWHERE;
    }
    POINT client = core::ClientOriginOnScreen(window);
    int width = window->client.right - window->client.left;
    int height = window->client.bottom - window->client.top;
    bool inClient = point.x >= client.x && point.y >= client.y && point.x < client.x + width &&
                    point.y < client.y + height;
    return inClient ? HTCLIENT : HTBORDER;
}

core::CursorShape CursorForHit(LRESULT hit) {
    switch (hit) {
        case HTLEFT:
        case HTRIGHT:
            return core::CursorShape::SizeWE;
        case HTTOP:
        case HTBOTTOM:
            return core::CursorShape::SizeNS;
        case HTTOPLEFT:
        case HTBOTTOMRIGHT:
            return core::CursorShape::SizeNWSE;
        case HTTOPRIGHT:
        case HTBOTTOMLEFT:
            return core::CursorShape::SizeNESW;
        default:
            return core::CursorShape::Arrow;
    }
}

LRESULT SetCursorFor(HWND handle, Window* window, WPARAM wParam, LPARAM lParam) {
    if (!window->IsTopLevel() && SendMessageW(window->parent, WM_SETCURSOR, wParam, lParam) != 0) {
        return TRUE;
    }
    LRESULT hit = static_cast<short>(LOWORD(lParam));
    if (hit == HTCLIENT) {
        if (window->windowClass->cursor != nullptr) {
            SetCursor(window->windowClass->cursor);
        }
        return FALSE;
    }
    core::Display().SetCursorShape(CursorForHit(hit));
    return FALSE;
}

LRESULT SystemCommand(HWND handle, Window* window, WPARAM wParam, LPARAM lParam) {
    switch (wParam & 0xFFF0) {
        case SC_CLOSE:
            SendMessageW(handle, WM_CLOSE, 0, 0);
            return 0;
        case SC_MINIMIZE:
            ShowWindow(handle, SW_MINIMIZE);
            return 0;
        case SC_MAXIMIZE:
            ShowWindow(handle, SW_MAXIMIZE);
            return 0;
        case SC_RESTORE:
            ShowWindow(handle, SW_RESTORE);
            return 0;
        case SC_MOVE:
            core::input::BeginMoveSize(handle, HTCAPTION);
            return 0;
        case SC_SIZE: {
            WPARAM edge = wParam & 0x000F;
            if (edge >= 1 && edge <= 8) {
                core::input::BeginMoveSize(handle, HTLEFT + static_cast<LRESULT>(edge) - 1);
            }
            return 0;
        }
        default:
            return 0;
    }
}

LRESULT NonClientButtonDown(HWND handle, WPARAM hit) {
    LRESULT code = static_cast<LRESULT>(hit);
    if (code == HTCAPTION) {
        SendMessageW(handle, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
    } else if (code >= HTLEFT && code <= HTBOTTOMRIGHT) {
        SendMessageW(handle, WM_SYSCOMMAND, SC_SIZE + static_cast<WPARAM>(code - HTLEFT + 1), 0);
    }
    return 0;
}

}  // namespace

LRESULT DefWindowProcW(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* window = core::Find(handle);
    if (window == nullptr) {
        return 0;
    }
    switch (message) {
        case WM_NCCREATE:
            return TRUE;
        case WM_NCCALCSIZE:
            return 0;
        case WM_NCHITTEST:
            return HitTest(window, lParam);
        case WM_NCACTIVATE:
            return TRUE;
        case WM_CLOSE:
            DestroyWindow(handle);
            return 0;
        case WM_SYSCOMMAND:
            return SystemCommand(handle, window, wParam, lParam);
        case WM_NCLBUTTONDOWN:
            return NonClientButtonDown(handle, wParam);
        case WM_NCLBUTTONDBLCLK:
            if (static_cast<LRESULT>(wParam) == HTCAPTION && (window->style & WS_MAXIMIZEBOX)) {
                SendMessageW(handle, WM_SYSCOMMAND, IsZoomed(handle) ? SC_RESTORE : SC_MAXIMIZE, 0);
            }
            return 0;
        case WM_SYSKEYDOWN:
            if (wParam == static_cast<WPARAM>(VK_F4) && (lParam & kAltDownBit) != 0) {
                PostMessageW(GetAncestor(handle, GA_ROOT), WM_SYSCOMMAND, SC_CLOSE, 0);
            }
            return 0;
        case WM_SETTEXT: {
            const wchar_t* text = reinterpret_cast<const wchar_t*>(lParam);
            window->text = text != nullptr ? text : L"";
            if (window->IsTopLevel()) {
                core::Display().TitleChanged(*window);
            }
            return TRUE;
        }
        case WM_GETTEXT: {
            if (wParam == 0) {
                return 0;
            }
            auto* buffer = reinterpret_cast<wchar_t*>(lParam);
            std::size_t length = std::min<std::size_t>(window->text.size(), wParam - 1);
            window->text.copy(buffer, length);
            buffer[length] = L'\0';
            return static_cast<LRESULT>(length);
        }
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(window->text.size());
        case WM_SETCURSOR:
            return SetCursorFor(handle, window, wParam, lParam);
        case WM_MOUSEACTIVATE:
            if (!window->IsTopLevel()) {
                LRESULT answer = SendMessageW(window->parent, WM_MOUSEACTIVATE, wParam, lParam);
                if (answer != 0) {
                    return answer;
                }
            }
            return MA_ACTIVATE;
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE && !IsIconic(handle)) {
                SetFocus(handle);
            }
            return 0;
        case WM_WINDOWPOSCHANGED: {
            const auto* position = reinterpret_cast<const WINDOWPOS*>(lParam);
            if ((position->flags & SWP_NOMOVE) == 0) {
                SendMessageW(handle, WM_MOVE, 0,
                             MAKELPARAM(window->rect.left + window->client.left,
                                        window->rect.top + window->client.top));
            }
            if ((position->flags & SWP_NOSIZE) == 0 && core::Find(handle) != nullptr) {
                window = core::Find(handle);
                WPARAM code = IsIconic(handle)   ? SIZE_MINIMIZED
                              : IsZoomed(handle) ? SIZE_MAXIMIZED
                                                 : SIZE_RESTORED;
                SendMessageW(handle, WM_SIZE, code,
                             MAKELPARAM(window->client.right - window->client.left,
                                        window->client.bottom - window->client.top));
            }
            return 0;
        }
        case WM_PAINT: {
            PAINTSTRUCT paint;
            BeginPaint(handle, &paint);
            EndPaint(handle, &paint);
            return 0;
        }
        case WM_ERASEBKGND:
            return core::painting::EraseWithClassBrush(*window, reinterpret_cast<HDC>(wParam)) ? 1
                                                                                               : 0;
        case WM_SETICON: {
            HICON& slot = wParam == ICON_BIG ? window->bigIcon : window->smallIcon;
            HICON previous = slot;
            slot = reinterpret_cast<HICON>(lParam);
            if (window->IsTopLevel()) {
                core::Display().IconChanged(*window);
            }
            return reinterpret_cast<LRESULT>(previous);
        }
        case WM_GETICON:
            return reinterpret_cast<LRESULT>(wParam == ICON_BIG ? window->bigIcon
                                                                : window->smallIcon);
        case WM_SETFONT:
            window->font = reinterpret_cast<HFONT>(wParam);
            if (LOWORD(lParam) != 0) {
                InvalidateRect(handle, nullptr, TRUE);
            }
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(window->font);
        case WM_CONTEXTMENU:
        case WM_MOUSEWHEEL:
            if (!window->IsTopLevel()) {
                return SendMessageW(window->parent, message, wParam, lParam);
            }
            return 0;
        default:
            return 0;
    }
}

}  // namespace win32
