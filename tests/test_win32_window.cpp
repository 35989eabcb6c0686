// SPDX-License-Identifier: GPL-3.0-or-later
// The Win32 window as Windows lays it out: the client area, every control's
// place, size and font at the display's DPI (CTest runs this at 96, 120, 144
// and 192 dots per inch), a fixed border with the system menu and close
// button only, a new layout when the window moves to a display of another
// DPI with no font left behind, the error message box and the focus after
// it and after a minimise or a printer's prompt, the stacking order, the
// title's hover text, and what screen readers are told of the boxes and
// lists.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <imm.h>
#include <oleacc.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <utility>

#include "tests/spoken_names.h"
#include "window/form1.h"
#include "window/win32/form_window.h"

namespace {

// The window as laid out at each DPI, in pixels (from its twips and points
// at 96 dots per inch, 15 twips a pixel there): the client area, and a few
// controls' places, sizes and character heights.
struct ClientAt {
    UINT dpi;
    int width, height;
};
constexpr ClientAt ClientAreas[] = {{96, 822, 595}, {120, 1028, 744}, {144, 1233, 893}, {192, 1644, 1190}};
struct LaidOut {
    UINT dpi;
    Control control;
    int left, top, width, height, font;
};
constexpr LaidOut Pinned[] = {
    {96, Control::Label11, 248, 16, 329, 33, 27},   {96, Control::Label1, 24, 64, 777, 81, 13},
    {96, Control::Label6, 24, 528, 353, 17, 16},    {96, Control::Text1, 24, 320, 81, 19, 11},
    {96, Control::Combo2, 120, 320, 113, 21, 11},   {120, Control::Label11, 310, 20, 411, 41, 34},
    {120, Control::Label1, 30, 80, 971, 101, 16},   {120, Control::Label6, 30, 660, 441, 21, 20},
    {120, Control::Text1, 30, 400, 101, 24, 14},    {120, Control::Combo2, 150, 400, 141, 26, 14},
    {144, Control::Label11, 372, 24, 494, 50, 41},  {144, Control::Label1, 36, 96, 1166, 122, 20},
    {144, Control::Label6, 36, 792, 530, 26, 24},   {144, Control::Text1, 36, 480, 122, 29, 17},
    {144, Control::Combo2, 180, 480, 170, 32, 17},  {192, Control::Label11, 496, 32, 658, 66, 54},
    {192, Control::Label1, 48, 128, 1554, 162, 26}, {192, Control::Label6, 48, 1056, 706, 34, 32},
    {192, Control::Text1, 48, 640, 162, 38, 22},    {192, Control::Combo2, 240, 640, 226, 42, 22},
};

// A control's device context with the control's font selected.
struct Drawn {
    HWND control;
    HDC dc = GetDC(control);
    HGDIOBJ before = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
    explicit Drawn(HWND drawnControl) : control(drawnControl) {}
    ~Drawn()
    {
        SelectObject(dc, before);
        ReleaseDC(control, dc);
    }
};

class Win32Window : public testing::Test {
protected:
    void SetUp() override
    {
        form.Show();
        DoEvents();
    }
    // Expects the client area, the pinned controls and their fonts laid out
    // for dpi; every control's font is the face asked for, or for the bitmap
    // font "MS Sans Serif" its TrueType successor, scalable to any size.
    void ExpectLaidOutFor(UINT dpi)
    {
        const ClientAt* client = std::find_if(std::begin(ClientAreas), std::end(ClientAreas),
                                              [dpi](const ClientAt& area) { return area.dpi == dpi; });
        ASSERT_NE(client, std::end(ClientAreas)) << dpi;
        RECT area;
        GetClientRect(w.hwnd, &area);
        EXPECT_EQ(area.right, client->width);
        EXPECT_EQ(area.bottom, client->height);
        for (const LaidOut& pinned : Pinned) {
            if (pinned.dpi != dpi) continue;
            SCOPED_TRACE(LayoutOf(pinned.control).name);
            HWND control = w.Handle(pinned.control);
            RECT box;
            GetWindowRect(control, &box);
            MapWindowPoints(nullptr, w.hwnd, reinterpret_cast<POINT*>(&box), 2);
            EXPECT_EQ(box.left, pinned.left);
            EXPECT_EQ(box.top, pinned.top);
            EXPECT_EQ(box.right - box.left, pinned.width);
            EXPECT_EQ(box.bottom - box.top, pinned.height);
            const Drawn drawn(control);
            TEXTMETRICW metrics;
            GetTextMetricsW(drawn.dc, &metrics);
            // Wine's stand-ins round their character height to within a pixel.
            EXPECT_NEAR(metrics.tmHeight - metrics.tmInternalLeading, pinned.font, 1);
        }
        for (const ControlLayout& layout : ControlTable) {
            SCOPED_TRACE(layout.name);
            LOGFONTW font{};
            GetObjectW(reinterpret_cast<HFONT>(SendMessageW(w.Handle(layout.id), WM_GETFONT, 0, 0)), sizeof font,
                       &font);
            EXPECT_EQ(font.lfWeight, layout.font.bold ? FW_BOLD : FW_NORMAL);
            const bool msSansSerif = std::string(layout.font.face) == "MS Sans Serif";
            EXPECT_EQ(std::wstring(font.lfFaceName), msSansSerif ? L"Microsoft Sans Serif" : Wide(layout.font.face));
            const Drawn drawn(w.Handle(layout.id));
            TEXTMETRICW metrics;
            GetTextMetricsW(drawn.dc, &metrics);
            EXPECT_NE(metrics.tmPitchAndFamily & TMPF_TRUETYPE, 0);
        }
    }
    // Every caption fits its box as a label or button draws it (word-wrapped)
    // with the font Windows selects: no wider, each line shown down to its
    // baseline (the boxes were laid out for bitmap fonts). Wine's wider
    // stand-ins for "Microsoft Sans Serif" cut two captions: printed instead.
    void ExpectCaptionsFit()
    {
        for (const ControlLayout& layout : ControlTable) {
            if (layout.kind != Kind::Label && layout.kind != Kind::Button) continue;
            const Drawn drawn(w.Handle(layout.id));
            RECT box, text;
            GetClientRect(w.Handle(layout.id), &box);
            text = box;
            DrawTextW(drawn.dc, Wide(layout.caption).c_str(), -1, &text, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
            TEXTMETRICW metrics;
            GetTextMetricsW(drawn.dc, &metrics);
            const bool fits = text.right <= box.right && text.bottom - metrics.tmDescent <= box.bottom;
            wchar_t face[LF_FACESIZE];
            GetTextFaceW(drawn.dc, LF_FACESIZE, face);
            const bool standIn = std::wstring(face) != L"Microsoft Sans Serif";
            if (!fits && standIn && (layout.id == Control::Label6 || layout.id == Control::Label8)) {
                std::printf("%s cut by %ls: %ld x %ld pixels in %ld x %ld\n", layout.name, face, text.right,
                            text.bottom, box.right, box.bottom);
            } else {
                EXPECT_TRUE(fits) << layout.name << ": " << text.right << " x " << text.bottom << " in " << box.right
                                  << " x " << box.bottom;
            }
        }
    }

    Form1 form{[](const CalcState&) {}};
    FormWindow& w = form.Window();
};

TEST_F(Win32Window, ClientAreaControlsAndFontsAtTheDisplaysDpi)
{
    const char* expected = std::getenv("ORVANTA_EXPECT_DPI");
    const UINT dpi = expected != nullptr ? static_cast<UINT>(std::atoi(expected)) : USER_DEFAULT_SCREEN_DPI;
    ASSERT_EQ(GetDpiForWindow(w.hwnd), dpi);
    ExpectLaidOutFor(dpi);
    ExpectCaptionsFit();
}

TEST_F(Win32Window, FixedBorderSystemMenuAndCloseButtonOnly)
{
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(w.hwnd, GWL_STYLE));
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU), static_cast<DWORD>(WS_CAPTION | WS_SYSMENU));
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0u);
    wchar_t title[64];
    GetWindowTextW(w.hwnd, title, 64);
    EXPECT_EQ(std::wstring(title), L"C\u00e1lculo de Lentes");
    wchar_t hover[32] = L"";
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = w.hwnd;
    tool.uId = reinterpret_cast<UINT_PTR>(w.Handle(Control::Label11));
    tool.lpszText = hover;
    SendMessageW(w.toolTip, TTM_GETTEXTW, std::size(hover), reinterpret_cast<LPARAM>(&tool));
    EXPECT_EQ(std::wstring(hover), L"Vintoral");
    for (const ControlLayout& layout : ControlTable) {
        SCOPED_TRACE(layout.name);
        const auto controlStyle = static_cast<DWORD>(GetWindowLongPtrW(w.Handle(layout.id), GWL_STYLE));
        EXPECT_EQ((controlStyle & WS_TABSTOP) != 0, layout.kind != Kind::Label);
        if (layout.kind == Kind::Button) {
            EXPECT_EQ(controlStyle & BS_TYPEMASK, static_cast<DWORD>(BS_PUSHBUTTON));  // no default button
        }
        if (layout.kind == Kind::DropDown) {
            EXPECT_EQ(controlStyle & 3, static_cast<DWORD>(CBS_DROPDOWNLIST));
        }
    }
}

