// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/win32/keys.h"

#include <commctrl.h>
#include <imm.h>

#include <utility>

#include "calc/number_text.h"
#include "window/win32/form_window.h"

namespace {

// A held key's later presses, which Windows marks as repeats (bit 30: the
// key was already down): Enter or Space held on a button presses it once,
// and held on through what that press did (a message box closed, the window
// cleared), its repeats do nothing else. The dialog manager passes every
// message through this hook first, in the window's own loop and in a
// message box's.
LRESULT CALLBACK DropHeldButtonKey(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* message = reinterpret_cast<const MSG*>(lParam);
    if (code == MSGF_DIALOGBOX && message->message == WM_KEYDOWN &&
        (message->wParam == VK_RETURN || message->wParam == VK_SPACE) && (message->lParam & (1 << 30)) != 0) {
        return TRUE;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The character code that pastes; the keyboard's other paste key,
// Shift+Insert, passes the key filter as this code too.
constexpr int PasteCode = 22;

// A number box's character codes pass the key-press event first. The
// keypad's decimal key types the full stop the boxes read, whatever
// character the keyboard layout gives it (a comma under a Brazilian one);
// its WM_CHAR follows its WM_KEYDOWN, as TranslateMessage makes it.
LRESULT CALLBACK NumberBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR data)
{
    auto& window = *reinterpret_cast<FormWindow*>(data);
    const auto typeKey = [&](WPARAM code) -> LRESULT {
        const int kept = window.events.keyPress(static_cast<Control>(id), static_cast<int>(code));
        // A single-line edit would only beep at Enter.
        if (kept == 0 || kept == EnterCode) return 0;
        return DefSubclassProc(box, WM_CHAR, static_cast<WPARAM>(kept), lParam);
    };
    switch (message) {
    case WM_GETDLGCODE: {
        // Enter and Escape make character codes for the key filter rather
        // than commands for the dialog manager.
        const auto* key = reinterpret_cast<const MSG*>(lParam);
        const LRESULT code = DefSubclassProc(box, message, wParam, lParam);
        if (key != nullptr && key->message == WM_KEYDOWN && (key->wParam == VK_RETURN || key->wParam == VK_ESCAPE)) {
            return code | DLGC_WANTMESSAGE;
        }
        return code;
    }
    case WM_KEYDOWN:
        window.keypadDecimal = wParam == VK_DECIMAL;
        if (wParam == VK_INSERT && GetKeyState(VK_SHIFT) < 0 && GetKeyState(VK_CONTROL) >= 0) {
            return typeKey(PasteCode);
        }
        break;
    case WM_CHAR: return typeKey(std::exchange(window.keypadDecimal, false) ? '.' : wParam);
    case WM_NCDESTROY: RemoveWindowSubclass(box, NumberBoxProc, id); break;
    default: break;
    }
    return DefSubclassProc(box, message, wParam, lParam);
}

}  // namespace

void DropHeldButtonKeys()
{
    SetWindowsHookExW(WH_MSGFILTER, DropHeldButtonKey, nullptr, GetCurrentThreadId());
}

void HandleMessage(MSG& message, HWND dialog)
{
    if (dialog != nullptr && IsDialogMessageW(dialog, &message)) {
        return;
    }
    if (CallMsgFilterW(&message, MSGF_DIALOGBOX)) {
        return;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

// What an input method composes would pass the key filter only as the
// characters it commits.
void FilterNumberBoxKeys(FormWindow& window, Control box)
{
    SetWindowSubclass(window.Handle(box), NumberBoxProc, static_cast<UINT_PTR>(box),
                      reinterpret_cast<DWORD_PTR>(&window));
    ImmAssociateContextEx(window.Handle(box), nullptr, 0);
}
