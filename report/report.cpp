// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/report.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLocale>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPointF>
#include <QPrinter>
#include <QPrinterInfo>
#include <QString>

#include <cups/ipp.h>
#include <dlfcn.h>

#include <string_view>

#include "report/print_report.h"

namespace {

const char* const NoPrinterMessage = "Nenhuma impressora padrão está instalada.";
const char* const NoSpoolerMessage = "O serviço de impressão não está disponível.";
const char* const NotStartedMessage = "A impressora não iniciou o documento.";
const char* const RefusedMessage = "A impressora recusou o documento.";

// The spooler's answer to this thread's last request. Qt's CUPS plugin has
// loaded the CUPS client by the time this is asked; the program looks the
// function up there instead of linking the client, which would load it and
// its many libraries at every start.
ipp_status_t CupsLastError()
{
    void* cups = dlopen("libcups.so.2", RTLD_LAZY | RTLD_NOLOAD);
    if (cups == nullptr)
        return IPP_STATUS_OK;
    using LastError = ipp_status_t (*)();
    const auto lastError = reinterpret_cast<LastError>(dlsym(cups, "cupsLastError"));
    const ipp_status_t status = lastError != nullptr ? lastError() : IPP_STATUS_OK;
    dlclose(cups);
    return status;
}

// The report's printer operations on a QPrinter. The page's coordinates are
// mapped onto the printable area by hand: QPainter::setWindow would scale
// the fonts along with them, and 12 points must stay 12 points on paper.
struct PaperPrinter {
    QPrinter& printer;
    QPainter painter{};
    QFont font{};
    double pageLeft = 0;
    double pixelsPerUnit = 1;
    QPointF position{}; // device pixels from the printable area's top left

    // Only a failure leaves the document open here. Qt 6.4's CUPS engine
    // cannot abort: ending still hands the page drawn so far to the spooler.
    ~PaperPrinter()
    {
        if (painter.isActive()) {
            printer.abort();
            painter.end();
        }
    }

    // (mode, left, top, right, bottom). Lines flow down at the font's line
    // height and the print position is across, so only the horizontal scale
    // is of use; the mode has no meaning for this printer.
    void PageCoordinates(int, int left, int, int right, int)
    {
        pageLeft = left;
        pixelsPerUnit = printer.width() / double(right - left);
    }

    // A fixed-pitch hint, so that a missing face falls back to another
    // fixed-pitch one (Liberation Mono for Courier New).
    void FontName(std::string_view name)
    {
        font.setFamily(QString::fromUtf8(name.data(), qsizetype(name.size())));
        font.setStyleHint(QFont::TypeWriter);
    }

    void FontSize(int points) { font.setPointSize(points); }

    void Emphasis(bool on) { font.setBold(on); }

    void PrintPosition(int across) { position.setX((across - pageLeft) * pixelsPerUnit); }

    void PrintLine()
    {
        Begin();
        NewLine();
    }

    void PrintLine(std::string_view text)
    {
        Begin();
        painter.setFont(font);
        const QFontMetricsF metrics(font, &printer);
        painter.drawText(QPointF(position.x(), position.y() + metrics.ascent()),
                         QString::fromUtf8(text.data(), qsizetype(text.size())));
        NewLine();
    }

    void EndDocument()
    {
        const bool ended = painter.end();
        position = {};
        // Qt hands the finished file to CUPS inside end() and ignores the
        // answer; CUPS keeps it as this thread's last error.
        const bool refused = printer.outputFormat() == QPrinter::NativeFormat &&
                             CupsLastError() > IPP_STATUS_OK_EVENTS_COMPLETE;
        if (!ended || refused)
            throw PrintError(RefusedMessage);
    }

    // The document begins with its first print.
    void Begin()
    {
        if (!painter.isActive() && !painter.begin(&printer))
            throw PrintError(NotStartedMessage);
    }

    void NewLine() { position = {0, position.y() + QFontMetricsF(font, &printer).lineSpacing()}; }
};

void Print(QPrinter& printer, const CalcState& state)
{
    printer.setDocName(QStringLiteral("Orvanta"));
    // Printers report margins of their own, zero for a virtual PDF printer,
    // and a page written up to the paper's edge looks wrong. 15 mm leaves
    // the longest line (10000 de Diagonal, em centimetros) room on A4.
    printer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    PaperPrinter paper{printer};
    PrintReport(paper, state, QLocale::system().decimalPoint().toStdString());
}

} // namespace

void PrintOnDefaultPrinter(const CalcState& state)
{
    // Looking up the default printer is the first talk with the spooler;
    // CUPS's answer tells an unreachable spooler from a missing printer.
    const QPrinterInfo defaultPrinter = QPrinterInfo::defaultPrinter();
    if (defaultPrinter.isNull())
        throw PrintError(CupsLastError() == IPP_STATUS_ERROR_SERVICE_UNAVAILABLE ? NoSpoolerMessage
                                                                                 : NoPrinterMessage);
    QPrinter printer(defaultPrinter, QPrinter::HighResolution);
    // Qt quietly turns to writing a PDF file when the printer is gone.
    if (printer.outputFormat() != QPrinter::NativeFormat)
        throw PrintError(NoPrinterMessage);
    Print(printer, state);
}

void PrintToPdfFile(const CalcState& state, const std::string& path)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(path));
    printer.setPageSize(QPageSize(QPageSize::A4));
    Print(printer, state);
}
