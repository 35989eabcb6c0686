// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/win32/accessibility.h"

#include <windows.h>

#include <commctrl.h>
#include <objbase.h>
#include <oleacc.h>

#include <iterator>

#include "win32/system_library.h"
#include "window/screen_reader_names.h"
#include "window/win32/form_window.h"

namespace {

// The Component Object Model, which the annotations need, is loaded with
// them: a start that no accessibility client asks about pays nothing for it.
struct Com {
    HMODULE ole32 = LoadSystemLibrary(L"ole32.dll");
    decltype(&CoInitializeEx) initialize = FindFunction<decltype(&CoInitializeEx)>(ole32, "CoInitializeEx");
    decltype(&CoCreateInstance) create = FindFunction<decltype(&CoCreateInstance)>(ole32, "CoCreateInstance");
    decltype(&CoUninitialize) uninitialize = FindFunction<decltype(&CoUninitialize)>(ole32, "CoUninitialize");
};

const Com* LoadCom()
{
    static const Com com;
    return com.initialize != nullptr && com.create != nullptr && com.uninitialize != nullptr ? &com : nullptr;
}

// The annotation service through COM; false when there is none.
bool CreateAnnotations(FormWindow& window)
{
    const Com* com = LoadCom();
    if (com == nullptr) return false;
    window.comStarted = SUCCEEDED(com->initialize(nullptr, COINIT_APARTMENTTHREADED));
    void* services = nullptr;
    if (SUCCEEDED(com->create(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices, &services))) {
        window.annotations = static_cast<IAccPropServices*>(services);
        return true;
    }
    if (window.comStarted) com->uninitialize();
    window.comStarted = false;
    return false;
}

void Annotate(const FormWindow& window, Control control, const MSAAPROPID& property, const std::string& text)
{
    window.annotations->SetHwndPropStr(window.Handle(control), OBJID_CLIENT, CHILDID_SELF, property,
                                       Wide(text).c_str());
}

LRESULT CALLBACK NamedControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR data)
{
    if (message == WM_GETOBJECT) AnnotateForScreenReaders(*reinterpret_cast<FormWindow*>(data));
    if (message == WM_NCDESTROY) RemoveWindowSubclass(control, NamedControlProc, id);
    return DefSubclassProc(control, message, wParam, lParam);
}

}  // namespace

// Under Wine, each message to a subclassed control asks the server for its
// procedures, which filling the lists before the window is shown would pay
// for.
void WatchForScreenReaders(FormWindow& window)
{
    for (const ScreenReaderName& name : ScreenReaderNames) {
        SetWindowSubclass(window.Handle(name.control), NamedControlProc, 0, reinterpret_cast<DWORD_PTR>(&window));
    }
}

// Screen readers also name a box or a list by the label stacked right before
// it; the annotations give the full names. Done when a client first asks the
// window or a control for its object (WM_GETOBJECT), before it gets it,
// while the window is shown (not once it is hidden to be destroyed).
void AnnotateForScreenReaders(FormWindow& window)
{
    if (window.annotated || !IsWindowVisible(window.hwnd)) return;
    if (window.annotations == nullptr && !CreateAnnotations(window)) return;
    window.annotated = true;
    for (const ScreenReaderName& name : ScreenReaderNames)
        Annotate(window, name.control, PROPID_ACC_NAME, SpokenName(name));
    for (const NumberBoxRange& range : NumberBoxRanges) {
        Annotate(window, range.box, PROPID_ACC_DESCRIPTION, RangeDescription(range));
    }
}

void ForgetScreenReaderNames(FormWindow& window)
{
    if (window.annotations == nullptr) return;
    const MSAAPROPID properties[] = {PROPID_ACC_NAME, PROPID_ACC_DESCRIPTION};
    if (window.annotated) {
        for (const ControlLayout& layout : ControlTable) {
            window.annotations->ClearHwndProps(window.Handle(layout.id), OBJID_CLIENT, CHILDID_SELF, properties,
                                               static_cast<int>(std::size(properties)));
        }
    }
    window.annotations->Release();
    window.annotations = nullptr;
    window.annotated = false;
    if (window.comStarted) LoadCom()->uninitialize();
    window.comStarted = false;
}
