// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstdlib>
#include <limits>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "report/format_whole.h"
#include "report/print_report.h"
#include "tests/test_report_example.h"

namespace {

TEST(FormatWhole, Numbers)
{
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {24, "24"},
        {3.6, "4"},
        {10000, "10000"},
        {0.3, ""},
        {0, ""},
        {-0.0, ""},
        {0.4999999999999999, ""},
        {0.5, "1"},
        {1.5, "2"},
        {2.5, "3"},
        {3.5, "4"},
        {99.5, "100"},
        {33.3f, "33"},
        {3.6f, "4"},
        {-3.6, "-4"},
        {-2.5, "-3"},
        {-0.5, "-1"},
        {-0.4, ""},
        {3e9, "3000000000"},
        {1e15 + 0.5, "1000000000000001"},
        // The double's own digits, not the shortest text that reads back.
        {1e23, "99999999999999991611392"},
        {0x1p100, "1267650600228229401496703205376"},
        {-0x1p64, "-18446744073709551616"},
        {std::numeric_limits<double>::infinity(), ""},
        {-std::numeric_limits<double>::infinity(), ""},
        {std::numeric_limits<double>::quiet_NaN(), ""},
        {1e-300, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(FormatWhole(c.value), c.text);
    }
}

// Values past any integer type are still written digit by digit, in full.
TEST(FormatWhole, HugeNumbersInFull)
{
    const struct {
        double value;
        std::size_t digits;
    } cases[] = {
        {1e300, 301},
        {-1e300, 301},
        {std::numeric_limits<double>::max(), 309},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        const std::string text = FormatWhole(c.value);
        const std::string_view digits = std::string_view(text).substr(c.value < 0 ? 1 : 0);
        EXPECT_EQ(digits.size(), c.digits);
        EXPECT_EQ(digits.find_first_not_of("0123456789"), std::string_view::npos);
        EXPECT_EQ(std::strtod(text.c_str(), nullptr), c.value);
    }
}

TEST(FormatWhole, Texts)
{
    const std::string nines(400, '9');
    const struct {
        std::string text;
        std::string separator;
        std::string expected;
    } cases[] = {
        // The drop-down entries print as they read.
        {"1/3", ",", "1/3"},
        {"2/3", ",", "2/3"},
        {"1/4", ".", "1/4"},
        {"metros", ",", "metros"},
        {"pés", ",", "pés"},
        {"Largura", ",", "Largura"},
        {"1", ",", "1"},
        {"1", ".", "1"},
        // Numbers under the regional separator, and only that one.
        {"1,5", ",", "2"},
        {"1,5", ".", "1,5"},
        {"1.5", ".", "2"},
        {"1.5", ",", "1.5"},
        {"2,5", ",", "3"},
        {"2,4", ",", "2"},
        {"-2,5", ",", "-3"},
        {"-0,4", ",", ""},
        {"-0,5", ",", "-1"},
        {"9,5", ",", "10"},
        {"99,9", ",", "100"},
        {"0", ",", ""},
        {"0012", ",", "12"},
        {"+7", ",", "7"},
        {" 12 ", ",", "12"},
        {"\t3,4\t", ",", "3"},
        {"12,", ",", "12"},
        {",5", ",", "1"},
        {"1\u066B5", "\u066B", "2"},  // a separator of more than one byte
        {nines + ",5", ",", "1" + std::string(400, '0')},
        // Not wholly a number: back unchanged.
        {"", ",", ""},
        {" ", ",", " "},
        {",", ",", ","},
        {"-", ",", "-"},
        {"+-1", ",", "+-1"},
        {"1,2,3", ",", "1,2,3"},
        {"1 000", ",", "1 000"},
        {"1.000,5", ",", "1.000,5"},
        {"1e3", ".", "1e3"},
        {"12abc", ",", "12abc"},
        {"0x10", ".", "0x10"},
        {"\u22121", ",", "\u22121"},  // a typographic minus
        {"1.5", "", "1.5"},
        {"12", "", "12"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("text \"" + c.text + "\", separator \"" + c.separator + "\"");
        EXPECT_EQ(FormatWhole(c.text, c.separator), c.expected);
    }
}

// A text that reads as a number prints as that number does.
TEST(FormatWhole, TextsAgreeWithNumbers)
{
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"0,49", 0.49}, {"0,5", 0.5},   {"1,5", 1.5}, {"2,5", 2.5},     {"-2,5", -2.5},
        {"3,6", 3.6},   {"-0,4", -0.4}, {"24", 24},   {"10000", 10000}, {"33,3", 33.3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(FormatWhole(c.text, ","), FormatWhole(c.value));
    }
}

// Writes every printer operation down, one line of text each.
struct RecordingPrinter {
    std::vector<std::string> ops;

