// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/report.h"

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "report/print_messages.h"
#include "report/print_report.h"
#include "win32/system_library.h"
#include "win32/text.h"

namespace {

// The message for a spooler call that failed with error (GetLastError()):
// the print spooler service out of reach, a printer that is not there, one
// this user may not print on (named when known), or else the printer
// refusing the document.
std::string SpoolerFailureMessage(DWORD error, const std::wstring& printer)
{
    switch (error) {
    case RPC_S_SERVER_UNAVAILABLE:
    case RPC_S_SERVER_TOO_BUSY:
    case RPC_S_CALL_FAILED:
    case RPC_S_CALL_FAILED_DNE:
    case EPT_S_NOT_REGISTERED:
    case ERROR_SERVICE_NOT_ACTIVE: return NoSpoolerMessage;
    case ERROR_INVALID_PRINTER_NAME:
    case ERROR_FILE_NOT_FOUND: return NoPrinterMessage;
    case ERROR_ACCESS_DENIED: return ForbiddenMessage(Utf8(printer));
    default: return RefusedMessage;
    }
}

// True when Windows reports the printer (PRINTER_INFO_2's Status and
// Attributes) as paused or offline: a job sent to it waits in its queue.
bool PrinterStopped(DWORD status, DWORD attributes)
{
    return (status & (PRINTER_STATUS_PAUSED | PRINTER_STATUS_OFFLINE)) != 0 ||
           (attributes & PRINTER_ATTRIBUTE_WORK_OFFLINE) != 0;
}

[[noreturn]] void ThrowSpoolerFailure(const std::wstring& printer = {})
{
    throw PrintError(SpoolerFailureMessage(GetLastError(), printer));
}

// The spooler client's functions this program calls. winspool.drv is loaded
// at the first print, as the Linux build loads libcups: imported, it would
// load with the program, and under Wine it asks the print server for its
// printers as it loads, holding the window back for as long as the server
// does not answer.
struct Spooler {
    HMODULE library = LoadSystemLibrary(L"winspool.drv");
    int missing = library == nullptr ? 1 : 0;

    template <class Function>
    Function Find(const char* name)
    {
        const auto found = FindFunction<Function>(library, name);
        missing += found == nullptr ? 1 : 0;
        return found;
    }
#define ORVANTA_SPOOLER_FUNCTION(name) decltype(&::name) name = Find<decltype(&::name)>(#name)
    ORVANTA_SPOOLER_FUNCTION(GetDefaultPrinterW);
    ORVANTA_SPOOLER_FUNCTION(OpenPrinterW);
    ORVANTA_SPOOLER_FUNCTION(ClosePrinter);
    ORVANTA_SPOOLER_FUNCTION(GetPrinterW);
#undef ORVANTA_SPOOLER_FUNCTION
};

const Spooler& LoadSpooler()
{
    static const Spooler spooler;
    if (spooler.missing != 0) throw PrintError(NoSpoolerMessage);
    return spooler;
}

// The default printer's name, as the user's settings give it.
std::wstring DefaultPrinterName()
{
    const Spooler& spooler = LoadSpooler();
    DWORD size = 0;
    if (!spooler.GetDefaultPrinterW(nullptr, &size) && GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
        // ERROR_FILE_NOT_FOUND: no default printer is set.
        ThrowSpoolerFailure();
    }
    std::wstring name(size, L'\0');
    if (!spooler.GetDefaultPrinterW(name.data(), &size)) ThrowSpoolerFailure();
    name.resize(size > 0 ? size - 1 : 0);  // size counts the terminating NUL
    return name;
}

struct PrinterClose {
    void operator()(HANDLE printer) const { LoadSpooler().ClosePrinter(printer); }
};
using PrinterHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, PrinterClose>;

struct DcDelete {
    void operator()(HDC dc) const { DeleteDC(dc); }
};
using DcHandle = std::unique_ptr<std::remove_pointer_t<HDC>, DcDelete>;

struct FontDelete {
    void operator()(HFONT font) const { DeleteObject(font); }
};
using FontHandle = std::unique_ptr<std::remove_pointer_t<HFONT>, FontDelete>;

PrinterHandle OpenNamedPrinter(const std::wstring& name)
{
    HANDLE printer = nullptr;
    if (!LoadSpooler().OpenPrinterW(const_cast<wchar_t*>(name.c_str()), &printer, nullptr)) {
        ThrowSpoolerFailure(name);
    }
    return PrinterHandle(printer);
}

// True when Windows reports the printer paused or offline.
bool IsStopped(HANDLE printer)
{
    const Spooler& spooler = LoadSpooler();
    DWORD size = 0;
    spooler.GetPrinterW(printer, 2, nullptr, 0, &size);
    if (size == 0) return false;
    // PRINTER_INFO_2 and the strings it points at, suitably aligned.
    std::vector<PRINTER_INFO_2W> info(size / sizeof(PRINTER_INFO_2W) + 1);
    if (!spooler.GetPrinterW(printer, 2, reinterpret_cast<BYTE*>(info.data()), DWORD(info.size() * sizeof(info[0])),
                             &size))
        return false;
    return PrinterStopped(info[0].Status, info[0].Attributes);
}

// The document from StartDocW to EndDoc on a printer's device context; one
// that did not end is aborted, so that no half page stays in the queue.
class Document {
public:
    Document(HDC dc, const std::wstring& printer) : printer(printer), dc_(dc) {}
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;
    ~Document()
    {
        if (open_) AbortDoc(dc_);
    }

