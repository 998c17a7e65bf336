// The "Edit" class: a single-line text field. Its state lives beside the window rather than in
// its window longs, which belong to whoever subclasses or superclasses it.
#include <algorithm>
#include <cwctype>
#include <memory>

#include "platform/Edit.h"
#include "platform/Input.h"
#include "platform/Messages.h"
#include "platform/window/DisplayBackend.h"
#include "platform/window/WindowInternals.h"

namespace win32 {

namespace {

constexpr std::size_t kNoLimit = 0x7FFFFFFE;
constexpr COLORREF kSelectionBack = RGB(0x33, 0x99, 0xFF);
constexpr COLORREF kSelectionText = RGB(0xFF, 0xFF, 0xFF);

struct Edit {
    std::wstring text;
    std::size_t anchor = 0;  // the selection runs from anchor to caret
    std::size_t caret = 0;
    std::size_t limit = kNoLimit;
    wchar_t passwordChar = 0;
    int leftMargin = 0;
    int rightMargin = 0;
    int scroll = 0;  // pixels of text scrolled out on the left
    bool modified = false;
    bool focused = false;
    bool dragging = false;
    HFONT font = nullptr;

    std::size_t SelectionStart() const { return std::min(anchor, caret); }
    std::size_t SelectionEnd() const { return std::max(anchor, caret); }
    bool HasSelection() const { return anchor != caret; }
};

// Kept with the window's record, so that it lives exactly as long as the window.
Edit* StateOf(HWND window) {
    core::Window* record = core::Find(window);
    return record != nullptr ? static_cast<Edit*>(record->classState.get()) : nullptr;
}

Edit* Attach(HWND window, std::shared_ptr<Edit> edit) {
    core::Window* record = core::Find(window);
    if (record == nullptr) {
        return nullptr;
    }
    record->classState = edit;
    return edit.get();
}

DWORD Style(HWND window) {
    return static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
}

std::wstring Shown(const Edit& edit) {
    return edit.passwordChar != 0 ? std::wstring(edit.text.size(), edit.passwordChar) : edit.text;
}

void Notify(HWND window, WORD code) {
    HWND parent = GetParent(window);
    if (parent != nullptr) {
        auto id = static_cast<int>(GetWindowLongPtrW(window, GWLP_ID));
        SendMessageW(parent, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(window));
    }
}

// Measures text in the edit's font without drawing anywhere.
class Measure {
  public:
    explicit Measure(const Edit& edit) : dc_(CreateCompatibleDC(nullptr)) {
        SelectObject(dc_, edit.font != nullptr ? edit.font : GetStockObject(DEFAULT_GUI_FONT));
    }
    ~Measure() { DeleteDC(dc_); }
    Measure(const Measure&) = delete;
    Measure& operator=(const Measure&) = delete;

    int Width(const std::wstring& text, std::size_t length) const {
        if (length == 0) {
            return 0;
        }
        SIZE size{};
        GetTextExtentPoint32W(dc_, text.c_str(), static_cast<int>(length), &size);
        return size.cx;
    }
    int Height() const {
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc_, &metrics);
        return metrics.tmHeight;
    }