// Screen readers name a box or a list by the label right before it in
// z-order; the number boxes take no input method.
TEST_F(Win32Window, EachCaptionIsStackedRightBeforeItsBox)
{
    const std::pair<Control, Control> named[] = {{Control::Label2, Control::Combo1},
                                                 {Control::Label3, Control::Text1},
                                                 {Control::Label4, Control::Text2},
                                                 {Control::Label5, Control::Text3},
                                                 {Control::Label6, Control::Text4}};
    for (const auto& [caption, box] : named) {
        EXPECT_EQ(GetWindow(w.Handle(box), GW_HWNDPREV), w.Handle(caption)) << LayoutOf(box).name;
    }
    for (const Control box : {Control::Text1, Control::Text2, Control::Text3}) {
        EXPECT_EQ(ImmGetContext(w.Handle(box)), nullptr) << LayoutOf(box).name;
    }
}

// Moved to a display of 144 dots per inch (150 %) and back, twice: each
// control's font is made anew, and the one it had is deleted.
TEST_F(Win32Window, LaysItselfOutAgainOnADisplayOfAnotherDpi)
{
    std::set<HGDIOBJ> replaced;
    for (const UINT dpi : {144u, 96u, 144u, 96u}) {
        SCOPED_TRACE(dpi);
        for (const ControlLayout& layout : ControlTable) {
            replaced.insert(reinterpret_cast<HGDIOBJ>(SendMessageW(w.Handle(layout.id), WM_GETFONT, 0, 0)));
        }
        RECT suggested;
        GetWindowRect(w.hwnd, &suggested);
        SendMessageW(w.hwnd, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
        ExpectLaidOutFor(dpi);
    }
    for (const HGDIOBJ font : replaced) EXPECT_EQ(GetObjectType(font), 0u) << font << " is still a GDI object";
}

// What a message box shows, read while it is open.
struct ShownBox {
    std::wstring text;
    bool errorIcon = false;
    int buttons = 0;
    bool ok = false;
};
ShownBox shown;

BOOL CALLBACK ReadBoxControl(HWND control, LPARAM)
{
    wchar_t className[16];
    GetClassNameW(control, className, 16);
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(control, GWL_STYLE));
    if (std::wstring(className) == L"Button") {
        ++shown.buttons;
        shown.ok |= GetDlgCtrlID(control) == IDOK;
    } else if ((style & SS_TYPEMASK) == SS_ICON) {
        shown.errorIcon |=
            reinterpret_cast<HICON>(SendMessageW(control, STM_GETICON, 0, 0)) == LoadIconW(nullptr, IDI_ERROR);
    } else if (GetDlgCtrlID(control) == 0xffff) {  // the message's text
        wchar_t text[256];
        GetWindowTextW(control, text, 256);
        shown.text = text;
    }
    return TRUE;
}