    // False when the user cancelled the printer's own dialog (a printer
    // that asks for a file name, "Microsoft Print to PDF"); throws on any
    // other failure. The dialog runs the window's messages meanwhile: the
    // window's behaviour keeps a second print, a clear or a close for after
    // this one.
    bool Start()
    {
        DOCINFOW info{};
        info.cbSize = sizeof(info);
        info.lpszDocName = L"Orvanta";
        if (StartDocW(dc_, &info) > 0) {
            open_ = true;
            return true;
        }
        if (GetLastError() == ERROR_CANCELLED) return false;
        Fail();
    }

    void End()
    {
        open_ = false;
        if (EndDoc(dc_) <= 0) Fail();
    }

    // The last spooler call's failure, on this printer.
    [[noreturn]] void Fail() const { ThrowSpoolerFailure(printer); }

    const std::wstring printer;

private:
    HDC dc_;
    bool open_ = false;
};

// The report's printer operations on a GDI page. The page's 850 units
// across span the printable area (HORZRES); lines flow down from its top at
// the font's line height, so only the horizontal scale is of use. The font
// is sized in points on paper: 12 points stay 12 points whatever the
// printer's resolution.
struct GdiPrinter {
    HDC dc;
    Document& document;
    std::wstring fontName{};
    int fontPoints = 12;
    bool bold = false;
    FontHandle font{};
    double pageLeft = 0;
    double pixelsPerUnit = 1;
    int x = 0;
    int y = 0;
    bool pageStarted = false;

    GdiPrinter(HDC printerDc, Document& doc) : dc(printerDc), document(doc) {}
    GdiPrinter(const GdiPrinter&) = delete;
    GdiPrinter& operator=(const GdiPrinter&) = delete;
    // A font still selected into a device context cannot be deleted.
    ~GdiPrinter() { SelectObject(dc, GetStockObject(SYSTEM_FONT)); }

    // (mode, left, top, right, bottom); the mode has no meaning here.
    void PageCoordinates(int, int left, int, int right, int)
    {
        pageLeft = left;
        pixelsPerUnit = GetDeviceCaps(dc, HORZRES) / double(right - left);
    }

    void FontName(std::string_view name)
    {
        fontName = Wide(name);
        font.reset();
    }

    void FontSize(int points)
    {
        fontPoints = points;
        font.reset();
    }

    void Emphasis(bool on)
    {
        bold = on;
        font.reset();
    }

    void PrintPosition(int across) { x = int((across - pageLeft) * pixelsPerUnit + 0.5); }

    void PrintLine()
    {
        Begin();
        NewLine();
    }

    void PrintLine(std::string_view text)
    {
        Begin();
        const std::wstring wide = Wide(text);
        if (!TextOutW(dc, x, y, wide.c_str(), int(wide.size()))) document.Fail();
        NewLine();
    }

    void EndDocument()
    {
        if (pageStarted && EndPage(dc) <= 0) document.Fail();
        pageStarted = false;
        document.End();
    }

    // The page begins with its first print; the font is made when first
    // used after a change.
    void Begin()
    {
        if (!pageStarted) {
            if (StartPage(dc) <= 0) document.Fail();
            pageStarted = true;
        }
        if (font == nullptr) {
            SelectObject(dc, GetStockObject(SYSTEM_FONT));
            font.reset(CreateFontW(-MulDiv(fontPoints, GetDeviceCaps(dc, LOGPIXELSY), 72), 0, 0, 0,
                                   bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                   CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, fontName.c_str()));
            if (font == nullptr) throw PrintError(RefusedMessage);
            SelectObject(dc, font.get());
        }
    }

    void NewLine()
    {
        TEXTMETRICW metrics{};
        if (!GetTextMetricsW(dc, &metrics)) document.Fail();
        x = 0;
        y += metrics.tmHeight + metrics.tmExternalLeading;
    }
};

}  // namespace

void PrintOnDefaultPrinter(const CalcState& state)
{
    const std::wstring name = DefaultPrinterName();
    // Opened first: it tells a spooler that is not running from a printer
    // that is not there, which CreateDCW does not.
    const PrinterHandle printer = OpenNamedPrinter(name);
    const DcHandle dc(CreateDCW(L"WINSPOOL", name.c_str(), nullptr, nullptr));
    if (dc == nullptr) ThrowSpoolerFailure(name);

    Document document(dc.get(), name);
    if (!document.Start()) return;  // cancelled by the user: not an error
    GdiPrinter page(dc.get(), document);
    PrintReport(page, state, UserDecimalSeparator());

    // The job is queued; a paused or offline printer will not print it yet.
    if (IsStopped(printer.get())) throw PrintError(WaitingMessage(Utf8(name)));
}
