// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/web/form_window.h"

#include <emscripten.h>

#include <cstdlib>
#include <deque>
#include <map>
#include <string>

#include "window/web/markup.h"

namespace {

std::deque<std::function<void()>> queued;
std::map<int, FormWindow*> windows;  // by handle, while loaded

int Index(Control control)
{
    return static_cast<int>(control);
}

// Texts cross to the page as UTF-8 in the module's memory.
EM_JS(void, StartPage, (const char* names), { OrvantaPage.start(UTF8ToString(names).split(',')); });
EM_JS(int, CreateForm, (const char* markup), { return OrvantaPage.create(markup ? UTF8ToString(markup) : null); });
EM_JS(char*, ControlText, (int handle, int control), { return allocateUTF8(OrvantaPage.text(handle, control)); });
EM_JS(bool, SetControlText, (int handle, int control, const char* text),
      { return OrvantaPage.setText(handle, control, UTF8ToString(text)); });
EM_JS(void, AddListItem, (int handle, int control, const char* item),
      { OrvantaPage.addItem(handle, control, UTF8ToString(item)); });
EM_JS(bool, SetSelectedItem, (int handle, int control, int item),
      { return OrvantaPage.setListIndex(handle, control, item); });
EM_JS(void, SetControlEnabled, (int handle, int control, bool enabled),
      { OrvantaPage.forms[handle].controls[control].disabled = !enabled; });
EM_JS(void, FocusElement, (int handle, int control), { OrvantaPage.focus(handle, control); });
EM_JS(void, ShowPageForm, (int handle), { OrvantaPage.show(handle); });
EM_JS(int, ViewportWidth, (), { return OrvantaPage.viewport('width'); });
EM_JS(int, ViewportHeight, (), { return OrvantaPage.viewport('height'); });
EM_JS(void, PlaceForm, (int handle, int left, int top), {
    const style = OrvantaPage.forms[handle].root.style;
    style.left = left + 'px';
    style.top = top + 'px';
});
EM_JS(void, CloseForm, (int handle, bool ended), { OrvantaPage.close(handle, ended); });
// The program waits for the page without holding it up (Asyncify): for
// events, for the page to deliver what the user did, for a message box.
EM_ASYNC_JS(void, WaitForEvent, (), { await new Promise(function(wake) { OrvantaPage.wake = wake; }); });
EM_ASYNC_JS(void, YieldToPage, (), { await new Promise(function(resume) { setTimeout(resume, 0); }); });
EM_ASYNC_JS(void, ShowMessageBox, (const char* text, const char* title),
            { await OrvantaPage.msgBox(UTF8ToString(text), UTF8ToString(title)); });

std::string TakeText(char* text)
{
    std::string copy(text);
    std::free(text);
    return copy;
}

FormWindow* Loaded(int handle)
{
    const auto found = windows.find(handle);
    return found == windows.end() ? nullptr : found->second;
}

// Every page's script is deferred (make_page): the page has been read when
// the program starts.
bool PageStarted()
{
    std::string names;
    for (const ControlLayout& layout : ControlTable) names += std::string(names.empty() ? "" : ",") + layout.name;
    StartPage(names.c_str());
    return true;
}

}  // namespace

// The page's events, called from form_window.js.
extern "C" {

EMSCRIPTEN_KEEPALIVE int orvanta_key_press(int handle, int control, int code)
{
    FormWindow* window = Loaded(handle);
    return window != nullptr ? window->events.keyPress(static_cast<Control>(control), code) : 0;
}

// Run when its turn comes, and only if the button is still enabled then.
EMSCRIPTEN_KEEPALIVE void orvanta_click(int handle, int control)
{
    queued.push_back([handle, control] {
        FormWindow* window = Loaded(handle);
        if (window != nullptr &&
            EM_ASM_INT({ return !OrvantaPage.forms[$0].controls[$1].disabled; }, handle, control)) {
            window->events.click(static_cast<Control>(control));
        }
    });
}

// The browser's window changed size: the form is centred again.
EMSCRIPTEN_KEEPALIVE void orvanta_resized(int handle)
{
    queued.push_back([handle] {
        if (FormWindow* window = Loaded(handle)) window->events.framed();
    });
}
}

