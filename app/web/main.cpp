// SPDX-License-Identifier: GPL-3.0-or-later
// The program in the browser: the window on the page's form, printing
// through the browser's print, until "Fechar" ends it.
#include "report/report.h"
#include "window/form1.h"
#include "window/web/form_window.h"

int main()
{
    Form1 form(PrintOnDefaultPrinter);
    form.Show();
    RunEventLoop();
}
