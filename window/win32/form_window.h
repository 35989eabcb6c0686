// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The window in native Win32 controls: a top-level window with the 24
// controls of window/layout.h as child windows.

#include <windows.h>

#include <array>
#include <string>

#include "win32/text.h"
#include "window/toolkit.h"

struct IAccPropServices;

struct FormWindow {
    HWND hwnd = nullptr;
    std::array<HWND, ControlCount> controls{};
    FormEvents events;
    UINT dpi = USER_DEFAULT_SCREEN_DPI;
    std::array<HFONT, ControlCount> fonts{};
    HWND toolTip = nullptr;
    // The control that has the focus again when the window is activated:
    // the one focused when it was deactivated, or the one given the focus
    // since.
    HWND focus = nullptr;
    // The service that gives screen readers the boxes' and lists' names:
    // made through COM when an accessibility client first asks, unless one
    // was set before (a test's); released when the window is destroyed.
    IAccPropServices* annotations = nullptr;
    bool annotated = false;
    bool comStarted = false;
    // The next character a number box gets comes from the keypad's decimal
    // key.
    bool keypadDecimal = false;
    // Destroyed by its owner, not closed: no quit message then.
    bool destroying = false;

    HWND Handle(Control control) const { return controls[static_cast<int>(control)]; }
    // The control a child window is; false when it is none of the window's.
    bool ControlOf(HWND child, Control& control) const;
};

// The text of a pick list's item.
std::wstring ListItem(HWND list, int index);

// Takes and handles the thread's messages until the window closes, as a
// dialog does (Tab, Shift+Tab, a focused button's Enter); gives the exit
// code the closing posted.
int RunEventLoop();
