// SPDX-License-Identifier: GPL-3.0-or-later
// The user at the browser's window: the test runs in a page of headless
// Chromium, and every key, click and paste is real input that the harness
// sends over the DevTools protocol when the page asks (tests/web/
// driver_web.js). The test waits for it (Asyncify), then runs at once what
// the input queued, ahead of events queued before it, as a desktop
// delivers input.
#include <gtest/gtest.h>

#include <emscripten.h>

#include <cstdlib>
#include <sstream>
#include <string>

#include "calc/number_text.h"
#include "tests/window_driver.h"
#include "window/web/form_window.h"

namespace {

EM_ASYNC_JS(void, ClickControl, (int handle, int control),
            { await OrvantaTest.click(OrvantaTest.control(handle, control)); });
EM_ASYNC_JS(void, PressCode, (int code), { await OrvantaTest.key(OrvantaTest.keyOf(code)); });
EM_ASYNC_JS(void, PressKeypadDecimal, (), { await OrvantaTest.keypadDecimal(); });
EM_ASYNC_JS(void, PressTabKey, (bool backwards), { await OrvantaTest.tab(backwards); });
EM_ASYNC_JS(void, HoldCode, (int code, int repeats), { await OrvantaTest.key(OrvantaTest.keyOf(code), repeats); });
EM_ASYNC_JS(void, InsertText, (const char* text), { await OrvantaTest.commit(UTF8ToString(text)); });
EM_ASYNC_JS(void, PasteByKeys, (const char* text), { await OrvantaTest.pasteWithShiftInsert(UTF8ToString(text)); });
EM_ASYNC_JS(void, PasteByMenu, (const char* text), { await OrvantaTest.pasteFromMenu(UTF8ToString(text)); });
EM_JS(int, FocusedControl, (int handle), { return OrvantaPage.focused(handle); });
EM_JS(bool, ControlEnabled, (int handle, int control), { return !OrvantaTest.control(handle, control).disabled; });
EM_JS(bool, FormShown, (int handle),
      { return OrvantaPage.forms[handle] != null && OrvantaPage.forms[handle].root.isConnected; });
EM_JS(char*, ItemTexts, (int handle, int list), {
    const text = [... OrvantaTest.control(handle, list).options].map(function(o) { return o.text; }).join('\n');
    return allocateUTF8(text);
});
EM_JS(void, FocusAndSelect, (int handle, int list, int item), {
    const control = OrvantaTest.control(handle, list);
    control.focus();
    control.selectedIndex = item;
});

int Index(Control control)
{
    return static_cast<int>(control);
}

// Sends input through the harness and runs what it queued.
template <class Input>
void AsTheUser(Input input)
{
    const std::size_t before = QueuedEventCount();
    input();
    RunEventsQueuedAfter(before);
}

}  // namespace

// The page's program ends here: main() returned long ago to the browser,
// when the tests first waited for input.
int RunTestsWithToolkit(int /*argc*/, char** /*argv*/)
{
    emscripten_force_exit(RUN_ALL_TESTS());
}

void ShowAndActivate(Form1& form)
{
    form.Show();
}

void ClickOn(Form1& form, Control control)
{
    AsTheUser([&] { ClickControl(form.Window().handle, Index(control)); });
}

// The blank is typed as a character, as the desktops' drivers type it: the
// Space key would press a focused button (HoldKey presses it).
void TypeCode(Form1& form, int code)
{
    if (code == ' ') return CommitText(form, " ");
    AsTheUser([&] { PressCode(code); });
}

void TypeKeypadDecimal(Form1&)
{
    AsTheUser([] { PressKeypadDecimal(); });
}

void CommitText(Form1&, const std::string& text)
{
    AsTheUser([&] { InsertText(text.c_str()); });
}

void PasteWithShiftInsert(Form1&, const std::string& text)
{
    AsTheUser([&] { PasteByKeys(text.c_str()); });
}

void PressTab(Form1&, bool backwards)
{
    AsTheUser([&] { PressTabKey(backwards); });
}

void HoldKey(Form1&, bool space, int repeats)
{
    AsTheUser([&] { HoldCode(space ? ' ' : EnterCode, repeats); });
}

bool Focused(Form1& form, Control& control)
{
    const int index = FocusedControl(form.Window().handle);
    if (index >= 0) control = static_cast<Control>(index);
    return index >= 0;
}

bool IsEnabled(Form1& form, Control control)
{
    return ControlEnabled(form.Window().handle, Index(control));
}

bool IsShown(Form1& form)
{
    return FormShown(form.Window().handle);
}

std::vector<std::string> ListItems(Form1& form, Control list)
{
    char* texts = ItemTexts(form.Window().handle, Index(list));
    std::vector<std::string> items;
    std::istringstream lines(texts);
    std::free(texts);
    for (std::string item; std::getline(lines, item);) items.push_back(item);
    return items;
}

bool RunsUntilTheProgramEnds(Form1& form, const std::function<void()>& action)
{
    QueueCall(action);
    RunEventLoop();
    return !IsShown(form);
}

void PickListItem(Form1& form, Control list, int index)
{
    FocusAndSelect(form.Window().handle, Index(list), index);
}

void PasteFromMenu(Form1& form, Control box, const std::string& text)
{
    ClickOn(form, box);
    AsTheUser([&] { PasteByMenu(text.c_str()); });
}

// A click that the page has delivered and that waits its turn.
void QueueClick(Form1& form, Control button)
{
    EM_ASM({ _orvanta_click($0, $1); }, form.Window().handle, Index(button));
}

// The page has no close box; closing the window is unloading it. QueueCall
// is the toolkit's own.
void QueueClose(Form1& form)
{
    QueueCall([&form] { Unload(form.Window()); });
}