    void PageCoordinates(int mode, int left, int top, int right, int bottom)
    {
        ops.push_back("PageCoordinates " + std::to_string(mode) + " " + std::to_string(left) + " " +
                      std::to_string(top) + " " + std::to_string(right) + " " + std::to_string(bottom));
    }
    void FontName(std::string_view name) { ops.push_back("FontName " + std::string(name)); }
    void FontSize(int points) { ops.push_back("FontSize " + std::to_string(points)); }
    void Emphasis(bool on) { ops.push_back(on ? "Emphasis on" : "Emphasis off"); }
    void PrintPosition(int across) { ops.push_back("PrintPosition " + std::to_string(across)); }
    void PrintLine() { ops.push_back("PrintLine"); }
    void PrintLine(std::string_view text) { ops.push_back("PrintLine \"" + std::string(text) + "\""); }
    void EndDocument() { ops.push_back("EndDocument"); }
};

// What each print operation put on paper: its text (empty for a bare line
// feed) and whether emphasis was on.
std::vector<std::pair<std::string, bool>> PrintedLines(const std::vector<std::string>& ops)
{
    std::vector<std::pair<std::string, bool>> lines;
    bool emphasis = false;
    for (const std::string& op : ops) {
        if (op == "Emphasis on" || op == "Emphasis off")
            emphasis = op == "Emphasis on";
        else if (op == "PrintLine")
            lines.emplace_back("", emphasis);
        else if (op.starts_with("PrintLine \""))
            lines.emplace_back(op.substr(11, op.size() - 12), emphasis);
    }
    return lines;
}

const std::vector<std::string> WorkedExampleOps = {
    "PageCoordinates 4 0 0 850 1000",
    "FontName Courier New",
    "FontSize 12",
    "PrintPosition 100",
    "PrintLine",
    "Emphasis on",
    "PrintPosition 100",
    "PrintLine \"Vintoral - Orvanta 1.0 Beta\"",
    "Emphasis off",
    "PrintLine",
    "PrintLine \"Formato do CCD da Camera:1/3CCD\"",
    "PrintLine",
    "PrintLine \"Dimensão máxima do Objeto ou Cena: 1000 de Largura, em milimetros\"",
    "PrintLine",
    "PrintLine \"Distância da Camera/Lente: 5 metros\"",
    "PrintLine",
    "PrintLine \"Porcentagem da Tela a ser Ocupada pela Imagem: 100%\"",
    "Emphasis on",
    "PrintLine",
    "PrintLine \"Distância Focal da lente a ser utilizada: 24 mm\"",
    "Emphasis off",
    "PrintLine",
    "EndDocument",
};

// One changed field of the worked example and the page line (1-based) it
// changes; every other line stays as in the worked example.
TEST(PrintReport, EdgeCases)
{
    const struct {
        const char* what;
        void (*change)(CalcState&);
        const char* separator;
        std::size_t line;
        const char* text;
    } cases[] = {
        {"focal length 0", [](CalcState& s) { s.sngFocalLengthShown = 0; }, ",", 12,
         "Distância Focal da lente a ser utilizada:  mm"},
        {"focal length 0.3", [](CalcState& s) { s.sngFocalLengthShown = 0.3f; }, ",", 12,
         "Distância Focal da lente a ser utilizada:  mm"},
        {"focal length 3.6", [](CalcState& s) { s.sngFocalLengthShown = 3.6f; }, ",", 12,
         "Distância Focal da lente a ser utilizada: 4 mm"},
        {"focal length 38.8", [](CalcState& s) { s.sngFocalLengthShown = 38.8f; }, ",", 12,
         "Distância Focal da lente a ser utilizada: 39 mm"},
        {"focal length 1.5875E+08", [](CalcState& s) { s.sngFocalLengthShown = 1.5875e8f; }, ",", 12,
         "Distância Focal da lente a ser utilizada: 158750000 mm"},
        {"focal length unrounded is not printed", [](CalcState& s) { s.sngFocalLength = 3.6f; }, ",", 12,
         "Distância Focal da lente a ser utilizada: 24 mm"},
        {"target 10000", [](CalcState& s) { s.sngTargetSize = 10000; }, ",", 6,
         "Dimensão máxima do Objeto ou Cena: 10000 de Largura, em milimetros"},
        {"target refused as empty", [](CalcState& s) { s.sngTargetSize = 0; }, ",", 6,
         "Dimensão máxima do Objeto ou Cena:  de Largura, em milimetros"},
        {"target in pés, diagonal",
         [](CalcState& s) {
             s.strTargetUnit = "pés";
             s.strDimensionKind = "Diagonal";
         },
         ",", 6, "Dimensão máxima do Objeto ou Cena: 1000 de Diagonal, em pés"},
        {"camera 1", [](CalcState& s) { s.strCameraFormat = "1"; }, ",", 4, "Formato do CCD da Camera:1CCD"},
        {"camera 2/3", [](CalcState& s) { s.strCameraFormat = "2/3"; }, ",", 4, "Formato do CCD da Camera:2/3CCD"},
        {"distance in pés", [](CalcState& s) { s.strDistanceUnit = "pés"; }, ",", 8,
         "Distância da Camera/Lente: 5 pés"},
        {"distance 10000", [](CalcState& s) { s.sngDistance = 10000; }, ",", 8,
         "Distância da Camera/Lente: 10000 metros"},
        {"distance unit that reads as a number, comma", [](CalcState& s) { s.strDistanceUnit = "1,5"; }, ",", 8,
         "Distância da Camera/Lente: 5 2"},
        {"distance unit that reads as a number, point", [](CalcState& s) { s.strDistanceUnit = "1,5"; }, ".", 8,
         "Distância da Camera/Lente: 5 1,5"},
        {"33.3 %", [](CalcState& s) { s.sngScreenPercent = 33.3f; }, ",", 10,
         "Porcentagem da Tela a ser Ocupada pela Imagem: 33%"},
        {"1 %", [](CalcState& s) { s.sngScreenPercent = 1; }, ",", 10,
         "Porcentagem da Tela a ser Ocupada pela Imagem: 1%"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RecordingPrinter worked;
        PrintReport(worked, WorkedExample(), c.separator);
        auto expected = PrintedLines(worked.ops);
        expected.at(c.line - 1).first = c.text;

        CalcState state = WorkedExample();
        c.change(state);
        RecordingPrinter printer;
        PrintReport(printer, state, c.separator);
        EXPECT_EQ(PrintedLines(printer.ops), expected);
    }
}

// The worked example's operations in order; every run sets the printer up
// from scratch and ends its own document.
TEST(PrintReport, WorkedExampleOperationsOnceForEachRun)
{
    RecordingPrinter printer;
    PrintReport(printer, WorkedExample(), ",");
    PrintReport(printer, WorkedExample(), ",");
    std::vector<std::string> twice = WorkedExampleOps;
    twice.insert(twice.end(), WorkedExampleOps.begin(), WorkedExampleOps.end());
    EXPECT_EQ(printer.ops, twice);
}

}  // namespace
