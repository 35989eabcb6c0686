// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The narrow layer over Qt Widgets that the window's behaviour calls: text
// of boxes and pick lists, list items and selection, enabling, focus, sizes
// in twips, the window's controls, properties set by name, pending events,
// the error message box and unloading.

#include <string>
#include <string_view>
#include <vector>

class QComboBox;
class QInputMethodEvent;
class QKeyEvent;
class QLineEdit;
class QVariant;
class QWidget;

// At 96 dots per inch a pixel is 15 twips; the window is laid out in
// logical pixels, so this holds on every display.
inline constexpr int TwipsPerPixel = 15;

// Text of a text box, or the selected item's text of a pick list (empty
// without a selection); empty for controls that have no text.
std::string GetText(const QWidget* control);

// Sets a text box's text (also when it is disabled), or selects the pick
// list item with exactly this text. False, without effect, for any other
// text on a pick list and for controls that have no text.
bool SetText(QWidget* control, std::string_view text);

void AddItem(QComboBox* list, std::string_view item);

// -1 leaves no item selected and the box empty. False, without effect, for
// an index out of range and for controls that are not pick lists.
bool SetListIndex(QWidget* control, int index);

void SetEnabled(QWidget* control, bool enabled);
void SetFocus(QWidget* control);

// Screen and outer window sizes in twips; the window's position in twips
// from the top-left corner of its screen. The outer size counts the window
// manager's frame once the window manager has reported it, which it does
// when the window is first mapped; until then it is the client area.
int ScreenWidth(const QWidget* window);
int ScreenHeight(const QWidget* window);
int WindowWidth(const QWidget* window);
int WindowHeight(const QWidget* window);
void SetWindowPosition(QWidget* window, float left, float top);

// Every control of the window once, in creation order.
std::vector<QWidget*> Controls(const QWidget* window);

// Sets "Text" or "ListIndex" by name on any control. False, without effect,
// where the control lacks the property or refuses the value.
bool SetProperty(QWidget* control, std::string_view name, const QVariant& value);

// Runs the events queued so far to completion.
void DoEvents();

// The character codes a key press makes, as the classic desktop makes them
// and the key-press handlers see them: 8 for Backspace and 13 for Enter, 127
// and 10 with Ctrl, 27 for Escape, the control character of Ctrl with a
// letter or with @ [ \ ] ^ _ and of the keyboard's clipboard and undo
// shortcuts, otherwise one code per typed character (a keyboard layout may
// type several at once). None for keys that make no character code (Tab,
// arrows, Delete, Home, End, Ctrl with a digit...), which the text box
// handles as usual.
std::vector<int> KeyPressCodes(const QKeyEvent& event);

// Takes the text an input method commits (a dead key's accent on a letter,
// a compose sequence, a string of its own) out of event and returns its
// character codes; the event keeps its preedit and its replacement.
std::vector<int> TakeCommittedCodes(QInputMethodEvent& event);

// The last key pressed and released in the application, to tell a held
// key's repeats from new presses.
struct KeyHistory {
    int key = 0;
    unsigned long long pressedAt = 0, releasedAt = 0;  // event timestamps
};

// True when event, a key press or release delivered to a window, repeats a
// held key; history is brought up to date. Some platforms mark repeats. X11
// sends each repeat unmarked, as a release and a press at one instant, later
// than the key's press before it. A press at the instant of a release that
// came at the instant of its own press (a tap sent by a program) is new.
bool IsKeyRepeat(KeyHistory& history, const QKeyEvent& event);

// Types one let-through code into a text box at its cursor: 8 deletes
// backwards, any other code inserts its character.
void TypeInto(QLineEdit* box, int code);

// Shows text with the critical-error icon, the title and one OK button;
// returns when the user closes it.
void MsgBox(QWidget* owner, std::string_view text, std::string_view title);

// Installs Qt's own Brazilian Portuguese texts (the text boxes' context
// menu, the message box's buttons) whatever the user's language, so that the
// toolkit speaks as the rest of the window does. Numbers still follow the
// user's regional settings. False when Qt's translations are not installed:
// the toolkit's texts then stay English. Needs the application object.
bool LoadToolkitTranslations();

// Closes the window; with no window left the program ends.
void Unload(QWidget* window);
