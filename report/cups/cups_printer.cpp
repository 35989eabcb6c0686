// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/cups/pdf_file.h"
#include "report/report.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QLocale>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPointF>
#include <QSaveFile>
#include <QString>

#include <cups/cups.h>
#include <dlfcn.h>

#include <cerrno>
#include <memory>
#include <new>
#include <string_view>

#include "report/print_report.h"

namespace {

const char* const NoPrinterMessage = "Nenhuma impressora padrão está instalada.";
const char* const NoSpoolerMessage = "O serviço de impressão não está disponível.";
const char* const NotAnsweringMessage = "O serviço de impressão não está respondendo.";
const char* const RefusedMessage = "A impressora recusou o documento.";
const char* const NoRoomMessage = "Não há espaço para montar o documento.";
const char* const DroppedMessage =
    "A conexão com o serviço de impressão caiu durante o envio, e o documento foi cancelado.";

std::string UnreachableMessage(const std::string& server)
{
    return "O servidor de impressão " + server + " não pode ser alcançado.";
}

std::string WaitingMessage(const std::string& printer)
{
    return "O documento aguarda na fila da impressora " + printer + ", que está parada.";
}

// A print server that does not answer holds the window no longer than this
// for the connection and for each request.
constexpr int ConnectTimeoutMs = 5000;
constexpr double RequestTimeoutSeconds = 5;

// The report's printer operations on a PDF page. The page's coordinates are
// mapped onto the printable area by hand: QPainter::setWindow would scale
// the fonts along with them, and 12 points must stay 12 points on paper.
struct PaperPrinter {
    QPdfWriter& writer;
    QPainter painter{};
    QFont font{};
    double pageLeft = 0;
    double pixelsPerUnit = 1;
    QPointF position{};  // device pixels from the printable area's top left

    // (mode, left, top, right, bottom). Lines flow down at the font's line
    // height and the print position is across, so only the horizontal scale
    // is of use; the mode has no meaning for this printer.
    void PageCoordinates(int, int left, int, int right, int)
    {
        pageLeft = left;
        pixelsPerUnit = writer.width() / double(right - left);
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
        const QFontMetricsF metrics(font, &writer);
        painter.drawText(QPointF(position.x(), position.y() + metrics.ascent()),
                         QString::fromUtf8(text.data(), qsizetype(text.size())));
        NewLine();
    }

    void EndDocument()
    {
        position = {};
        if (!painter.end()) throw PrintError(NoRoomMessage);
    }

    // The document begins with its first print.
    void Begin()
    {
        if (!painter.isActive() && !painter.begin(&writer)) throw PrintError(NoRoomMessage);
    }

    void NewLine() { position = {0, position.y() + QFontMetricsF(font, &writer).lineSpacing()}; }
};

// Writes the page, whole, into device, which is open for writing.
void WritePdf(QIODevice& device, const CalcState& state, const QPageSize& paper)
{
    QPdfWriter writer(&device);
    writer.setTitle(QStringLiteral("Orvanta"));
    writer.setPageSize(paper);
    // Printers report margins of their own, and a page written up to the
    // paper's edge looks wrong. 15 mm leaves the longest line (10000 de
    // Diagonal, em centimetros) room on A4 and on US Letter.
    writer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    PaperPrinter printer{writer};
    PrintReport(printer, state, QLocale::system().decimalPoint().toStdString());
}

// The page in memory, made whole before any of it goes to the spooler: no
// temporary file can cut it short.
QByteArray PdfInMemory(const CalcState& state, const QPageSize& paper)
{
    try {
        QByteArray pdf;
        QBuffer buffer(&pdf);
        buffer.open(QIODevice::WriteOnly);
        WritePdf(buffer, state, paper);
        return pdf;
    } catch (const std::bad_alloc&) {
        throw PrintError(NoRoomMessage);
    }
}

// The CUPS client's functions this program calls. The library is loaded at
// the first print, so that start-up does without it and the many libraries
// it brings.
struct Cups {
    void* library = dlopen("libcups.so.2", RTLD_NOW | RTLD_LOCAL);
    int missing = library == nullptr ? 1 : 0;

