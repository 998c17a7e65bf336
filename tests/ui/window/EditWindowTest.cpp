#include <gtest/gtest.h>

#include "platform/Display.h"
#include "platform/Edit.h"
#include "platform/Headless.h"
#include "unit/window/TestWindows.h"

namespace {

using namespace testing_windows;

class EditWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        UseVirtualScreen();
        Recorder::Get().Clear();
        parent = MakeWindow(100, 100, 400, 200);
        Pump();
    }
    void TearDown() override {
        DestroyWindow(parent);
        Pump();
        Recorder::Get().Clear();
    }

    HWND MakeEdit(DWORD style, int y = 20, int id = 7) {
        HWND edit =
            CreateWindowExW(0, WC_EDITW, L"", WS_CHILD | WS_VISIBLE | style, 20, y, 300, 24, parent,
                            reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), nullptr, nullptr);
        EXPECT_NE(edit, nullptr);
        SetFocus(edit);
        Pump();
        return edit;
    }

    static std::wstring Text(HWND edit) {
        wchar_t buffer[256];
        GetWindowTextW(edit, buffer, 256);
        return buffer;
    }

    static std::pair<DWORD, DWORD> Selection(HWND edit) {
        DWORD start = 0;
        DWORD end = 0;
        SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
        return {start, end};
    }

    int Notifications(WORD code) const {
        int count = 0;
        for (const Received& r : Recorder::Get().log) {
            count += (r.window == parent && r.message == WM_COMMAND && HIWORD(r.wParam) == code &&
                      LOWORD(r.wParam) == 7)
                         ? 1
                         : 0;
        }
        return count;
    }

    static void Chord(int modifier, int key) {
        headless::PressKey(modifier);
        headless::PressKey(key);
        headless::ReleaseKey(key);
        headless::ReleaseKey(modifier);
    }

    static void Key(int key) {
        headless::PressKey(key);
        headless::ReleaseKey(key);
    }

    HWND parent = nullptr;
};

TEST_F(EditWindowTest, TypingEditsTheTextAndTellsTheParent) {
    HWND edit = MakeEdit(ES_AUTOHSCROLL);
    Recorder::Get().log.clear();
    headless::TypeText(L"hello");
    Pump();
    EXPECT_EQ(Text(edit), L"hello");
    EXPECT_EQ(Notifications(EN_CHANGE), 5);
    EXPECT_TRUE(SendMessageW(edit, EM_GETMODIFY, 0, 0));
    EXPECT_EQ(Recorder::Get().Last(parent, WM_COMMAND)->lParam, reinterpret_cast<LPARAM>(edit));

    Key(VK_HOME);
    Key(VK_DELETE);
    Key(VK_END);
    Key(VK_BACK);
    headless::CommitText(L"中");
    Pump();
    EXPECT_EQ(Text(edit), L"ell中");
    EXPECT_EQ(Selection(edit), (std::pair<DWORD, DWORD>{4, 4}));
}

TEST_F(EditWindowTest, ShiftSelectsAndTypingReplacesTheSelection) {
    HWND edit = MakeEdit(ES_AUTOHSCROLL);
    headless::TypeText(L"abcdef");
    Key(VK_LEFT);
    headless::PressKey(VK_SHIFT);
    Key(VK_LEFT);
    Key(VK_LEFT);
    headless::ReleaseKey(VK_SHIFT);
    Pump();
    EXPECT_EQ(Selection(edit), (std::pair<DWORD, DWORD>{3, 5}));
    headless::TypeText(L"X");
    Pump();
    EXPECT_EQ(Text(edit), L"abcXf");

    headless::PressKey(VK_SHIFT);
    Key(VK_HOME);
    headless::ReleaseKey(VK_SHIFT);
    Key(VK_DELETE);
    Pump();
    EXPECT_EQ(Text(edit), L"f");

    SendMessageW(edit, EM_SETSEL, 0, -1);
    EXPECT_EQ(Selection(edit), (std::pair<DWORD, DWORD>{0, 1}));
    SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L"new"));
    EXPECT_EQ(Text(edit), L"new");
}

TEST_F(EditWindowTest, CopyAndPasteGoThroughTheClipboard) {
    HWND first = MakeEdit(ES_AUTOHSCROLL, 20, 7);
    headless::TypeText(L"copied");
    Chord(VK_CONTROL, 'A');
    Chord(VK_CONTROL, 'C');
    Pump();
    HWND second = MakeEdit(ES_AUTOHSCROLL, 60, 8);
    headless::TypeText(L"[]");
    Key(VK_LEFT);
    Chord(VK_CONTROL, 'V');
    Pump();
    EXPECT_EQ(Text(second), L"[copied]");

    SetFocus(first);
    SendMessageW(first, EM_SETSEL, 0, 3);
    Chord(VK_CONTROL, 'X');
    Pump();
    EXPECT_EQ(Text(first), L"ied");
    SendMessageW(second, EM_SETSEL, 0, -1);
    SendMessageW(second, WM_PASTE, 0, 0);
    EXPECT_EQ(Text(second), L"cop");
}