void RunQueuedEvents()
{
    RunEventsQueuedAfter(0);
}

std::size_t QueuedEventCount()
{
    return queued.size();
}

void RunEventsQueuedAfter(std::size_t count)
{
    while (queued.size() > count) {
        const std::function<void()> event = std::move(queued[count]);
        queued.erase(queued.begin() + static_cast<std::ptrdiff_t>(count));
        event();
    }
}

void RunEventLoop()
{
    for (RunQueuedEvents(); !windows.empty(); RunQueuedEvents()) WaitForEvent();
}

void QueueCall(const std::function<void()>& call)
{
    queued.push_back(call);
}

void FormWindowDeleter::operator()(FormWindow* window) const
{
    if (window->loaded) {
        windows.erase(window->handle);
        CloseForm(window->handle, false);
    }
    delete window;
}

FormWindowPointer CreateFormWindow(FormEvents events)
{
    static const bool started = PageStarted();
    (void)started;
    // The page's own form, written from the same layout when the site was
    // built; the markup is made only where the page has none to give.
    int handle = CreateForm(nullptr);
    if (handle < 0) handle = CreateForm(FormMarkup().c_str());
    auto* window = new FormWindow{handle, std::move(events)};
    windows[window->handle] = window;
    return FormWindowPointer(window);
}

// The page shows the form from the start; from now on a focused control is
// brought into view.
void ShowForm(FormWindow& window)
{
    ShowPageForm(window.handle);
}

std::string GetText(const FormWindow& window, Control control)
{
    return TakeText(ControlText(window.handle, Index(control)));
}

bool SetText(FormWindow& window, Control control, std::string_view text)
{
    return SetControlText(window.handle, Index(control), std::string(text).c_str());
}

void AddItem(FormWindow& window, Control list, std::string_view item)
{
    AddListItem(window.handle, Index(list), std::string(item).c_str());
}

bool SetListIndex(FormWindow& window, Control control, int index)
{
    return SetSelectedItem(window.handle, Index(control), index);
}

void SetEnabled(FormWindow& window, Control control, bool enabled)
{
    SetControlEnabled(window.handle, Index(control), enabled);
}

void FocusControl(FormWindow& window, Control control)
{
    FocusElement(window.handle, Index(control));
}

// The browser's viewport is the screen; the form is the window.
int ScreenWidth(const FormWindow&)
{
    return ViewportWidth() * TwipsPerPixel;
}

int ScreenHeight(const FormWindow&)
{
    return ViewportHeight() * TwipsPerPixel;
}

// The form's size on a screen that holds it, as the style sheet gives it.
int WindowWidth(const FormWindow&)
{
    return ClientWidth;
}

int WindowHeight(const FormWindow&)
{
    return ClientHeight;
}

// Where the form is laid out at its size; a narrow screen's column ignores it.
void SetWindowPosition(FormWindow& window, float left, float top)
{
    PlaceForm(window.handle, static_cast<int>(left) / TwipsPerPixel, static_cast<int>(top) / TwipsPerPixel);
}

std::vector<Control> Controls(const FormWindow&)
{
    std::vector<Control> controls;
    for (const ControlLayout& layout : ControlTable) controls.push_back(layout.id);
    return controls;
}

// Lets the browser deliver what the user did, then runs it.
void DoEvents()
{
    YieldToPage();
    RunQueuedEvents();
}

void MsgBox(FormWindow&, std::string_view text, std::string_view title)
{
    ShowMessageBox(std::string(text).c_str(), std::string(title).c_str());
}

void Unload(FormWindow& window)
{
    if (!window.loaded || !window.events.queryUnload()) return;
    window.loaded = false;
    windows.erase(window.handle);
    CloseForm(window.handle, windows.empty());
}
