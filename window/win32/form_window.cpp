// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/win32/form_window.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "window/win32/accessibility.h"
#include "window/win32/keys.h"
#include "window/win32/layout.h"

namespace {

constexpr wchar_t WindowClass[] = L"OrvantaForm1";
// Control ids start past IDOK and IDCANCEL, which the dialog manager sends
// for Enter and Escape.
constexpr int FirstControlId = 100;

bool IsKind(Control control, Kind kind)
{
    return LayoutOf(control).kind == kind;
}

// The one window whose dialog keys the message loop handles.
FormWindow* shownWindow = nullptr;

HWND DialogHandle()
{
    return shownWindow != nullptr ? shownWindow->hwnd : nullptr;
}

void RememberFocus(FormWindow& window)
{
    HWND focus = GetFocus();
    if (IsChild(window.hwnd, focus)) window.focus = focus;
}

// The remembered control, or the first in tab order that can take the focus.
void RestoreFocus(FormWindow& window)
{
    HWND focus = window.focus;
    if (focus == nullptr || !IsWindowEnabled(focus)) focus = GetNextDlgTabItem(window.hwnd, nullptr, FALSE);
    SetFocus(focus);
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* window = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (window == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
    switch (message) {
    case WM_COMMAND: {
        Control button{};
        HWND from = reinterpret_cast<HWND>(lParam);
        // The dialog manager sends IDOK for Enter: it presses the focused
        // button, and nothing anywhere else (there is no default button).
        if (LOWORD(wParam) == IDOK && from == nullptr) from = GetFocus();
        if ((HIWORD(wParam) == BN_CLICKED || LOWORD(wParam) == IDOK) && window->ControlOf(from, button) &&
            LayoutOf(button).kind == Kind::Button && IsWindowEnabled(from)) {
            const bool active = GetActiveWindow() == hwnd;
            window->events.click(button);
            // A dialog of someone else's that the click ran (a printer's
            // prompt for a file name) may have left another program active
            // when it closed: the window is active again, and its focus
            // where it was.
            if (active && IsWindowVisible(hwnd) && GetForegroundWindow() != hwnd) SetForegroundWindow(hwnd);
        }
        return 0;
    }
    case WM_CLOSE:
        if (window->events.queryUnload()) DestroyWindow(hwnd);
        return 0;
    // As a dialog does: the focused control keeps the focus while another
    // window is active and has it back when this one is activated again
    // (DefWindowProc would give it to the window, which takes no keys).
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            RememberFocus(*window);
        } else if (HIWORD(wParam) == 0) {  // not minimised
            RestoreFocus(*window);
        }
        return 0;
    // Minimised, the window keeps no focus; restored, it has it back.
    case WM_SIZE:
        if (wParam == SIZE_MINIMIZED) RememberFocus(*window);
        return 0;
    case WM_SETFOCUS: RestoreFocus(*window); return 0;
    case WM_GETOBJECT: AnnotateForScreenReaders(*window); return DefWindowProcW(hwnd, message, wParam, lParam);
    case WM_DESTROY:
        ForgetScreenReaderNames(*window);
        if (shownWindow == window) shownWindow = nullptr;
        if (!window->destroying) PostQuitMessage(0);
        return 0;
    case WM_DPICHANGED: {
        window->dpi = HIWORD(wParam);
        FitClientArea(*window, reinterpret_cast<const RECT*>(lParam));
        LayOut(*window);
        return 0;
    }
    default: return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

void RegisterWindowClass()
{
    static const bool registered = [] {
        const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES | ICC_TAB_CLASSES};
        InitCommonControlsEx(&controls);
        // The application's icon, resource 1, when the program has one.
        const HINSTANCE instance = GetModuleHandleW(nullptr);
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = WindowProc;
        windowClass.hInstance = instance;
        windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
        windowClass.hIconSm =
            static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                          GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        // The system's dialog colours; no colour is set anywhere else.
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_3DFACE + 1);
        windowClass.lpszClassName = WindowClass;
        RegisterClassExW(&windowClass);
        DropHeldButtonKeys();
        return true;
    }();
    (void)registered;
}

HWND CreateControl(const ControlLayout& layout, const Place& place, HWND parent)
{
    const wchar_t* className = L"STATIC";
    DWORD style = WS_CHILD | WS_VISIBLE;
    DWORD exStyle = 0;
    switch (layout.kind) {
    // Labels wrap at word boundaries; SS_NOTIFY lets the title show its
    // hover text.
    case Kind::Label: style |= SS_LEFT | SS_NOPREFIX | SS_NOTIFY; break;
    case Kind::TextBox:
        className = L"EDIT";
        style |= WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL;
        exStyle = WS_EX_CLIENTEDGE;
        break;
    case Kind::DropDown:
        className = L"COMBOBOX";
        style |= WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
        break;
    case Kind::Button:
        className = L"BUTTON";
        style |= WS_TABSTOP | BS_PUSHBUTTON;
        break;
    }
    HWND control = CreateWindowExW(
        exStyle, className, Wide(layout.caption).c_str(), style, place.left, place.top, place.width, place.height,
        parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(FirstControlId + static_cast<int>(layout.id))),
        GetModuleHandleW(nullptr), nullptr);
    if (layout.kind == Kind::TextBox) SendMessageW(control, EM_SETLIMITTEXT, 0, 0);  // no limit
    return control;
}