// The error message box: the critical-error icon, the title, the text and
// one OK button, which closes it.
TEST_F(Win32Window, MessageBoxShowsTheErrorIconTitleAndOneOk)
{
    const UINT_PTR reader = SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR, DWORD) {
        HWND box = FindWindowW(L"#32770", L"Mensagem de Erro!");
        if (box == nullptr) return;
        EnumChildWindows(box, ReadBoxControl, 0);
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    MsgBox(w, "Digitação Inválida.", "Mensagem de Erro!");
    KillTimer(nullptr, reader);
    EXPECT_EQ(shown.text, L"Digita\u00e7\u00e3o Inv\u00e1lida.");
    EXPECT_TRUE(shown.errorIcon);
    EXPECT_EQ(shown.buttons, 1);
    EXPECT_TRUE(shown.ok);
}

// After an error box the emptied box has the focus, even when the window's
// activation comes after the box closed (a window manager's, under Wine).
TEST_F(Win32Window, AnErrorBoxLeavesTheFocusInTheEmptiedBox)
{
    SetFocus(w.Handle(Control::Text2));
    const UINT_PTR closer = SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR, DWORD) {
        if (HWND box = FindWindowW(L"#32770", L"Mensagem de Erro!")) PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    SendMessageW(w.Handle(Control::Command1), BM_CLICK, 0, 0);  // nothing typed: the target size is refused
    KillTimer(nullptr, closer);
    SendMessageW(w.hwnd, WM_ACTIVATE, WA_ACTIVE, 0);
    DoEvents();
    EXPECT_EQ(GetFocus(), w.Handle(Control::Text1));
}

