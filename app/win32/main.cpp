// SPDX-License-Identifier: GPL-3.0-or-later
// Orvanta for Windows: creates the lens calculator's window and runs until
// it is closed.
#include <windows.h>

#include "report/report.h"
#include "window/form1.h"
#include "window/win32/form_window.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    Form1 form(PrintOnDefaultPrinter);
    form.Show();
    return RunEventLoop();
}
