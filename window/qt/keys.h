// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Keys as the number boxes' key-press handlers see them: character codes.

#include <vector>

class QInputMethodEvent;
class QKeyEvent;
class QLineEdit;

// The character codes a key press makes, as the classic desktop makes them
// and the key-press handlers see them: 8 for Backspace and 13 for Enter, 127
// and 10 with Ctrl, 27 for Escape, the control character of Ctrl with a
// letter or with @ [ \ ] ^ _ and of the keyboard's clipboard and undo
// shortcuts, otherwise one code per typed character (a keyboard layout may
// type several at once), but "." for the keypad's decimal key whatever
// separator the layout gives it. None for keys that make no character code (Tab,
// arrows, Delete, Home, End, Ctrl with a digit...), which the text box
// handles as usual.
std::vector<int> KeyPressCodes(const QKeyEvent& event);

// The character codes of the text an input method commits (a dead key's
// accent on a letter, a compose sequence, a string of its own).
std::vector<int> CommittedCodes(const QInputMethodEvent& event);

// True for the keypad's decimal key where the layout makes it a comma: a
// number box takes it as the decimal point.
bool IsKeypadComma(const QKeyEvent& event);

// True for the keys that press a focused button: Enter, Space, Select.
bool PressesAButton(const QKeyEvent& event);

// Types one let-through code into a text box at its cursor: 8 deletes
// backwards, any other code inserts its character.
void TypeInto(QLineEdit& box, int code);
