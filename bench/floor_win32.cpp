// SPDX-License-Identifier: GPL-3.0-or-later
// The start-up floor for Orvanta on Windows: a bare Win32 window of the same
// size with the same 24 native controls at the same places, the same Common
// Controls 6 and per-monitor DPI manifest, and nothing else (no fonts, list
// items, icon, tab order, key filter or printing).
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "floor_controls.h"

namespace {

LRESULT CALLBACK FloorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

const wchar_t* ClassOf(char kind)
{
    switch (kind) {
    case 'L': return L"STATIC";
    case 'T': return L"EDIT";
    case 'C': return L"COMBOBOX";
    default: return L"BUTTON";
    }
}

DWORD StyleOf(char kind)
{
    switch (kind) {
    case 'L': return SS_LEFT;
    case 'T': return WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL;
    case 'C': return WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
    default: return WS_TABSTOP | BS_PUSHBUTTON;
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    const INITCOMMONCONTROLSEX common{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&common);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = FloorProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_3DFACE + 1);
    windowClass.lpszClassName = L"OrvantaFloor";
    RegisterClassExW(&windowClass);

    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
    RECT frame{0, 0, FloorWidth, FloorHeight};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    HWND window =
        CreateWindowExW(0, windowClass.lpszClassName, L"C\u00e1lculo de Lentes", style, CW_USEDEFAULT, CW_USEDEFAULT,
                        frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
    for (const FloorControl& control : FloorControls) {
        const int length = MultiByteToWideChar(CP_UTF8, 0, control.caption, -1, nullptr, 0);
        std::wstring caption(static_cast<std::size_t>(length), L'\0');
        MultiByteToWideChar(CP_UTF8, 0, control.caption, -1, caption.data(), length);
        CreateWindowExW(control.kind == 'T' ? WS_EX_CLIENTEDGE : 0, ClassOf(control.kind), caption.c_str(),
                        WS_CHILD | WS_VISIBLE | StyleOf(control.kind), control.left, control.top, control.width,
                        control.height, window, nullptr, instance, nullptr);
    }
    ShowWindow(window, SW_SHOWNORMAL);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
