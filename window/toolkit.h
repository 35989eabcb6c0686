// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The toolkit operations that the window's behaviour calls, on the controls
// of window/layout.h: text of boxes and pick lists, list items and
// selection, enabling, focus, sizes in twips, the window's controls,
// properties set by name, pending events, the error message box and
// unloading. Qt Widgets (window/qt/) and Win32 (window/win32/) implement
// them; the program links one.

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "window/layout.h"

// The toolkit's window with its controls; each toolkit defines it.
struct FormWindow;

// What the window tells its owner. keyPress gets a text box and the
// character code typed into it and returns the code the box gets (0
// discards the key); click gets an enabled button; queryUnload is asked
// before the window closes, by the close box or by Unload, and returns
// false to keep it open; framed is told once, when the window manager's
// frame around the first shown window is known.
struct FormEvents {
    std::function<int(Control box, int code)> keyPress;
    std::function<void(Control button)> click;
    std::function<bool()> queryUnload;
    std::function<void()> framed;
};

struct FormWindowDeleter {
    void operator()(FormWindow* window) const;
};
using FormWindowPointer = std::unique_ptr<FormWindow, FormWindowDeleter>;

// Creates the window and all its controls as window/layout.h lays them out,
// not yet shown.
FormWindowPointer CreateFormWindow(FormEvents events);

void ShowForm(FormWindow& window);

// Text of a text box, or the selected item's text of a pick list (empty
// without a selection); empty for controls that have no text.
std::string GetText(const FormWindow& window, Control control);

// Sets a text box's text (also when it is disabled), or selects the pick
// list item with exactly this text. False, without effect, for any other
// text on a pick list and for controls that have no text.
bool SetText(FormWindow& window, Control control, std::string_view text);

void AddItem(FormWindow& window, Control list, std::string_view item);

// -1 leaves no item selected and the box empty. False, without effect, for
// an index out of range and for controls that are not pick lists.
bool SetListIndex(FormWindow& window, Control control, int index);

void SetEnabled(FormWindow& window, Control control, bool enabled);
void FocusControl(FormWindow& window, Control control);

// Screen and outer window sizes in twips; the window's position in twips
// from the top-left corner of its screen. The outer size counts the window
// manager's frame once it is known; until then it is the client area.
int ScreenWidth(const FormWindow& window);
int ScreenHeight(const FormWindow& window);
int WindowWidth(const FormWindow& window);
int WindowHeight(const FormWindow& window);
void SetWindowPosition(FormWindow& window, float left, float top);

// Every control of the window once, in creation order.
std::vector<Control> Controls(const FormWindow& window);

// Sets "Text" (a text) or "ListIndex" (a number) by name on any control.
// False, without effect, where the control lacks the property or refuses
// the value.
using PropertyValue = std::variant<std::string, int>;
bool SetProperty(FormWindow& window, Control control, std::string_view name, const PropertyValue& value);

// Runs the events queued so far to completion.
void DoEvents();

// Shows text with the critical-error icon, the title and one OK button over
// window, centred on the screen; returns when the user closes it.
void MsgBox(FormWindow& window, std::string_view text, std::string_view title);

// Closes the window (queryUnload may keep it open); with no window left the
// program ends.
void Unload(FormWindow& window);

// The decimal separator of the user's regional settings.
std::string DecimalSeparator();