    template <class Function>
    Function Find(const char* name)
    {
        const auto function = library != nullptr ? reinterpret_cast<Function>(dlsym(library, name)) : nullptr;
        missing += function == nullptr ? 1 : 0;
        return function;
    }
#define ORVANTA_CUPS_FUNCTION(name) decltype(&::name) name = Find<decltype(&::name)>(#name)
    ORVANTA_CUPS_FUNCTION(cupsSetServer);
    ORVANTA_CUPS_FUNCTION(cupsServer);
    ORVANTA_CUPS_FUNCTION(ippPort);
    ORVANTA_CUPS_FUNCTION(cupsEncryption);
    ORVANTA_CUPS_FUNCTION(cupsSetPasswordCB2);
    ORVANTA_CUPS_FUNCTION(httpConnect2);
    ORVANTA_CUPS_FUNCTION(httpReconnect2);
    ORVANTA_CUPS_FUNCTION(httpSetTimeout);
    ORVANTA_CUPS_FUNCTION(httpError);
    ORVANTA_CUPS_FUNCTION(httpClose);
    ORVANTA_CUPS_FUNCTION(cupsGetNamedDest);
    ORVANTA_CUPS_FUNCTION(cupsFreeDests);
    ORVANTA_CUPS_FUNCTION(cupsGetOption);
    ORVANTA_CUPS_FUNCTION(cupsLastError);
    ORVANTA_CUPS_FUNCTION(cupsCopyDestInfo);
    ORVANTA_CUPS_FUNCTION(cupsFreeDestInfo);
    ORVANTA_CUPS_FUNCTION(cupsFindDestDefault);
    ORVANTA_CUPS_FUNCTION(ippGetString);
    ORVANTA_CUPS_FUNCTION(pwgMediaForPWG);
    ORVANTA_CUPS_FUNCTION(cupsCreateDestJob);
    ORVANTA_CUPS_FUNCTION(cupsStartDestDocument);
    ORVANTA_CUPS_FUNCTION(cupsWriteRequestData);
    ORVANTA_CUPS_FUNCTION(cupsFinishDestDocument);
    ORVANTA_CUPS_FUNCTION(cupsCancelDestJob);
#undef ORVANTA_CUPS_FUNCTION
};

const Cups& LoadCups()
{
    static const Cups cups = [] {
        Cups loaded;
        // A spooler that asks for a password gets none: a prompt on the
        // terminal would hold the window for ever.
        if (loaded.missing == 0)
            loaded.cupsSetPasswordCB2(
                [](const char*, http_t*, const char*, const char*, void*) -> const char* { return nullptr; }, nullptr);
        return loaded;
    }();
    if (cups.missing != 0) throw PrintError(NoSpoolerMessage);
    return cups;
}

// One talk with the print server: every wait on it is bounded, and what the
// spooler hands out is released when the talk ends.
struct Spooler {
    const Cups& cups;
    std::unique_ptr<http_t, void (*)(http_t*)> http{nullptr, nullptr};
    std::unique_ptr<cups_dest_t, void (*)(cups_dest_t*)> printer{nullptr, nullptr};
    std::unique_ptr<cups_dinfo_t, void (*)(cups_dinfo_t*)> info{nullptr, nullptr};

    // Connects to the print server that the user's configuration names,
    // read afresh at every print so that a corrected setting applies at once.
    explicit Spooler(const Cups& client) : cups(client)
    {
        cups.cupsSetServer(nullptr);
        const std::string server = cups.cupsServer();
        // Only the name is looked up here; a name that cannot be is a
        // server out of reach.
        http = {
            cups.httpConnect2(server.c_str(), cups.ippPort(), nullptr, AF_UNSPEC, cups.cupsEncryption(), 1, 0, nullptr),
            cups.httpClose};
        if (http == nullptr) throw PrintError(UnreachableMessage(server));
        if (cups.httpReconnect2(http.get(), ConnectTimeoutMs, nullptr) != 0) {
            const bool local = server.starts_with('/');
            throw PrintError(!local && cups.httpError(http.get()) == ETIMEDOUT ? UnreachableMessage(server)
                                                                               : NoSpoolerMessage);
        }
        // Returning 0 ends the wait.
        cups.httpSetTimeout(
            http.get(), RequestTimeoutSeconds, [](http_t*, void*) { return 0; }, nullptr);
    }

    bool TimedOut() const { return cups.httpError(http.get()) == ETIMEDOUT; }

