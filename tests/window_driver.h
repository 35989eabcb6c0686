// SPDX-License-Identifier: GPL-3.0-or-later
// A user at the window, for the behaviour tests that run on every toolkit:
// each toolkit's driver (driver_qt.cpp, driver_win32.cpp) does these as its
// platform delivers them, each action run to completion.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "window/form1.h"

// Runs the test program's tests with the toolkit started for them.
int RunTestsWithToolkit(int argc, char** argv);

// Shows the window and makes it the active one.
void ShowAndActivate(Form1& form);

// A mouse click on the control: an enabled button is pressed, a box or a
// list takes the focus.
void ClickOn(Form1& form, Control control);

// Types the character code into the focused control as a key of the
// keyboard: 8 Backspace, 13 Enter, 27 Escape, 1 to 26 Ctrl with a letter,
// 127 Ctrl+Backspace, any other its character.
void TypeCode(Form1& form, int code);

// Text an input method commits into the focused control (UTF-8).
void CommitText(Form1& form, const std::string& text);

// Tab, or Shift+Tab when backwards.
void PressTab(Form1& form, bool backwards);

// Holds Enter (or Space) on the focused control through repeats marked as
// the platform marks them, then lets it go.
void HoldKey(Form1& form, bool space, int repeats);

// The control that has the keyboard focus; false when none of the window's.
bool Focused(Form1& form, Control& control);

bool IsEnabled(Form1& form, Control control);
bool IsShown(Form1& form);

// The items of a pick list, in order.
std::vector<std::string> ListItems(Form1& form, Control list);

// Runs the toolkit's event loop, as the program does, with action queued
// first; true when it ended because the window closed.
bool RunsUntilTheProgramEnds(Form1& form, const std::function<void()>& action);
