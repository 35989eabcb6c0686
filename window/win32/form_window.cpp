// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/win32/form_window.h"

#include <commctrl.h>
#include <imm.h>
#include <objbase.h>
#include <oleacc.h>

#include <algorithm>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "calc/number_text.h"
#include "window/screen_reader_names.h"
#include "window/tab_order.h"
#include "window/win32/library.h"

namespace {

constexpr wchar_t WindowClass[] = L"OrvantaForm1";
// Control ids start past IDOK and IDCANCEL, which the dialog manager sends
// for Enter and Escape.
constexpr int FirstControlId = 100;
// Lines an opened pick list shows.
constexpr int ListLines = 8;

int ToPixels(int twips, UINT dpi)
{
    return MulDiv(twips, static_cast<int>(dpi), 1440);
}

bool IsKind(Control control, Kind kind)
{
    return LayoutOf(control).kind == kind;
}

// A held key's later presses, which Windows marks as repeats (bit 30: the
// key was already down): Enter or Space held on a button presses it once,
// and held on through what that press did (a message box closed, the window
// cleared), its repeats do nothing else. The dialog manager passes every
// message through this hook first, in the window's own loop and in a
// message box's.
LRESULT CALLBACK DropHeldButtonKeys(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* message = reinterpret_cast<const MSG*>(lParam);
    if (code == MSGF_DIALOGBOX && message->message == WM_KEYDOWN &&
        (message->wParam == VK_RETURN || message->wParam == VK_SPACE) && (message->lParam & (1 << 30)) != 0) {
        return TRUE;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The one window whose dialog keys the message loop handles.
FormWindow* shownWindow = nullptr;

void HandleMessage(MSG& message)
{
    if (shownWindow != nullptr && IsDialogMessageW(shownWindow->hwnd, &message)) {
        return;
    }
    if (CallMsgFilterW(&message, MSGF_DIALOGBOX)) {
        return;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

// The character code that pastes; the keyboard's other paste key,
// Shift+Insert, passes the key filter as this code too.
constexpr int PasteCode = 22;

// A number box's character codes pass the key-press event first.
LRESULT CALLBACK NumberBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR data)
{
    auto& window = *reinterpret_cast<FormWindow*>(data);
    const auto typeKey = [&](WPARAM code) -> LRESULT {
        const int kept = window.events.keyPress(static_cast<Control>(id), static_cast<int>(code));
        // A single-line edit would only beep at Enter.
        if (kept == 0 || kept == EnterCode) return 0;
        return DefSubclassProc(box, WM_CHAR, static_cast<WPARAM>(kept), lParam);
    };
    switch (message) {
    case WM_GETDLGCODE: {
        // Enter and Escape make character codes for the key filter rather
        // than commands for the dialog manager.
        const auto* key = reinterpret_cast<const MSG*>(lParam);
        const LRESULT code = DefSubclassProc(box, message, wParam, lParam);
        if (key != nullptr && key->message == WM_KEYDOWN && (key->wParam == VK_RETURN || key->wParam == VK_ESCAPE)) {
            return code | DLGC_WANTMESSAGE;
        }
        return code;
    }
    case WM_KEYDOWN:
        if (wParam == VK_INSERT && GetKeyState(VK_SHIFT) < 0 && GetKeyState(VK_CONTROL) >= 0) {
            return typeKey(PasteCode);
        }
        break;
    case WM_CHAR: return typeKey(wParam);
    case WM_NCDESTROY: RemoveWindowSubclass(box, NumberBoxProc, id); break;
    default: break;
    }
    return DefSubclassProc(box, message, wParam, lParam);
}

// The Component Object Model, which the names for screen readers need, is
// loaded with them: a start that no accessibility client asks about pays
// nothing for it.
struct Com {
    HMODULE ole32 = LoadLibraryW(L"ole32.dll");
    decltype(&CoInitializeEx) initialize = FindFunction<decltype(&CoInitializeEx)>(ole32, "CoInitializeEx");
    decltype(&CoCreateInstance) create = FindFunction<decltype(&CoCreateInstance)>(ole32, "CoCreateInstance");
    decltype(&CoUninitialize) uninitialize = FindFunction<decltype(&CoUninitialize)>(ole32, "CoUninitialize");
};

const Com* LoadCom()
{
    static const Com com;
    return com.initialize != nullptr && com.create != nullptr && com.uninitialize != nullptr ? &com : nullptr;
}

// Screen readers name a box or a list by the label stacked right before it;
// each box and list is also given its full name (window/
// screen_reader_names.h) by Dynamic Annotation of its standard accessible
// object. Done when an accessibility client first asks the window or one of
// them for its object (WM_GETOBJECT), before it gets it, while the window
// is shown (not once it is hidden to be destroyed).
void AnnotateForScreenReaders(FormWindow& window)
{
    const Com* com = window.annotations == nullptr && IsWindowVisible(window.hwnd) ? LoadCom() : nullptr;
    if (com == nullptr) return;
    const HRESULT started = com->initialize(nullptr, COINIT_APARTMENTTHREADED);
    window.comStarted = SUCCEEDED(started);
    void* services = nullptr;
    if (FAILED(com->create(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices, &services))) {
        if (window.comStarted) com->uninitialize();
        window.comStarted = false;
        return;
    }
    window.annotations = static_cast<IAccPropServices*>(services);
    for (const ScreenReaderName& name : ScreenReaderNames) {
        window.annotations->SetHwndPropStr(window.Handle(name.control), OBJID_CLIENT, CHILDID_SELF, PROPID_ACC_NAME,
                                           Wide(SpokenName(name)).c_str());
    }
}

// Annotations outlive their windows unless they are cleared.
void ForgetScreenReaderNames(FormWindow& window)
{
    if (window.annotations == nullptr) return;
    for (const ScreenReaderName& name : ScreenReaderNames) {
        window.annotations->ClearHwndProps(window.Handle(name.control), OBJID_CLIENT, CHILDID_SELF, &PROPID_ACC_NAME,
                                           1);
    }
    window.annotations->Release();
    window.annotations = nullptr;
    if (window.comStarted) LoadCom()->uninitialize();
    window.comStarted = false;
}

LRESULT CALLBACK NamedControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR data)
{
    if (message == WM_GETOBJECT) AnnotateForScreenReaders(*reinterpret_cast<FormWindow*>(data));
    if (message == WM_NCDESTROY) RemoveWindowSubclass(control, NamedControlProc, id);
    return DefSubclassProc(control, message, wParam, lParam);
}

// "MS Sans Serif" is a bitmap font on Windows 10 and 11, drawn jagged or at
// its nearest bitmap size when scaled; its TrueType successor of the same
// design scales to every size.
std::wstring FaceOf(const FontStyle& font)
{
    return std::string_view(font.face) == "MS Sans Serif" ? L"Microsoft Sans Serif" : Wide(font.face);
}

// A control's place at the window's DPI, in pixels. A drop-down list is
// given the height it has opened; closed, it is as high as its field.
struct Place {
    int left, top, width, height;
};

Place PlaceOf(const ControlLayout& layout, UINT dpi)
{
    const int height = ToPixels(layout.height, dpi);
    return {ToPixels(layout.left, dpi), ToPixels(layout.top, dpi), ToPixels(layout.width, dpi),
            layout.kind == Kind::DropDown ? height * (ListLines + 1) : height};
}

// Makes the closed drop-down lists as high as laid out, whatever their font:
// their selection fields are made as much higher or lower. Each resize
// also moves the list's popup, so each list is given its field once: what
// a closed list adds to its field is measured on the first. So is what
// Wine adds: it keeps the field 2 pixels higher than it is given, and the
// others are given that much less.
void FitDropDowns(const FormWindow& window)
{
    const auto field = [](HWND list) {
        return static_cast<int>(SendMessageW(list, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
    };
    std::optional<int> frame;
    int excess = 0;
    for (const ControlLayout& layout : ControlTable) {
        if (layout.kind != Kind::DropDown) continue;
        HWND list = window.Handle(layout.id);
        const int height = ToPixels(layout.height, window.dpi);
        if (!frame) {
            RECT closed;
            GetWindowRect(list, &closed);
            frame = closed.bottom - closed.top - field(list);
            SendMessageW(list, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), height - *frame);
            excess = field(list) - (height - *frame);
            if (excess == 0) continue;
        }
        SendMessageW(list, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), height - *frame - excess);
    }
}

// Gives a control its font at the window's DPI.
void SetFont(FormWindow& window, const ControlLayout& layout)
{
    const int index = static_cast<int>(layout.id);
    HWND control = window.controls[index];
    const HFONT font =
        CreateFontW(-MulDiv(layout.font.pixels, static_cast<int>(window.dpi), 96), 0, 0, 0,
                    layout.font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, FaceOf(layout.font).c_str());
    // A hidden window is drawn anew when it is shown.
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), IsWindowVisible(window.hwnd));
    if (window.fonts[index] != nullptr) DeleteObject(window.fonts[index]);
    window.fonts[index] = font;
}

// Places every control and sets its font for the window's new DPI.
void LayOut(FormWindow& window)
{
    for (const ControlLayout& layout : ControlTable) {
        const Place place = PlaceOf(layout, window.dpi);
        SetWindowPos(window.Handle(layout.id), nullptr, place.left, place.top, place.width, place.height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        SetFont(window, layout);
    }
    FitDropDowns(window);
}

// A fixed single border, the system menu and the close button only.
constexpr DWORD WindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
constexpr DWORD WindowExStyle = WS_EX_CONTROLPARENT;

// The window's outer size for its client area as laid out at a DPI.
SIZE FrameSize(UINT dpi)
{
    RECT frame{0, 0, ToPixels(ClientWidth, dpi), ToPixels(ClientHeight, dpi)};
    AdjustWindowRectExForDpi(&frame, WindowStyle, FALSE, WindowExStyle, dpi);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

// Sizes the window so that its client area is as laid out at its DPI, at a
// new place when one is given. Wine draws a frame of another size than
// AdjustWindowRectExForDpi gives at other DPIs than 96: the size is
// corrected once by the client area measured.
void FitClientArea(const FormWindow& window, const RECT* at)
{
    if (at != nullptr) {
        const SIZE size = FrameSize(window.dpi);
        SetWindowPos(window.hwnd, nullptr, at->left, at->top, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    RECT client, frame;
    GetClientRect(window.hwnd, &client);
    const SIZE missing{ToPixels(ClientWidth, window.dpi) - client.right,
                       ToPixels(ClientHeight, window.dpi) - client.bottom};
    if (missing.cx == 0 && missing.cy == 0) return;
    GetWindowRect(window.hwnd, &frame);
    SetWindowPos(window.hwnd, nullptr, 0, 0, frame.right - frame.left + missing.cx,
                 frame.bottom - frame.top + missing.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
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
            window->events.click(button);
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
        SetWindowsHookExW(WH_MSGFILTER, DropHeldButtonKeys, nullptr, GetCurrentThreadId());
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

// Windows tabs through the controls in their stacking order, and screen
// readers name a box or a list by the label stacked right before it: the
// controls are stacked by tab index, each caption moved right before the
// first control it names. Labels take no focus, so Tab still visits the
// controls by their tab index.
std::vector<Control> StackingOrder()
{
    std::vector<Control> order;
    const auto stacked = [&order](Control control) {
        return std::find(order.begin(), order.end(), control) != order.end();
    };
    const auto isCaption = [](Control control) {
        return std::any_of(std::begin(ScreenReaderNames), std::end(ScreenReaderNames),
                           [control](const ScreenReaderName& name) { return name.caption == control; });
    };
    for (const Control control : TabOrder) {
        for (const ScreenReaderName& name : ScreenReaderNames) {
            if (name.control == control && !stacked(name.caption)) order.push_back(name.caption);
        }
        if (!stacked(control) && !isCaption(control)) order.push_back(control);
    }
    return order;
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
    while (GetMessageW(&message, nullptr, 0, 0) > 0) HandleMessage(message);
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
    // The number boxes take no input method: what one composes would pass
    // the key filter only as the characters it commits.
    for (const Control box : {Control::Text1, Control::Text2, Control::Text3}) {
        SetWindowSubclass(window->Handle(box), NumberBoxProc, static_cast<UINT_PTR>(box),
                          reinterpret_cast<DWORD_PTR>(window.get()));
        ImmAssociateContextEx(window->Handle(box), nullptr, 0);
    }
    return window;
}

void ShowWindow(FormWindow& window)
{
    shownWindow = &window;
    // The controls screen readers name are watched for their first question
    // from when the window can be seen: under Wine, each message to a
    // subclassed control asks the server for its procedures, which filling
    // the lists would pay for.
    for (const ScreenReaderName& name : ScreenReaderNames) {
        SetWindowSubclass(window.Handle(name.control), NamedControlProc, 0, reinterpret_cast<DWORD_PTR>(&window));
    }
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

void SetFocus(FormWindow& window, Control control)
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

int ToTwips(LONG pixels, const FormWindow& window)
{
    return MulDiv(pixels, 1440, static_cast<int>(window.dpi));
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
    return ToTwips(screen.right - screen.left, window);
}

int ScreenHeight(const FormWindow& window)
{
    const RECT screen = Screen(window);
    return ToTwips(screen.bottom - screen.top, window);
}

int WindowWidth(const FormWindow& window)
{
    const RECT frame = Frame(window);
    return ToTwips(frame.right - frame.left, window);
}

int WindowHeight(const FormWindow& window)
{
    const RECT frame = Frame(window);
    return ToTwips(frame.bottom - frame.top, window);
}

void SetWindowPosition(FormWindow& window, float left, float top)
{
    const RECT screen = Screen(window);
    const auto pixels = [&](float twips) { return static_cast<int>(twips * window.dpi / 1440.0f + 0.5f); };
    SetWindowPos(window.hwnd, nullptr, screen.left + pixels(left), screen.top + pixels(top), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
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
        HandleMessage(message);
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
