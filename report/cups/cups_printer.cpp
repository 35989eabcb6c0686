// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/cups/pdf_file.h"
#include "report/report.h"

#include <QBuffer>
#include <QByteArray>
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

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <new>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "report/print_messages.h"
#include "report/print_report.h"

namespace {

// The printer that the user chose as default, where CUPS looks for it
// before it asks the server: LPDEST, PRINTER (but "lp"), then the Default
// line of the user's lpoptions and of the client's. "" when none is chosen.
std::string ChosenDefault()
{
    std::string name;
    const char* destination = std::getenv("LPDEST");
    const char* printer = std::getenv("PRINTER");
    if (destination != nullptr)
        name = destination;
    else if (printer != nullptr && std::string_view(printer) != "lp")
        name = printer;
    std::vector<std::string> files;
    if (const char* home = std::getenv("HOME")) files.push_back(std::string(home) + "/.cups/lpoptions");
    const char* root = std::getenv("CUPS_SERVERROOT");
    files.push_back(std::string(root != nullptr ? root : "/etc/cups") + "/lpoptions");
    for (const std::string& path : files) {
        std::ifstream file(path);
        for (std::string line; name.empty() && std::getline(file, line);)
            if (line.starts_with("Default ")) name = line.substr(8, line.find(' ', 8) - 8);
    }
    return name.substr(0, name.find('/'));  // without the instance
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
    double fontScale = 1;  // below 1 on paper too narrow for the lines
    QPainter painter{};
    QFont font{};
    double pageLeft = 0;
    double pixelsPerUnit = 1;
    QPointF position{};  // device pixels from the printable area's top left
    double room = 1;     // the least share of a line's width that fitted on it

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

    void FontSize(int points) { font.setPointSizeF(points * fontScale); }

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
        const QString line = QString::fromUtf8(text.data(), qsizetype(text.size()));
        painter.drawText(QPointF(position.x(), position.y() + metrics.ascent()), line);
        if (!line.isEmpty()) room = std::min(room, (writer.width() - position.x()) / metrics.horizontalAdvance(line));
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

// Writes the page into device, which is open for writing, its text made
// smaller by fontScale, and gives the least share of a line's width that
// fitted across the printable area.
double DrawPdf(QIODevice& device, const CalcState& state, const QPageSize& paper, double fontScale)
{
    QPdfWriter writer(&device);
    writer.setTitle(QStringLiteral("Orvanta"));
    writer.setPageSize(paper);
    // Printers report margins of their own, and a page written up to the
    // paper's edge looks wrong. 15 mm leaves the longest line (10000 de
    // Diagonal, em centimetros) room on A4 and on US Letter.
    writer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    PaperPrinter printer{writer, fontScale};
    PrintReport(printer, state, QLocale::system().decimalPoint().toStdString());
    return printer.room;
}

// Writes the page, whole, into device, which is open for writing. On paper
// too narrow for the longest line at its size (A5, a photo card) the text is
// made as much smaller as it must to fit, rather than cut at the edge.
void WritePdf(QIODevice& device, const CalcState& state, const QPageSize& paper)
{
    QBuffer page;
    page.open(QIODevice::WriteOnly);
    const double room = DrawPdf(page, state, paper, 1);
    if (room >= 1) {
        device.write(page.data());
    } else {
        DrawPdf(device, state, paper, room);
    }
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
    ORVANTA_CUPS_FUNCTION(cupsSetUser);
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
    ORVANTA_CUPS_FUNCTION(cupsFindDestSupported);
    ORVANTA_CUPS_FUNCTION(cupsGetDestMediaByName);
    ORVANTA_CUPS_FUNCTION(ippGetString);
    ORVANTA_CUPS_FUNCTION(ippGetCollection);
    ORVANTA_CUPS_FUNCTION(ippGetInteger);
    ORVANTA_CUPS_FUNCTION(ippFindAttribute);
    ORVANTA_CUPS_FUNCTION(ippNewRequest);
    ORVANTA_CUPS_FUNCTION(ippAddString);
    ORVANTA_CUPS_FUNCTION(ippDelete);
    ORVANTA_CUPS_FUNCTION(cupsDoRequest);
    ORVANTA_CUPS_FUNCTION(pwgMediaForPWG);
    ORVANTA_CUPS_FUNCTION(pwgMediaForPPD);
    ORVANTA_CUPS_FUNCTION(pwgMediaForLegacy);
    ORVANTA_CUPS_FUNCTION(cupsCreateDestJob);
    ORVANTA_CUPS_FUNCTION(cupsStartDestDocument);
    ORVANTA_CUPS_FUNCTION(cupsWriteRequestData);
    ORVANTA_CUPS_FUNCTION(cupsFinishDestDocument);
    ORVANTA_CUPS_FUNCTION(cupsCancelDestJob);
#undef ORVANTA_CUPS_FUNCTION
    // libcups's table of named paper sizes. It is private to the library
    // (no header declares it), so a library without it still prints, knowing
    // PPD names in their own case only.
    using MediaTable = const pwg_media_t* (*)(size_t*);
    MediaTable pwgMediaTable =
        library != nullptr ? reinterpret_cast<MediaTable>(dlsym(library, "_pwgMediaTable")) : nullptr;
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
    std::string server;
    std::unique_ptr<http_t, void (*)(http_t*)> http{nullptr, nullptr};
    std::unique_ptr<cups_dest_t, void (*)(cups_dest_t*)> printer{nullptr, nullptr};
    std::unique_ptr<cups_dinfo_t, void (*)(cups_dinfo_t*)> info{nullptr, nullptr};

    // Connects to the print server that the user's configuration names, as
    // the user it names, both read afresh at every print so that a corrected
    // setting applies at once.
    explicit Spooler(const Cups& client) : cups(client)
    {
        cups.cupsSetServer(nullptr);
        cups.cupsSetUser(nullptr);
        server = cups.cupsServer();
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

    // Why the last request failed: no answer, a login that the password
    // callback could not give, a printer that the server does not let this
    // user print on (HTTP 403 on the printer or on the job, or the printer's
    // list of allowed users), or else what answer says.
    std::string Failure(const std::string& answer) const
    {
        if (cups.httpError(http.get()) != 0) return Silence();
        const ipp_status_t status = cups.cupsLastError();
        if (status == IPP_STATUS_ERROR_NOT_AUTHENTICATED || status == IPP_STATUS_ERROR_CUPS_AUTHENTICATION_CANCELED)
            return LoginMessage(server);
        if (status == IPP_STATUS_ERROR_FORBIDDEN || status == IPP_STATUS_ERROR_NOT_AUTHORIZED)
            return ForbiddenMessage(printer != nullptr ? printer->name : ChosenDefault());
        return answer;
    }

    static std::unique_ptr<cups_dest_t, void (*)(cups_dest_t*)> Dest(cups_dest_t* dest)
    {
        return {dest, [](cups_dest_t* d) { LoadCups().cupsFreeDests(1, d); }};
    }

    void FindDefaultPrinter()
    {
        printer = Dest(cups.cupsGetNamedDest(http.get(), nullptr, nullptr));
        if (printer == nullptr) {
            const std::string chosen = ChosenDefault();
            throw PrintError(Failure(cups.cupsLastError() != IPP_STATUS_ERROR_NOT_FOUND ? NoSpoolerMessage
                                     : chosen.empty()                                   ? NoPrinterMessage
                                                      : MissingDefaultMessage(chosen)));
        }
        info = {cups.cupsCopyDestInfo(http.get(), printer.get()), cups.cupsFreeDestInfo};
        if (info == nullptr) throw PrintError(Failure(NoPrinterMessage));
    }

    const char* Option(const char* name) const
    {
        return cups.cupsGetOption(name, printer->num_options, printer->options);
    }

    std::string PrinterName() const { return printer->name; }

    bool PrinterStopped() const
    {
        const char* state = Option("printer-state");
        return state != nullptr && std::string_view(state) == "5";  // IPP_PSTATE_STOPPED
    }

    // The job goes with the destination's job-hold-until, the queue's
    // default or the user's own.
    bool PrinterHoldsTheJob() const
    {
        const char* hold = Option("job-hold-until");
        return hold != nullptr && *hold != '\0' && std::string_view(hold) != "no-hold";
    }

    // A size in hundredths of millimetres.
    static QPageSize Paper(int width, int length)
    {
        return QPageSize(QSizeF(width / 100.0, length / 100.0), QPageSize::Millimeter);
    }

    // The size that CUPS knows by name, which it takes in any case: a PWG
    // name ("na_letter_8.5x11in"), a legacy one ("na-letter") or a PPD one
    // ("Letter"), and so lp's own "letter" and "a4". nullptr for none.
    const pwg_media_t* KnownSize(const std::string& name) const
    {
        size_t count = 0;
        const pwg_media_t* table = cups.pwgMediaTable != nullptr ? cups.pwgMediaTable(&count) : nullptr;
        for (const pwg_media_t& size : std::span(table, count))
            for (const char* known : {size.pwg, size.legacy, size.ppd})
                if (known != nullptr && qstricmp(known, name.c_str()) == 0) return &size;
        // Names that describe their size ("custom_card_85x54mm", "4x6in"),
        // and the table's names where the table is not there. PWG and
        // legacy names are in lower case.
        const QByteArray lower = QByteArray::fromStdString(name).toLower();
        if (const pwg_media_t* size = cups.pwgMediaForPWG(lower.constData())) return size;
        if (const pwg_media_t* size = cups.pwgMediaForLegacy(lower.constData())) return size;
        return cups.pwgMediaForPPD(name.c_str());
    }

    // Whether the default printer has the size: a queue prints a size it
    // lacks on its own default paper. CUPS may answer with another size
    // (a custom one), which does not count; within a millimetre is the same.
    // A destination that lists no sizes (a class) is taken at its word.
    bool Offers(const pwg_media_t& size) const
    {
        cups_size_t offered{};
        return cups.cupsFindDestSupported(http.get(), printer.get(), info.get(), "media") == nullptr ||
               (cups.cupsGetDestMediaByName(http.get(), printer.get(), info.get(), size.pwg, CUPS_MEDIA_FLAGS_DEFAULT,
                                            &offered) != 0 &&
                std::abs(offered.width - size.width) <= 100 && std::abs(offered.length - size.length) <= 100);
    }

    // The first size that CUPS knows in a media option such as
    // "letter,upper", when the default printer has it.
    std::optional<QPageSize> NamedPaper(const char* media) const
    {
        if (media == nullptr) return std::nullopt;
        const std::string names = media;
        for (size_t begin = 0; begin < names.size();) {
            const size_t end = std::min(names.find(',', begin), names.size());
            if (const pwg_media_t* found = KnownSize(names.substr(begin, end - begin))) {
                // Copied first: libcups makes a custom size in a buffer that
                // its next look-up reuses.
                const std::string pwg = found->pwg;
                const pwg_media_t size{pwg.c_str(), nullptr, nullptr, found->width, found->length};
                return Offers(size) ? std::optional(Paper(size.width, size.length)) : std::nullopt;
            }
            begin = end + 1;
        }
        return std::nullopt;
    }

    // A queue's own default paper: the size of its media-col-default, or
    // else its media-default.
    std::optional<QPageSize> QueuePaper(cups_dest_t* dest, cups_dinfo_t* dinfo) const
    {
        ipp_attribute_t* col = cups.cupsFindDestDefault(http.get(), dest, dinfo, "media-col");
        ipp_t* media = col != nullptr ? cups.ippGetCollection(col, 0) : nullptr;
        ipp_attribute_t* size =
            media != nullptr ? cups.ippFindAttribute(media, "media-size", IPP_TAG_BEGIN_COLLECTION) : nullptr;
        ipp_t* dimensions = size != nullptr ? cups.ippGetCollection(size, 0) : nullptr;
        ipp_attribute_t* x =
            dimensions != nullptr ? cups.ippFindAttribute(dimensions, "x-dimension", IPP_TAG_INTEGER) : nullptr;
        ipp_attribute_t* y =
            dimensions != nullptr ? cups.ippFindAttribute(dimensions, "y-dimension", IPP_TAG_INTEGER) : nullptr;
        if (x != nullptr && y != nullptr && cups.ippGetInteger(x, 0) > 0 && cups.ippGetInteger(y, 0) > 0)
            return Paper(cups.ippGetInteger(x, 0), cups.ippGetInteger(y, 0));
        ipp_attribute_t* name = cups.cupsFindDestDefault(http.get(), dest, dinfo, "media");
        return NamedPaper(name != nullptr ? cups.ippGetString(name, 0, nullptr) : nullptr);
    }

    // The first member of the class that the default printer is, "" when
    // it is none or has none.
    std::string FirstMember() const
    {
        const char* type = Option("printer-type");
        const char* uri = Option("printer-uri-supported");
        if (type == nullptr || (std::atoi(type) & CUPS_PRINTER_CLASS) == 0 || uri == nullptr) return "";
        ipp_t* request = cups.ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
        cups.ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
        cups.ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr, "member-names");
        const std::unique_ptr<ipp_t, void (*)(ipp_t*)> answer(cups.cupsDoRequest(http.get(), request, "/"),
                                                              cups.ippDelete);
        ipp_attribute_t* members =
            answer != nullptr ? cups.ippFindAttribute(answer.get(), "member-names", IPP_TAG_NAME) : nullptr;
        const char* first = members != nullptr ? cups.ippGetString(members, 0, nullptr) : nullptr;
        return first != nullptr ? first : "";
    }

    // The paper that the job prints on: a size the queue has that the
    // destination's own options name (the user's lpoptions or instance), by
    // PageSize, which CUPS follows before media, then by media; else the
    // queue's default, else, for a class, its first member's; A4 when
    // nothing names a size.
    QPageSize DefaultPaper() const
    {
        for (const char* option : {"PageSize", "media"})
            if (std::optional<QPageSize> paper = NamedPaper(Option(option))) return *paper;
        if (std::optional<QPageSize> paper = QueuePaper(printer.get(), info.get())) return *paper;
        const std::string member = FirstMember();
        const auto dest = Dest(member.empty() ? nullptr : cups.cupsGetNamedDest(http.get(), member.c_str(), nullptr));
        const std::unique_ptr<cups_dinfo_t, void (*)(cups_dinfo_t*)> dinfo(
            dest != nullptr ? cups.cupsCopyDestInfo(http.get(), dest.get()) : nullptr, cups.cupsFreeDestInfo);
        if (dinfo != nullptr)
            if (std::optional<QPageSize> paper = QueuePaper(dest.get(), dinfo.get())) return *paper;
        return QPageSize(QPageSize::A4);
    }

    // Creates the job, sends pdf as its one document and finishes it, with
    // the destination's options as lp sends them. A job that was created but
    // not completed is cancelled.
    void Submit(const QByteArray& pdf)
    {
        int job = 0;
        if (!Succeeded(cups.cupsCreateDestJob(http.get(), printer.get(), info.get(), &job, "Orvanta",
                                              printer->num_options, printer->options)))
            throw PrintError(Failure(RefusedMessage));
        const bool sent =
            cups.cupsStartDestDocument(http.get(), printer.get(), info.get(), job, "Orvanta", CUPS_FORMAT_PDF,
                                       printer->num_options, printer->options, 1) == HTTP_STATUS_CONTINUE &&
            cups.cupsWriteRequestData(http.get(), pdf.constData(), size_t(pdf.size())) == HTTP_STATUS_CONTINUE;
        if (sent && Succeeded(cups.cupsFinishDestDocument(http.get(), printer.get(), info.get()))) return;
        const bool lost = cups.httpError(http.get()) != 0;
        // A refusal of the document says why, as one of the job does.
        const std::string why = !lost ? Failure(RefusedMessage) : TimedOut() ? NotAnsweringMessage : DroppedMessage;
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
    if (spooler.PrinterHoldsTheJob()) throw PrintError(HeldMessage(spooler.PrinterName()));
}

void PrintToPdfFile(const CalcState& state, const std::string& path)
{
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly)) throw PrintError("O arquivo " + path + " não pode ser gravado.");
    WritePdf(file, state, QPageSize(QPageSize::A4));
    if (!file.commit()) throw PrintError("O arquivo " + path + " não pode ser gravado.");
}