  private:
    HDC dc_;
};

int TextAreaWidth(HWND window, const Edit& edit) {
    RECT client;
    GetClientRect(window, &client);
    return std::max<int>(0, client.right - edit.leftMargin - edit.rightMargin);
}

// Where the text starts, in client coordinates, before scrolling.
int TextOrigin(HWND window, const Edit& edit, int textWidth) {
    int area = TextAreaWidth(window, edit);
    DWORD style = Style(window);
    if (textWidth < area) {
        if ((style & ES_RIGHT) != 0) {
            return edit.leftMargin + area - textWidth;
        }
        if ((style & ES_CENTER) != 0) {
            return edit.leftMargin + (area - textWidth) / 2;
        }
    }
    return edit.leftMargin;
}

void KeepCaretVisible(HWND window, Edit& edit) {
    Measure measure(edit);
    std::wstring shown = Shown(edit);
    int area = TextAreaWidth(window, edit);
    int caretX = measure.Width(shown, edit.caret);
    int textWidth = measure.Width(shown, shown.size());
    if (textWidth <= area) {
        edit.scroll = 0;
    } else if (caretX - edit.scroll > area) {
        edit.scroll = caretX - area;
    } else if (caretX < edit.scroll) {
        edit.scroll = caretX;
    }
    edit.scroll = std::clamp(edit.scroll, 0, std::max(0, textWidth - area + 1));
    InvalidateRect(window, nullptr, TRUE);
}

std::size_t CharacterAt(HWND window, const Edit& edit, int x) {
    Measure measure(edit);
    std::wstring shown = Shown(edit);
    int origin = TextOrigin(window, edit, measure.Width(shown, shown.size())) - edit.scroll;
    std::size_t best = 0;
    int bestDistance = std::abs(x - origin);
    for (std::size_t i = 1; i <= shown.size(); ++i) {
        int distance = std::abs(x - (origin + measure.Width(shown, i)));
        if (distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

void MoveCaret(HWND window, Edit& edit, std::size_t position, bool extend) {
    edit.caret = std::min(position, edit.text.size());
    if (!extend) {
        edit.anchor = edit.caret;
    }
    KeepCaretVisible(window, edit);
}

// Replaces the selection with text as far as the limit (and, without ES_AUTOHSCROLL, the
// field's width) allows; reports EN_MAXTEXT when something had to be left out.
bool ReplaceSelection(HWND window, Edit& edit, std::wstring text) {
    std::size_t start = edit.SelectionStart();
    std::size_t end = edit.SelectionEnd();
    std::size_t room = edit.limit - std::min(edit.limit, edit.text.size() - (end - start));
    bool truncated = text.size() > room;
    text.resize(std::min(text.size(), room));
    std::wstring changed = edit.text.substr(0, start) + text + edit.text.substr(end);
    if ((Style(window) & ES_AUTOHSCROLL) == 0 && !text.empty()) {
        Edit trial = edit;
        trial.text = changed;
        Measure measure(trial);
        std::wstring shown = Shown(trial);
        if (measure.Width(shown, shown.size()) > TextAreaWidth(window, edit)) {
            Notify(window, EN_MAXTEXT);
            return false;
        }
    }
    if (truncated) {
        Notify(window, EN_MAXTEXT);
    }
    if (changed == edit.text) {
        return false;
    }
    edit.text = std::move(changed);
    edit.caret = edit.anchor = start + text.size();
    edit.modified = true;
    KeepCaretVisible(window, edit);
    Notify(window, EN_UPDATE);
    Notify(window, EN_CHANGE);
    return true;
}

void Copy(HWND window, const Edit& edit) {
    if (edit.HasSelection() && edit.passwordChar == 0) {
        core::Display().SetClipboardText(
            edit.text.substr(edit.SelectionStart(), edit.SelectionEnd() - edit.SelectionStart()));
    }
}

void Paste(HWND window, Edit& edit) {
    if ((Style(window) & ES_READONLY) != 0) {
        return;
    }
    std::wstring text = core::Display().ClipboardText();
    // One line only: what follows the first line break stays out.
    text = text.substr(0, text.find_first_of(L"\r\n"));
    ReplaceSelection(window, edit, text);
}

bool IsWordCharacter(wchar_t c) {
    return std::iswalnum(c) != 0 || c == L'_' || c > 0x2E80;
}

std::size_t WordStart(const std::wstring& text, std::size_t from) {
    while (from > 0 && !IsWordCharacter(text[from - 1])) {
        --from;
    }
    while (from > 0 && IsWordCharacter(text[from - 1])) {
        --from;
    }
    return from;
}

std::size_t WordEnd(const std::wstring& text, std::size_t from) {
    while (from < text.size() && IsWordCharacter(text[from])) {
        ++from;
    }
    while (from < text.size() && !IsWordCharacter(text[from])) {
        ++from;
    }
    return from;
}

bool KeyDown(HWND window, Edit& edit, int key) {
    bool shift = GetKeyState(VK_SHIFT) < 0;
    bool control = GetKeyState(VK_CONTROL) < 0;
    bool readOnly = (Style(window) & ES_READONLY) != 0;
    switch (key) {
        case VK_LEFT:
            if (!shift && edit.HasSelection()) {
                MoveCaret(window, edit, edit.SelectionStart(), false);
            } else if (edit.caret > 0) {
                MoveCaret(window, edit, control ? WordStart(edit.text, edit.caret) : edit.caret - 1,
                          shift);
            }
            return true;
        case VK_RIGHT:
            if (!shift && edit.HasSelection()) {
                MoveCaret(window, edit, edit.SelectionEnd(), false);
            } else {
                MoveCaret(window, edit, control ? WordEnd(edit.text, edit.caret) : edit.caret + 1,
                          shift);
            }
            return true;
        case VK_HOME:
            MoveCaret(window, edit, 0, shift);
            return true;
        case VK_END:
            MoveCaret(window, edit, edit.text.size(), shift);
            return true;
        case VK_BACK:
        case VK_DELETE:
            if (readOnly) {
                return true;
            }
            if (key == VK_DELETE && shift) {
                Copy(window, edit);
            }
            if (!edit.HasSelection()) {
                if (key == VK_BACK && edit.caret > 0) {
                    edit.anchor = edit.caret - 1;
                } else if (key == VK_DELETE && edit.caret < edit.text.size()) {
                    edit.anchor = edit.caret + 1;
                }
            }
            ReplaceSelection(window, edit, L"");
            return true;
        case VK_INSERT:
            if (control) {
                Copy(window, edit);
            } else if (shift) {
                Paste(window, edit);
            }
            return true;
        default:
            break;
    }
    if (!control) {
        return false;
    }
    switch (key) {
        case 'A':
            edit.anchor = 0;
            MoveCaret(window, edit, edit.text.size(), true);
            return true;
        case 'C':
            Copy(window, edit);
            return true;
        case 'X':
            if (!readOnly && edit.passwordChar == 0) {
                Copy(window, edit);
                ReplaceSelection(window, edit, L"");
            }
            return true;
        case 'V':
            Paste(window, edit);
            return true;
        default:
            return false;
    }
}

void Character(HWND window, Edit& edit, wchar_t c) {
    DWORD style = Style(window);
    if (c < 0x20 || c == 0x7F || (style & ES_READONLY) != 0) {
        return;
    }
    if ((style & ES_NUMBER) != 0 && (c < L'0' || c > L'9')) {
        return;
    }
    ReplaceSelection(window, edit, std::wstring(1, c));
}

void DrawRun(HDC dc, int x, int y, const std::wstring& text, std::size_t from, std::size_t to) {
    if (to > from) {
        ExtTextOutW(dc, x, y, 0, nullptr, text.c_str() + from, static_cast<UINT>(to - from),
                    nullptr);
    }
}

void Paint(HWND window, Edit& edit) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    if (dc == nullptr) {
        return;
    }
    RECT client;
    GetClientRect(window, &client);
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(0xFF, 0xFF, 0xFF));
    auto brush = reinterpret_cast<HBRUSH>(SendMessageW(GetParent(window), WM_CTLCOLOREDIT,
                                                       reinterpret_cast<WPARAM>(dc),
                                                       reinterpret_cast<LPARAM>(window)));
    FillRect(dc, &client,
             brush != nullptr ? brush : static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SelectObject(dc, edit.font != nullptr ? edit.font : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);

    Measure measure(edit);
    std::wstring shown = Shown(edit);
    int height = measure.Height();
    int x = TextOrigin(window, edit, measure.Width(shown, shown.size())) - edit.scroll;
    int y = (client.bottom - height) / 2;
    IntersectClipRect(dc, edit.leftMargin, 0, client.right - edit.rightMargin, client.bottom);
    bool showSelection =
        edit.HasSelection() && (edit.focused || (Style(window) & ES_NOHIDESEL) != 0);
    std::size_t start = showSelection ? edit.SelectionStart() : shown.size();
    std::size_t end = showSelection ? edit.SelectionEnd() : shown.size();
    DrawRun(dc, x, y, shown, 0, start);
    DrawRun(dc, x + measure.Width(shown, end), y, shown, end, shown.size());
    if (showSelection) {
        int left = x + measure.Width(shown, start);
        RECT selection{left, y, x + measure.Width(shown, end), y + height};
        HBRUSH back = CreateSolidBrush(kSelectionBack);
        FillRect(dc, &selection, back);
        DeleteObject(back);
        COLORREF previous = SetTextColor(dc, kSelectionText);
        DrawRun(dc, left, y, shown, start, end);
        SetTextColor(dc, previous);
    }
    if (edit.focused) {
        RECT caret{x + measure.Width(shown, edit.caret), y,
                   x + measure.Width(shown, edit.caret) + 1, y + height};
        HBRUSH ink = CreateSolidBrush(GetTextColor(dc));
        FillRect(dc, &caret, ink);
        DeleteObject(ink);
    }
    EndPaint(window, &paint);
}

LRESULT SetSelection(HWND window, Edit& edit, WPARAM start, LPARAM end) {
    auto length = static_cast<long long>(edit.text.size());
    auto from = static_cast<long long>(static_cast<int>(start));
    auto to = static_cast<long long>(static_cast<int>(end));
    if (from < 0) {
        MoveCaret(window, edit, edit.caret, false);
        return 0;
    }
    if (to < 0) {
        to = length;
    }
    edit.anchor = static_cast<std::size_t>(std::min(from, length));
    MoveCaret(window, edit, static_cast<std::size_t>(std::min(to, length)), true);
    return 0;
}

std::shared_ptr<Edit> MakeState(const std::wstring& text, DWORD style) {
    auto edit = std::make_shared<Edit>();
    edit->text = text;
    if ((style & ES_PASSWORD) != 0) {
        edit->passwordChar = L'*';
    }
    return edit;
}

LRESULT EditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        Attach(window, MakeState(create->lpszName != nullptr ? create->lpszName : L"",
                                 static_cast<DWORD>(create->style)));
        return DefWindowProcW(window, message, wParam, lParam);
    }
    Edit* edit = StateOf(window);
    if (edit == nullptr && message != WM_NCDESTROY) {
        // A subclass that kept WM_NCCREATE to itself: start from the window's text and style.
        wchar_t text[1024] = L"";
        DefWindowProcW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
        edit = Attach(window, MakeState(text, Style(window)));
    }
    if (edit == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    switch (message) {
        case WM_SETTEXT: {
            const auto* text = reinterpret_cast<const wchar_t*>(lParam);
            edit->text = text != nullptr ? text : L"";
            edit->anchor = edit->caret = 0;
            edit->scroll = 0;
            edit->modified = false;
            InvalidateRect(window, nullptr, TRUE);
            Notify(window, EN_UPDATE);
            Notify(window, EN_CHANGE);
            return TRUE;
        }
        case WM_GETTEXT: {
            if (wParam == 0) {
                return 0;
            }
            auto* buffer = reinterpret_cast<wchar_t*>(lParam);
            std::size_t length = std::min<std::size_t>(edit->text.size(), wParam - 1);
            edit->text.copy(buffer, length);
            buffer[length] = L'\0';
            return static_cast<LRESULT>(length);
        }
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(edit->text.size());
        case WM_SETFONT:
            edit->font = reinterpret_cast<HFONT>(wParam);
            KeepCaretVisible(window, *edit);
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(edit->font);
        case EM_SETSEL:
            return SetSelection(window, *edit, wParam, lParam);
        case EM_GETSEL: {
            auto start = static_cast<DWORD>(edit->SelectionStart());
            auto end = static_cast<DWORD>(edit->SelectionEnd());
            if (wParam != 0) {
                *reinterpret_cast<DWORD*>(wParam) = start;
            }
            if (lParam != 0) {
                *reinterpret_cast<DWORD*>(lParam) = end;
            }
            return MAKELRESULT(static_cast<int>(std::min<DWORD>(start, 0xFFFF)),
                               static_cast<int>(std::min<DWORD>(end, 0xFFFF)));
        }
        case EM_REPLACESEL: {
            const auto* text = reinterpret_cast<const wchar_t*>(lParam);
            ReplaceSelection(window, *edit, text != nullptr ? text : L"");
            return 0;
        }
        case EM_GETMODIFY:
            return edit->modified ? TRUE : FALSE;
        case EM_SETMODIFY:
            edit->modified = wParam != 0;
            return 0;
        case EM_SETLIMITTEXT:
            edit->limit = wParam == 0 ? kNoLimit : static_cast<std::size_t>(wParam);
            return 0;
        case EM_GETLIMITTEXT:
            return static_cast<LRESULT>(edit->limit);
        case EM_SETPASSWORDCHAR:
            edit->passwordChar = static_cast<wchar_t>(wParam);
            KeepCaretVisible(window, *edit);
            return 0;
        case EM_GETPASSWORDCHAR:
            return static_cast<LRESULT>(edit->passwordChar);
        case EM_SETREADONLY: {
            DWORD style = Style(window);
            SetWindowLongW(
                window, GWL_STYLE,
                static_cast<LONG>(wParam != 0 ? style | ES_READONLY : style & ~ES_READONLY));
            return TRUE;
        }
        case EM_SETMARGINS:
            if ((wParam & EC_LEFTMARGIN) != 0) {
                edit->leftMargin = LOWORD(lParam) == 0xFFFF ? 1 : LOWORD(lParam);
            }
            if ((wParam & EC_RIGHTMARGIN) != 0) {
                edit->rightMargin = HIWORD(lParam) == 0xFFFF ? 1 : HIWORD(lParam);
            }
            KeepCaretVisible(window, *edit);
            return 0;
        case EM_GETMARGINS:
            return MAKELRESULT(edit->leftMargin, edit->rightMargin);
        case WM_SETFOCUS:
            edit->focused = true;
            InvalidateRect(window, nullptr, TRUE);
            Notify(window, EN_SETFOCUS);
            return 0;
        case WM_KILLFOCUS:
            edit->focused = false;
            edit->dragging = false;
            InvalidateRect(window, nullptr, TRUE);
            Notify(window, EN_KILLFOCUS);
            return 0;
        case WM_KEYDOWN:
            if (KeyDown(window, *edit, static_cast<int>(wParam))) {
                return 0;
            }
            return DefWindowProcW(window, message, wParam, lParam);
        case WM_CHAR:
            Character(window, *edit, static_cast<wchar_t>(wParam));
            return 0;
        case WM_CUT:
            if ((Style(window) & ES_READONLY) == 0 && edit->passwordChar == 0) {
                Copy(window, *edit);
                ReplaceSelection(window, *edit, L"");
            }
            return 0;
        case WM_COPY:
            Copy(window, *edit);
            return 0;
        case WM_PASTE:
            Paste(window, *edit);
            return 0;
        case WM_CLEAR:
            if ((Style(window) & ES_READONLY) == 0) {
                ReplaceSelection(window, *edit, L"");
            }
            return 0;
        case WM_LBUTTONDOWN: {
            if (GetFocus() != window) {
                SetFocus(window);
            }
            bool extend = (wParam & MK_SHIFT) != 0;
            MoveCaret(window, *edit, CharacterAt(window, *edit, GET_X_LPARAM(lParam)), extend);
            edit->dragging = true;
            SetCapture(window);
            return 0;
        }
        case WM_MOUSEMOVE:
            if (edit->dragging) {
                MoveCaret(window, *edit, CharacterAt(window, *edit, GET_X_LPARAM(lParam)), true);
            }
            return 0;
        case WM_LBUTTONUP:
            if (edit->dragging) {
                edit->dragging = false;
                ReleaseCapture();
            }
            return 0;
        case WM_CAPTURECHANGED:
            edit->dragging = false;
            return 0;
        case WM_LBUTTONDBLCLK: {
            std::size_t at = CharacterAt(window, *edit, GET_X_LPARAM(lParam));
            std::size_t start = WordStart(edit->text, std::min(at + 1, edit->text.size()));
            edit->anchor = start;
            std::size_t end = start;
            while (end < edit->text.size() && IsWordCharacter(edit->text[end])) {
                ++end;
            }
            MoveCaret(window, *edit, end, true);
            return 0;
        }
        case WM_SETCURSOR:
            if (static_cast<short>(LOWORD(lParam)) == HTCLIENT) {
                SetCursor(LoadCursorW(nullptr, IDC_IBEAM));
                return TRUE;
            }
            return DefWindowProcW(window, message, wParam, lParam);
        case WM_PAINT:
            Paint(window, *edit);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

namespace core {

void RegisterSystemClasses() {
    WNDCLASSEXW edit{};
    edit.cbSize = sizeof edit;
    edit.style = CS_DBLCLKS;
    edit.lpfnWndProc = EditProc;
    edit.hCursor = LoadCursorW(nullptr, IDC_IBEAM);
    edit.lpszClassName = WC_EDITW;
    RegisterClassExW(&edit);
}

}  // namespace core

}  // namespace win32