void AddToolTip(FormWindow& window, Control control, const char* text)
{
    window.toolTip =
        CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, window.hwnd, nullptr, GetModuleHandleW(nullptr), nullptr);
    std::wstring wide = Wide(text);
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window.hwnd;
    tool.uId = reinterpret_cast<UINT_PTR>(window.Handle(control));
    tool.lpszText = wide.data();
    SendMessageW(window.toolTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

}  // namespace

std::wstring ListItem(HWND list, int index)
{
    std::wstring item(static_cast<std::size_t>(std::max<LRESULT>(SendMessageW(list, CB_GETLBTEXTLEN, index, 0), 0)),
                      L'\0');
    SendMessageW(list, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(item.data()));
    return item;
}

bool FormWindow::ControlOf(HWND child, Control& control) const
{
    const auto found = std::find(controls.begin(), controls.end(), child);
    if (child == nullptr || found == controls.end()) return false;
    control = static_cast<Control>(found - controls.begin());
    return true;
}

int RunEventLoop()
{
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) HandleMessage(message, DialogHandle());
    return static_cast<int>(message.wParam);
}

void FormWindowDeleter::operator()(FormWindow* window) const
{
    if (IsWindow(window->hwnd)) {
        window->destroying = true;
        DestroyWindow(window->hwnd);
    }
    for (HFONT font : window->fonts) DeleteObject(font);
    delete window;
}

FormWindowPointer CreateFormWindow(FormEvents events)
{
    RegisterWindowClass();
    FormWindowPointer window(new FormWindow);
    window->events = std::move(events);
    // Made at its size for the system's DPI, its display's unless the
    // displays' DPIs differ: then it is fitted once made.
    const SIZE size = FrameSize(GetDpiForSystem());
    window->hwnd =
        CreateWindowExW(WindowExStyle, WindowClass, Wide(WindowTitle).c_str(), WindowStyle, CW_USEDEFAULT,
                        CW_USEDEFAULT, size.cx, size.cy, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(window->hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window.get()));
    window->dpi = GetDpiForWindow(window->hwnd);
    FitClientArea(*window, nullptr);

    // Each child window is created below those before it: created in
    // stacking order, each at its place, the controls need no moving.
    for (const Control control : StackingOrder()) {
        const ControlLayout& layout = LayoutOf(control);
        window->controls[static_cast<int>(control)] = CreateControl(layout, PlaceOf(layout, window->dpi), window->hwnd);
        SetFont(*window, layout);
    }
    FitDropDowns(*window);
    for (const Control box : {Control::Text1, Control::Text2, Control::Text3}) FilterNumberBoxKeys(*window, box);
    return window;
}

void ShowForm(FormWindow& window)
{
    shownWindow = &window;
    WatchForScreenReaders(window);
    ShowWindow(window.hwnd, SW_SHOWNORMAL);
    UpdateWindow(window.hwnd);
    if (!IsChild(window.hwnd, GetFocus())) RestoreFocus(window);
    // Made once the window is up: showing it does not wait for the hover
    // text's own popup window.
    if (window.toolTip == nullptr) AddToolTip(window, Control::Label11, TitleToolTip);
}