TEST_F(EditWindowTest, LimitsNumbersAndPasswords) {
    HWND limited = MakeEdit(ES_AUTOHSCROLL | ES_NUMBER);
    SendMessageW(limited, EM_SETLIMITTEXT, 3, 0);
    Recorder::Get().log.clear();
    headless::TypeText(L"1a2b3c4");
    Pump();
    EXPECT_EQ(Text(limited), L"123");
    EXPECT_GE(Notifications(EN_MAXTEXT), 1);

    HWND secret = MakeEdit(ES_AUTOHSCROLL | ES_PASSWORD, 60, 8);
    EXPECT_EQ(SendMessageW(secret, EM_GETPASSWORDCHAR, 0, 0), L'*');
    headless::TypeText(L"pw");
    Pump();
    SetFocus(limited);
    Chord(VK_CONTROL, 'A');
    Chord(VK_CONTROL, 'C');
    Pump();
    SetFocus(secret);
    Chord(VK_CONTROL, 'A');
    Chord(VK_CONTROL, 'C');  // a password is never copied
    Pump();
    SendMessageW(limited, EM_SETLIMITTEXT, 0, 0);
    SetFocus(limited);
    Key(VK_END);
    Chord(VK_CONTROL, 'V');
    Pump();
    EXPECT_EQ(Text(secret), L"pw");
    EXPECT_EQ(Text(limited), L"123123");
}

TEST_F(EditWindowTest, TheMousePlacesTheCaretAndDragsASelection) {
    HWND edit = MakeEdit(ES_AUTOHSCROLL);
    SetWindowTextW(edit, L"mouse text");
    EXPECT_FALSE(SendMessageW(edit, EM_GETMODIFY, 0, 0));
    Pump();
    RECT rect;
    GetWindowRect(edit, &rect);
    int y = rect.top + 12;
    headless::Click(rect.right - 1, y);
    Pump();
    EXPECT_EQ(Selection(edit), (std::pair<DWORD, DWORD>{10, 10}));
    headless::MoveMouse(rect.left + 1, y);
    headless::PressButton(VK_LBUTTON);
    Pump();
    EXPECT_EQ(Selection(edit), (std::pair<DWORD, DWORD>{0, 0}));
    headless::MoveMouse(rect.right + 40, y);
    headless::ReleaseButton(VK_LBUTTON);
    Pump();
    EXPECT_EQ(Selection(edit), (std::pair<DWORD, DWORD>{0, 10}));
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(EditWindowTest, TheParentChoosesTheColours) {
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    Recorder::Get().On(WM_CTLCOLOREDIT, [red](HWND, WPARAM, LPARAM) -> LRESULT {
        return reinterpret_cast<LRESULT>(red);
    });
    HWND edit = MakeEdit(ES_AUTOHSCROLL);
    SetFocus(parent);
    Pump();
    EXPECT_GE(Recorder::Get().Count(parent, WM_CTLCOLOREDIT), 1);
    std::vector<DWORD> pixels;
    int width;
    int height;
    display::CaptureScreen(&pixels, &width, &height);
    RECT rect;
    GetWindowRect(edit, &rect);
    EXPECT_EQ(pixels[static_cast<std::size_t>(rect.top + 2) * width + rect.right - 3], 0xFFFF0000u);
    DestroyWindow(edit);
    DeleteObject(red);
}

TEST_F(EditWindowTest, ASuperclassBuildsOnTheSystemEdit) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    ASSERT_TRUE(GetClassInfoExW(nullptr, WC_EDITW, &windowClass));
    static WNDPROC systemEdit;
    static int returns;
    systemEdit = windowClass.lpfnWndProc;
    returns = 0;
    windowClass.lpszClassName = L"EditWnd";
    windowClass.lpfnWndProc = [](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
        if (m == WM_KEYDOWN && wp == VK_RETURN) {
            ++returns;
            return 0;
        }
        // As a framework window keeps WM_NCCREATE to itself.
        if (m == WM_NCCREATE) {
            return DefWindowProcW(w, m, wp, lp);
        }
        return CallWindowProcW(systemEdit, w, m, wp, lp);
    };
    ASSERT_NE(RegisterClassExW(&windowClass), 0);
    HWND edit = CreateWindowExW(0, L"EditWnd", L"start", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 20,
                                20, 300, 24, parent, nullptr, nullptr, nullptr);
    ASSERT_NE(edit, nullptr);
    SetFocus(edit);
    SendMessageW(edit, EM_SETSEL, 5, 5);
    headless::TypeText(L"ed\r");
    Pump();
    EXPECT_EQ(Text(edit), L"started");
    EXPECT_EQ(returns, 1);
}

}  // namespace
