// SPDX-License-Identifier: GPL-3.0-or-later
// The Win32 window as Windows lays it out: the client area, every control's
// place, size and font at the display's DPI (CTest runs this at 96 and at
// 144 dots per inch), a fixed border with the system menu and close button
// only, a new layout when the window moves to a display of another DPI, and
// the error message box.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>

#include "window/form1.h"
#include "window/win32/form_window.h"

namespace {

int Pixels(int twips, UINT dpi)
{
    return MulDiv(twips, static_cast<int>(dpi), 1440);
}

class Win32Window : public testing::Test {
protected:
    void SetUp() override
    {
        form.Show();
        DoEvents();
    }
    // Expects the client area, each control and each font laid out for dpi.
    void ExpectLaidOutFor(UINT dpi)
    {
        RECT client;
        GetClientRect(w.hwnd, &client);
        EXPECT_EQ(client.right, Pixels(ClientWidth, dpi));
        EXPECT_EQ(client.bottom, Pixels(ClientHeight, dpi));
        for (const ControlLayout& layout : ControlTable) {
            SCOPED_TRACE(layout.name);
            HWND control = w.Handle(layout.id);
            RECT box;
            GetWindowRect(control, &box);
            MapWindowPoints(nullptr, w.hwnd, reinterpret_cast<POINT*>(&box), 2);
            EXPECT_EQ(box.left, Pixels(layout.left, dpi));
            EXPECT_EQ(box.top, Pixels(layout.top, dpi));
            EXPECT_EQ(box.right - box.left, Pixels(layout.width, dpi));
            EXPECT_EQ(box.bottom - box.top, Pixels(layout.height, dpi));
            LOGFONTW font{};
            GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
            EXPECT_EQ(font.lfHeight, -MulDiv(layout.font.pixels, static_cast<int>(dpi), 96));
            EXPECT_EQ(font.lfWeight, layout.font.bold ? FW_BOLD : FW_NORMAL);
            char face[LF_FACESIZE];
            WideCharToMultiByte(CP_UTF8, 0, font.lfFaceName, -1, face, sizeof face, nullptr, nullptr);
            EXPECT_STREQ(face, layout.font.face);
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
}

TEST_F(Win32Window, FixedBorderSystemMenuAndCloseButtonOnly)
{
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(w.hwnd, GWL_STYLE));
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU), static_cast<DWORD>(WS_CAPTION | WS_SYSMENU));
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0u);
    wchar_t title[64];
    GetWindowTextW(w.hwnd, title, 64);
    EXPECT_EQ(std::wstring(title), L"C\u00e1lculo de Lentes");
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

// Moved to a display of 144 dots per inch (150 %) and back.
TEST_F(Win32Window, LaysItselfOutAgainOnADisplayOfAnotherDpi)
{
    for (const UINT dpi : {144u, 96u}) {
        SCOPED_TRACE(dpi);
        RECT suggested;
        GetWindowRect(w.hwnd, &suggested);
        SendMessageW(w.hwnd, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
        ExpectLaidOutFor(dpi);
    }
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

}  // namespace