    // A request that got no answer comes back with the status of the one
    // before; only the connection's error tells.
    bool Succeeded(ipp_status_t status) const
    {
        return status <= IPP_STATUS_OK_EVENTS_COMPLETE && cups.httpError(http.get()) == 0;
    }

    // Why the last request failed, when the server gave no answer of its own.
    const char* Silence() const { return TimedOut() ? NotAnsweringMessage : NoSpoolerMessage; }

    void FindDefaultPrinter()
    {
        printer = {cups.cupsGetNamedDest(http.get(), nullptr, nullptr),
                   [](cups_dest_t* dest) { LoadCups().cupsFreeDests(1, dest); }};
        if (printer == nullptr)
            throw PrintError(cups.httpError(http.get()) != 0                      ? Silence()
                             : cups.cupsLastError() == IPP_STATUS_ERROR_NOT_FOUND ? NoPrinterMessage
                                                                                  : NoSpoolerMessage);
        info = {cups.cupsCopyDestInfo(http.get(), printer.get()), cups.cupsFreeDestInfo};
        if (info == nullptr) throw PrintError(cups.httpError(http.get()) != 0 ? Silence() : NoPrinterMessage);
    }

    std::string PrinterName() const { return printer->name; }

    bool PrinterStopped() const
    {
        const char* state = cups.cupsGetOption("printer-state", printer->num_options, printer->options);
        return state != nullptr && std::string_view(state) == "5";  // IPP_PSTATE_STOPPED
    }

    // The printer's default paper; A4 when it names none that CUPS knows.
    QPageSize DefaultPaper() const
    {
        ipp_attribute_t* media = cups.cupsFindDestDefault(http.get(), printer.get(), info.get(), "media");
        const char* name = media != nullptr ? cups.ippGetString(media, 0, nullptr) : nullptr;
        const pwg_media_t* size = name != nullptr ? cups.pwgMediaForPWG(name) : nullptr;
        if (size == nullptr) return QPageSize(QPageSize::A4);
        return QPageSize(QSizeF(size->width / 100.0, size->length / 100.0), QPageSize::Millimeter);
    }

    // Creates the job, sends pdf as its one document and finishes it. A job
    // that was created but not completed is cancelled.
    void Submit(const QByteArray& pdf)
    {
        int job = 0;
        if (!Succeeded(cups.cupsCreateDestJob(http.get(), printer.get(), info.get(), &job, "Orvanta", 0, nullptr)))
            throw PrintError(cups.httpError(http.get()) != 0 ? Silence() : RefusedMessage);
        const bool sent =
            cups.cupsStartDestDocument(http.get(), printer.get(), info.get(), job, "Orvanta", CUPS_FORMAT_PDF, 0,
                                       nullptr, 1) == HTTP_STATUS_CONTINUE &&
            cups.cupsWriteRequestData(http.get(), pdf.constData(), size_t(pdf.size())) == HTTP_STATUS_CONTINUE;
        if (sent && Succeeded(cups.cupsFinishDestDocument(http.get(), printer.get(), info.get()))) return;
        const bool lost = cups.httpError(http.get()) != 0;
        const char* why = !lost ? RefusedMessage : TimedOut() ? NotAnsweringMessage : DroppedMessage;
        // A connection that failed cannot carry the cancellation.
        Spooler again(cups);
        again.printer = std::move(printer);
        const bool cancelled = again.Succeeded(cups.cupsCancelDestJob(again.http.get(), again.printer.get(), job));
        // The message of a dropped connection says that the job was
        // cancelled; when it could not be, the spooler is out of reach.
        throw PrintError(cancelled || why != DroppedMessage ? why : NoSpoolerMessage);
    }
};

}  // namespace

void PrintOnDefaultPrinter(const CalcState& state)
{
    Spooler spooler(LoadCups());
    spooler.FindDefaultPrinter();
    spooler.Submit(PdfInMemory(state, spooler.DefaultPaper()));
    // The job is queued; a stopped or paused printer will not print it yet.
    if (spooler.PrinterStopped()) throw PrintError(WaitingMessage(spooler.PrinterName()));
}

void PrintToPdfFile(const CalcState& state, const std::string& path)
{
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly)) throw PrintError("O arquivo " + path + " não pode ser gravado.");
    WritePdf(file, state, QPageSize(QPageSize::A4));
    if (!file.commit()) throw PrintError("O arquivo " + path + " não pode ser gravado.");
}
