// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/web/locale.h"

#include <emscripten.h>

#include <cstdlib>

namespace {

// locale.js reads it from the browser.
EM_JS(char*, BrowserSeparator, (), { return allocateUTF8(OrvantaLocale.decimalSeparator()); });

}  // namespace

std::string DecimalSeparator()
{
    char* text = BrowserSeparator();
    std::string separator(text);
    std::free(text);
    return separator;
}
