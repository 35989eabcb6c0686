// SPDX-License-Identifier: GPL-3.0-or-later
// The report on paper through the browser: the page's lines composed into
// the page's print-only element, which the print style sheet puts alone on
// paper, then the browser's print. A page cannot print without the
// browser's print dialog; the user confirms the printer there.
#include <emscripten.h>

#include <string>
#include <string_view>

#include "report/print_report.h"
#include "report/report.h"
#include "window/web/locale.h"

namespace {

EM_JS(void, ClearPage, (), { document.getElementById('PrintPage').replaceChildren(); });
EM_JS(void, AddPageLine, (const char* text, const char* family, int points, bool bold, double indent), {
    const line = document.createElement('div');
    line.textContent = UTF8ToString(text);
    Object.assign(line.style, {
        fontFamily : UTF8ToString(family),
        fontSize : points + 'pt',
        fontWeight : bold ? '700' : '400',
        paddingLeft : indent + '%'
    });
    document.getElementById('PrintPage').append(line);
});
EM_JS(void, PrintPage, (), { print(); });

// The page's coordinates across are shares of the paper's printable width;
// lines flow down at the font's line height, so only the horizontal scale
// is of use, and the print position is across, as on the desktop's paper.
struct PagePrinter {
    double pageLeft = 0, pageWidth = 1;
    std::string family;
    int points = 12;
    bool bold = false;
    double indent = 0;  // per cent of the printable width
    bool begun = false;

    void PageCoordinates(int, int left, int, int right, int)
    {
        pageLeft = left;
        pageWidth = right - left;
    }
    // Fixed-pitch faces stand in where the face is missing.
    void FontName(std::string_view name) { family = "\"" + std::string(name) + "\", var(--fixed-pitch)"; }
    void FontSize(int size) { points = size; }
    void Emphasis(bool on) { bold = on; }
    void PrintPosition(int across) { indent = (across - pageLeft) * 100 / pageWidth; }
    void PrintLine() { PrintLine(""); }
    void PrintLine(std::string_view text)
    {
        // The document begins with its first print.
        if (!begun) ClearPage();
        begun = true;
        AddPageLine(std::string(text).c_str(), family.c_str(), points, bold, indent);
        indent = 0;
    }
    void EndDocument() { PrintPage(); }
};

}  // namespace

void PrintOnDefaultPrinter(const CalcState& state)
{
    PagePrinter printer;
    PrintReport(printer, state, DecimalSeparator());
}
