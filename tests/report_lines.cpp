// SPDX-License-Identifier: GPL-3.0-or-later
// Prints the lines the desktop printers put on paper for the worked example,
// one per line, the bare line feeds as empty lines: the text that every
// printer's page must have (check_page.py).
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "report/print_report.h"
#include "tests/test_report_example.h"

namespace {

// Keeps the lines; the page's geometry and fonts are the printers' own.
struct LinePrinter {
    std::vector<std::string> lines;

    void PageCoordinates(int, int, int, int, int) {}
    void FontName(std::string_view) {}
    void FontSize(int) {}
    void Emphasis(bool) {}
    void PrintPosition(int) {}
    void PrintLine() { lines.emplace_back(); }
    void PrintLine(std::string_view text) { lines.emplace_back(text); }
    void EndDocument() {}
};

}  // namespace

int main()
{
    LinePrinter printer;
    PrintReport(printer, WorkedExample(), ",");
    for (const std::string& line : printer.lines) std::printf("%s\n", line.c_str());
    return 0;
}
