// SPDX-License-Identifier: GPL-3.0-or-later
// The user at the Win32 window: the messages Windows queues for a mouse and
// a keyboard, handled by the window's own message loop.
#include <gtest/gtest.h>

#include <windows.h>

#include <climits>
#include <cstring>
#include <memory>
#include <string>

#include "tests/window_driver.h"
#include "window/win32/form_window.h"

namespace {

// Queues a key's press (or a repeat of it) and its release for the focus,
// and lets the window handle them.
void PostKey(WPARAM key, bool repeat, bool release)
{
    const UINT scan = MapVirtualKeyW(static_cast<UINT>(key), MAPVK_VK_TO_VSC);
    LPARAM lParam = 1 | (static_cast<LPARAM>(scan) << 16);
    if (repeat || release) lParam |= 1 << 30;
    if (release) lParam |= static_cast<LPARAM>(1u) << 31;
    PostMessageW(GetFocus(), release ? WM_KEYUP : WM_KEYDOWN, key, lParam);
    DoEvents();
}

void TypeKey(WPARAM key)
{
    PostKey(key, false, false);
    PostKey(key, false, true);
}

// Holds Shift down for the keys typed meanwhile, as the keyboard's state
// that the dialog manager reads.
struct ShiftHeld {
    BYTE keys[256]{};
    ShiftHeld()
    {
        GetKeyboardState(keys);
        keys[VK_SHIFT] |= 0x80;
        SetKeyboardState(keys);
    }
    ~ShiftHeld()
    {
        keys[VK_SHIFT] &= 0x7f;
        SetKeyboardState(keys);
    }
};

void PutOnClipboard(Form1& form, const std::string& text)
{
    const std::wstring wide = Wide(text);
    const std::size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    std::memcpy(GlobalLock(memory), wide.c_str(), bytes);
    GlobalUnlock(memory);
    if (OpenClipboard(form.Window().hwnd)) {
        EmptyClipboard();
        SetClipboardData(CF_UNICODETEXT, memory);
        CloseClipboard();
    }
}

}  // namespace

int RunTestsWithToolkit(int, char**)
{
    return RUN_ALL_TESTS();
}

void ShowAndActivate(Form1& form)
{
    form.Show();
    SetForegroundWindow(form.Window().hwnd);
    DoEvents();
}

void ClickOn(Form1& form, Control control)
{
    HWND handle = form.Window().Handle(control);
    if (!IsWindowEnabled(handle)) return;  // a disabled control takes no click
    if (LayoutOf(control).kind == Kind::Button) {
        SendMessageW(handle, BM_CLICK, 0, 0);
    } else {
        SetFocus(handle);
        // A click right of a box's text puts the cursor at its end.
        if (LayoutOf(control).kind == Kind::TextBox) SendMessageW(handle, EM_SETSEL, INT_MAX, INT_MAX);
    }
    DoEvents();
}

void TypeCode(Form1&, int code)
{
    const struct {
        int code;
        WPARAM key;
    } keys[] = {{8, VK_BACK}, {13, VK_RETURN}, {27, VK_ESCAPE}};
    for (const auto& k : keys) {
        if (k.code == code) return TypeKey(k.key);
    }
    // What the keyboard's layout makes of any other key.
    PostMessageW(GetFocus(), WM_CHAR, static_cast<WPARAM>(code), 1);
    DoEvents();
}

// As a Brazilian keyboard layout types it: the key's press, then the comma
// that TranslateMessage makes of it.
void TypeKeypadDecimal(Form1&)
{
    const UINT scan = MapVirtualKeyW(VK_DECIMAL, MAPVK_VK_TO_VSC);
    const LPARAM lParam = 1 | (static_cast<LPARAM>(scan) << 16);
    SendMessageW(GetFocus(), WM_KEYDOWN, VK_DECIMAL, lParam);
    PostMessageW(GetFocus(), WM_CHAR, L',', lParam);
    DoEvents();
}

// The number boxes take no input method: composed text (a dead key and a
// letter) comes as the characters it makes.
void CommitText(Form1&, const std::string& text)
{
    for (const wchar_t character : Wide(text)) SendMessageW(GetFocus(), WM_CHAR, character, 1);
    DoEvents();
}

void PasteWithShiftInsert(Form1& form, const std::string& text)
{
    PutOnClipboard(form, text);
    const ShiftHeld shift;
    TypeKey(VK_INSERT);
}

void PressTab(Form1&, bool backwards)
{
    if (!backwards) return TypeKey(VK_TAB);
    const ShiftHeld shift;
    TypeKey(VK_TAB);
}

void HoldKey(Form1&, bool space, int repeats)
{
    const WPARAM key = space ? VK_SPACE : VK_RETURN;
    PostKey(key, false, false);
    for (int i = 0; i < repeats; ++i) PostKey(key, true, false);
    PostKey(key, false, true);
}

bool Focused(Form1& form, Control& control)
{
    return form.Window().ControlOf(GetFocus(), control);
}

bool IsEnabled(Form1& form, Control control)
{
    return IsWindowEnabled(form.Window().Handle(control)) != FALSE;
}

bool IsShown(Form1& form)
{
    return IsWindow(form.Window().hwnd) && IsWindowVisible(form.Window().hwnd);
}

std::vector<std::string> ListItems(Form1& form, Control list)
{
    HWND handle = form.Window().Handle(list);
    std::vector<std::string> items;
    const auto count = static_cast<int>(SendMessageW(handle, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) items.push_back(Utf8(ListItem(handle, i)));
    return items;
}

bool RunsUntilTheProgramEnds(Form1&, const std::function<void()>& action)
{
    // Ends a loop that the action failed to end.
    const UINT_PTR guard = SetTimer(nullptr, 0, 20000, [](HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(1); });
    action();
    const int exitCode = RunEventLoop();
    KillTimer(nullptr, guard);
    return exitCode == 0;
}

void PickListItem(Form1& form, Control list, int index)
{
    SetFocus(form.Window().Handle(list));
    SendMessageW(form.Window().Handle(list), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    DoEvents();
}

// The edit control's context menu pastes by sending the box WM_PASTE.
void PasteFromMenu(Form1& form, Control box, const std::string& text)
{
    ClickOn(form, box);
    PutOnClipboard(form, text);
    SendMessageW(form.Window().Handle(box), WM_PASTE, 0, 0);
    DoEvents();
}

void QueueClick(Form1& form, Control button)
{
    PostMessageW(form.Window().Handle(button), BM_CLICK, 0, 0);
}

// The close box sends the window SC_CLOSE.
void QueueClose(Form1& form)
{
    PostMessageW(form.Window().hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
}

// Calls queued as messages to a message-only window of their own.
void QueueCall(const std::function<void()>& call)
{
    static const HWND target = [] {
        WNDCLASSW calls{};
        calls.lpfnWndProc = [](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
            if (message != WM_APP) return DefWindowProcW(hwnd, message, wParam, lParam);
            const std::unique_ptr<std::function<void()>> queued(reinterpret_cast<std::function<void()>*>(lParam));
            (*queued)();
            return 0;
        };
        calls.hInstance = GetModuleHandleW(nullptr);
        calls.lpszClassName = L"OrvantaQueuedCalls";
        RegisterClassW(&calls);
        return CreateWindowExW(0, calls.lpszClassName, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, calls.hInstance,
                               nullptr);
    }();
    PostMessageW(target, WM_APP, 0, reinterpret_cast<LPARAM>(new std::function<void()>(call)));
}