TEST_F(Win32Window, MinimisedAndRestoredTheFocusIsWhereItWas)
{
    SetFocus(w.Handle(Control::Combo4));
    ShowWindow(w.hwnd, SW_MINIMIZE);
    DoEvents();
    ShowWindow(w.hwnd, SW_RESTORE);
    SetForegroundWindow(w.hwnd);
    DoEvents();
    EXPECT_EQ(GetFocus(), w.Handle(Control::Combo4));
}

// A printer's own prompt (a file name asked for inside "Imprimir") that
// leaves another window active when it closes: the window is active again,
// the focus on the button.
TEST(Win32Print, ThePrintersPromptGivesTheWindowBack)
{
    HWND prompt = nullptr;
    Form1 form{[&prompt](const CalcState&) {
        prompt = CreateWindowExW(0, L"STATIC", L"Salvar como", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
        SetForegroundWindow(prompt);
    }};
    FormWindow& w = form.Window();
    form.Show();
    SetForegroundWindow(w.hwnd);
    SetText(w, Control::Text1, "6");
    SetText(w, Control::Text2, "30");
    SendMessageW(w.Handle(Control::Command1), BM_CLICK, 0, 0);
    SetFocus(w.Handle(Control::Command3));
    SendMessageW(w.Handle(Control::Command3), BM_CLICK, 0, 0);
    DoEvents();
    ASSERT_NE(prompt, nullptr);
    EXPECT_EQ(GetForegroundWindow(), w.hwnd);
    EXPECT_EQ(GetFocus(), w.Handle(Control::Command3));
    DestroyWindow(prompt);
}

// Stands for Windows' annotation service: keeps the texts set on each
// control's own object, by property, until they are cleared.
struct RecordedAnnotations final : IAccPropServices {
    std::map<std::pair<HWND, std::string>, std::wstring> texts;  // (control, "name" or "description")
    ULONG references = 1;

    static std::string Property(const MSAAPROPID& id)
    {
        return id == PROPID_ACC_NAME ? "name" : id == PROPID_ACC_DESCRIPTION ? "description" : "another";
    }
    HRESULT WINAPI SetHwndPropStr(HWND control, DWORD object, DWORD child, MSAAPROPID id, LPCWSTR text) override
    {
        if (object != static_cast<DWORD>(OBJID_CLIENT) || child != CHILDID_SELF) return E_INVALIDARG;
        texts[{control, Property(id)}] = text;
        return S_OK;
    }
    HRESULT WINAPI ClearHwndProps(HWND control, DWORD, DWORD, const MSAAPROPID* ids, int count) override
    {
        for (int i = 0; i < count; ++i) texts.erase({control, Property(ids[i])});
        return S_OK;
    }
    ULONG WINAPI AddRef() override { return ++references; }
    ULONG WINAPI Release() override { return --references; }
    // The window calls none of these.
    HRESULT WINAPI QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    HRESULT WINAPI SetPropValue(const BYTE*, DWORD, MSAAPROPID, VARIANT) override { return E_NOTIMPL; }
    HRESULT WINAPI SetPropServer(const BYTE*, DWORD, const MSAAPROPID*, int, IAccPropServer*, AnnoScope) override
    {
        return E_NOTIMPL;
    }
    HRESULT WINAPI ClearProps(const BYTE*, DWORD, const MSAAPROPID*, int) override { return E_NOTIMPL; }
    HRESULT WINAPI SetHwndProp(HWND, DWORD, DWORD, MSAAPROPID, VARIANT) override { return E_NOTIMPL; }
    HRESULT WINAPI SetHwndPropServer(HWND, DWORD, DWORD, const MSAAPROPID*, int, IAccPropServer*, AnnoScope) override
    {
        return E_NOTIMPL;
    }
    HRESULT WINAPI ComposeHwndIdentityString(HWND, DWORD, DWORD, BYTE**, DWORD*) override { return E_NOTIMPL; }
    HRESULT WINAPI DecomposeHwndIdentityString(const BYTE*, DWORD, HWND*, DWORD*, DWORD*) override { return E_NOTIMPL; }
    HRESULT WINAPI SetHmenuProp(HMENU, DWORD, MSAAPROPID, VARIANT) override { return E_NOTIMPL; }
    HRESULT WINAPI SetHmenuPropStr(HMENU, DWORD, MSAAPROPID, LPCWSTR) override { return E_NOTIMPL; }
    HRESULT WINAPI SetHmenuPropServer(HMENU, DWORD, const MSAAPROPID*, int, IAccPropServer*, AnnoScope) override
    {
        return E_NOTIMPL;
    }
    HRESULT WINAPI ClearHmenuProps(HMENU, DWORD, const MSAAPROPID*, int) override { return E_NOTIMPL; }
    HRESULT WINAPI ComposeHmenuIdentityString(HMENU, DWORD, BYTE**, DWORD*) override { return E_NOTIMPL; }
    HRESULT WINAPI DecomposeHmenuIdentityString(const BYTE*, DWORD, HMENU*, DWORD*) override { return E_NOTIMPL; }
};

// What a screen reader that asks the window for a box's object is told of
// each box and list; all of it cleared when the window goes.
TEST(Win32ScreenReaders, BoxesAndListsAreNamedAndDescribedUntilTheWindowGoes)
{
    RecordedAnnotations recorded;
    {
        Form1 form{[](const CalcState&) {}};
        FormWindow& w = form.Window();
        w.annotations = &recorded;
        form.Show();
        SendMessageW(w.Handle(Control::Text1), WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT));
        std::map<std::pair<HWND, std::string>, std::wstring> expected;
        for (const Heard& control : BoxesAndLists) {
            expected[{w.Handle(control.control), "name"}] = Wide(control.name);
            if (*control.description != '\0') {
                expected[{w.Handle(control.control), "description"}] = Wide(control.description);
            }
        }
        EXPECT_EQ(recorded.texts, expected);
    }
    EXPECT_TRUE(recorded.texts.empty());
    EXPECT_EQ(recorded.references, 0u);
}

}  // namespace
