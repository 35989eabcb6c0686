// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Keys as the window takes them: the dialog keys, a held button key pressing
// once, and the number boxes' character codes through the key-press event.

#include <windows.h>

#include "window/layout.h"

struct FormWindow;

// Drops the repeats of Enter or Space held on a button, in the window's
// message loop and in a message box's; for the calling thread.
void DropHeldButtonKeys();

// Handles one message of the thread's queue: dialog keys (Tab, Shift+Tab,
// a focused button's Enter and Space) for dialog first, when there is one.
void HandleMessage(MSG& message, HWND dialog);

// Passes each character code typed into the box through the window's
// key-press event first; the box takes no input method.
void FilterNumberBoxKeys(FormWindow& window, Control box);
