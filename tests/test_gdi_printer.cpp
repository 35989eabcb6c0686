// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "report/report.h"
#include "tests/test_report_example.h"

namespace {

// The page's lines for gdi_print.sh, which reads the spooler's copy of the
// document back against them.
void ExpectPage(const std::vector<std::string>& lines)
{
    std::ofstream expected("expected.txt", std::ios::binary);
    for (const std::string& line : lines) expected << line << '\n';
    EXPECT_TRUE(expected.flush());
}

TEST(PrivateSpooler, PrintsTheWorkedExample)
{
    EXPECT_NO_THROW(PrintOnDefaultPrinter(WorkedExample()));
    ExpectPage(WorkedExampleTexts);
}

// The user's decimal separator (Control Panel, Region: ORVANTA_EXPECT_SEPARATOR
// says which one gdi_print.sh set) decides which texts read as numbers.
TEST(PrivateSpooler, UserDecimalSeparatorDecidesWhatIsANumber)
{
    const char* separator = std::getenv("ORVANTA_EXPECT_SEPARATOR");
    ASSERT_NE(separator, nullptr);
    CalcState state = WorkedExample();
    state.strCameraFormat = "2,5";
    EXPECT_NO_THROW(PrintOnDefaultPrinter(state));
    std::vector<std::string> lines = WorkedExampleTexts;
    lines[1] = std::string("Formato do CCD da Camera:") + (std::string(separator) == "," ? "3" : "2,5") + "CCD";
    ExpectPage(lines);
}

// Sets or clears "Use Printer Offline" on the default printer.
void SetWorkOffline(bool offline)
{
    wchar_t name[256];
    DWORD size = DWORD(std::size(name));
    ASSERT_TRUE(GetDefaultPrinterW(name, &size));
    PRINTER_DEFAULTSW access{nullptr, nullptr, PRINTER_ALL_ACCESS};
    HANDLE printer = nullptr;
    ASSERT_TRUE(OpenPrinterW(name, &printer, &access));
    DWORD needed = 0;
    GetPrinterW(printer, 2, nullptr, 0, &needed);
    std::vector<PRINTER_INFO_2W> info(needed / sizeof(PRINTER_INFO_2W) + 1);
    ASSERT_TRUE(
        GetPrinterW(printer, 2, reinterpret_cast<BYTE*>(info.data()), DWORD(info.size() * sizeof(info[0])), &needed));
    info[0].Attributes = offline ? info[0].Attributes | PRINTER_ATTRIBUTE_WORK_OFFLINE
                                 : info[0].Attributes & ~DWORD(PRINTER_ATTRIBUTE_WORK_OFFLINE);
    info[0].pSecurityDescriptor = nullptr;  // left as it is
    EXPECT_TRUE(SetPrinterW(printer, 2, reinterpret_cast<BYTE*>(info.data()), 0));
    ClosePrinter(printer);
}

// A printer that works offline keeps the job, and the user is told.
TEST(PrivateSpooler, OfflinePrinterKeepsTheJobAndSaysSo)
{
    SetWorkOffline(true);
    try {
        PrintOnDefaultPrinter(WorkedExample());
        ADD_FAILURE() << "no word of the offline printer";
    } catch (const PrintError& error) {
        EXPECT_STREQ(error.what(), "O documento aguarda na fila da impressora orvanta, que está parada.");
    }
    SetWorkOffline(false);
    ExpectPage(WorkedExampleTexts);
}

// No test cancels a printer's file dialog: Wine's "Print to File" dialog,
// cancelled, lets StartDocW succeed, where Windows fails it with
// ERROR_CANCELLED, which PrintOnDefaultPrinter takes as no error.
TEST(EmptySpooler, NoDefaultPrinterIsAPrintError)
{
    try {
        PrintOnDefaultPrinter(WorkedExample());
        FAIL() << "printed with no printer";
    } catch (const PrintError& error) {
        EXPECT_STREQ(error.what(), "Nenhuma impressora padrão está instalada.");
    }
}

}  // namespace
