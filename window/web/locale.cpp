// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/web/locale.h"

#include <emscripten.h>

#include <cstdlib>

namespace {

// The separator that the language's number format writes in 1.5; the full
// stop when it writes none.
EM_JS(char*, BrowserSeparator, (), {
    const language = (navigator.languages && navigator.languages[0]) || navigator.language;
    const part = new Intl.NumberFormat(language).formatToParts(1.5).find(function(p) { return p.type == 'decimal'; });
    return allocateUTF8(part ? part.value : '.');
});

}  // namespace

std::string DecimalSeparator()
{
    char* text = BrowserSeparator();
    std::string separator(text);
    std::free(text);
    return separator;
}
