// SPDX-License-Identifier: GPL-3.0-or-later
// Orvanta for Windows: creates the lens calculator's window and runs until
// it is closed.
#include <windows.h>

#include "report/report.h"
#include "window/form1.h"
#include "window/win32/form_window.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    // Every DLL loaded from here on, by the program or by a system library
    // on its behalf, comes from the system folder: never one planted beside
    // the program (a portable copy unpacked in Downloads).
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    Form1 form(PrintOnDefaultPrinter);
    form.Show();
    return RunEventLoop();
}