std::string GetText(const FormWindow& window, Control control)
{
    HWND handle = window.Handle(control);
    if (IsKind(control, Kind::TextBox)) {
        std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(handle)) + 1, L'\0');
        text.resize(static_cast<std::size_t>(GetWindowTextW(handle, text.data(), static_cast<int>(text.size()))));
        return Utf8(text);
    }
    if (IsKind(control, Kind::DropDown)) {
        const auto index = static_cast<int>(SendMessageW(handle, CB_GETCURSEL, 0, 0));
        return index < 0 ? std::string() : Utf8(ListItem(handle, index));
    }
    return {};
}

bool SetText(FormWindow& window, Control control, std::string_view text)
{
    HWND handle = window.Handle(control);
    if (IsKind(control, Kind::TextBox)) {
        SetWindowTextW(handle, Wide(text).c_str());
        return true;
    }
    if (IsKind(control, Kind::DropDown)) {
        // CB_FINDSTRINGEXACT ignores case: what it finds is compared, and
        // the search goes on after it until it wraps round.
        const std::wstring wanted = Wide(text);
        const auto find = [&](int after) {
            return static_cast<int>(SendMessageW(handle, CB_FINDSTRINGEXACT, static_cast<WPARAM>(after),
                                                 reinterpret_cast<LPARAM>(wanted.c_str())));
        };
        for (int index = find(-1), previous = -1; index > previous; previous = index, index = find(index)) {
            if (ListItem(handle, index) == wanted) {
                SendMessageW(handle, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
                return true;
            }
        }
    }
    return false;
}

void AddItem(FormWindow& window, Control list, std::string_view item)
{
    SendMessageW(window.Handle(list), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(item).c_str()));
}

bool SetListIndex(FormWindow& window, Control control, int index)
{
    if (!IsKind(control, Kind::DropDown)) return false;
    HWND handle = window.Handle(control);
    if (index < -1 || index >= static_cast<int>(SendMessageW(handle, CB_GETCOUNT, 0, 0))) return false;
    SendMessageW(handle, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    return true;
}

void SetEnabled(FormWindow& window, Control control, bool enabled)
{
    EnableWindow(window.Handle(control), enabled ? TRUE : FALSE);
}

void FocusControl(FormWindow& window, Control control)
{
    // Also where an activation that is still to come puts the focus, as
    // showing the window does: a hidden window is not activated for it.
    window.focus = window.Handle(control);
    if (IsWindowVisible(window.hwnd)) SetFocus(window.focus);
}

namespace {

RECT Screen(const FormWindow& window)
{
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(window.hwnd, MONITOR_DEFAULTTOPRIMARY), &monitor);
    return monitor.rcMonitor;
}

RECT Frame(const FormWindow& window)
{
    RECT frame;
    GetWindowRect(window.hwnd, &frame);
    return frame;
}

}  // namespace

int ScreenWidth(const FormWindow& window)
{
    const RECT screen = Screen(window);
    return ToTwips(screen.right - screen.left, window.dpi);
}

int ScreenHeight(const FormWindow& window)
{
    const RECT screen = Screen(window);
    return ToTwips(screen.bottom - screen.top, window.dpi);
}

int WindowWidth(const FormWindow& window)
{
    const RECT frame = Frame(window);
    return ToTwips(frame.right - frame.left, window.dpi);
}

int WindowHeight(const FormWindow& window)
{
    const RECT frame = Frame(window);
    return ToTwips(frame.bottom - frame.top, window.dpi);
}

void SetWindowPosition(FormWindow& window, float left, float top)
{
    const RECT screen = Screen(window);
    SetWindowPos(window.hwnd, nullptr, screen.left + ToPixels(left, window.dpi), screen.top + ToPixels(top, window.dpi),
                 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Every control of the table, in the table's order (not their stacking
// order).
std::vector<Control> Controls(const FormWindow&)
{
    std::vector<Control> controls;
    for (const ControlLayout& layout : ControlTable) controls.push_back(layout.id);
    return controls;
}

void DoEvents()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // For the loop that waits on it.
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        HandleMessage(message, DialogHandle());
    }
}

void MsgBox(FormWindow& window, std::string_view text, std::string_view title)
{
    MessageBoxW(window.hwnd, Wide(text).c_str(), Wide(title).c_str(), MB_OK | MB_ICONERROR);
}

void Unload(FormWindow& window)
{
    SendMessageW(window.hwnd, WM_CLOSE, 0, 0);
}

std::string DecimalSeparator()
{
    return UserDecimalSeparator();
}
