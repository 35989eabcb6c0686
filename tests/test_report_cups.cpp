// SPDX-License-Identifier: GPL-3.0-or-later
// Printing on the default printer through a CUPS spooler. CTest runs each
// suite against a spooler of tests/cups/: PrivateSpooler with the queues of
// start.sh, whose spooler keeps every document it is sent, EmptySpooler
// with no printer at all, StoppedSpooler with CUPS_SERVER on a socket nobody
// serves.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSizeF>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "report/report.h"
#include "tests/test_report_example.h"
#include "tests/window_testing.h"
#include "window/form1.h"
#include "window/qt/form_window.h"

namespace {

using std::chrono::seconds;
using std::chrono::steady_clock;

// Runs a program to its end, for a minute at most, and gives its standard
// output. A program that cannot start, hangs or fails fails the test.
std::string RunTool(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    const bool finished = process.waitForStarted() && process.waitForFinished(60000);
    const QByteArray output = process.readAllStandardOutput();
    EXPECT_TRUE(finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0)
        << program.toStdString() << " " << arguments.join(' ').toStdString() << ": "
        << process.readAllStandardError().toStdString();
    if (!finished) process.kill();
    return output.toStdString();
}

// Reading the spooler's PDF back with poppler's tools.
int PdfPageCount(const std::string& pdf)
{
    const QString info = QString::fromStdString(RunTool("pdfinfo", {QString::fromStdString(pdf)}));
    const auto match = QRegularExpression("^Pages:\\s+(\\d+)$", QRegularExpression::MultilineOption).match(info);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

// The first page's width and height in points; 0 x 0 when unreadable.
QSizeF PdfPageSize(const std::string& pdf)
{
    const QString info = QString::fromStdString(RunTool("pdfinfo", {QString::fromStdString(pdf)}));
    const QRegularExpression pageSize("^Page size:\\s+([0-9.]+) x ([0-9.]+) pts", QRegularExpression::MultilineOption);
    const auto match = pageSize.match(info);
    return match.hasMatch() ? QSizeF(match.captured(1).toDouble(), match.captured(2).toDouble()) : QSizeF();
}

// The text lines as pdftotext -layout lays them out, blanks around each
// removed and empty lines left out.
std::vector<std::string> PdfTextLines(const std::string& pdf)
{
    const QString text = QString::fromStdString(RunTool("pdftotext", {"-layout", QString::fromStdString(pdf), "-"}));
    std::vector<std::string> lines;
    for (const QString& line : text.split(QRegularExpression("[\\n\\f]"))) {
        if (!line.trimmed().isEmpty()) lines.push_back(line.trimmed().toStdString());
    }
    return lines;
}

const std::string NotAnsweringMessage = "O serviço de impressão não está respondendo.";
const std::string DroppedMessage =
    "A conexão com o serviço de impressão caiu durante o envio, e o documento foi cancelado.";

std::string WaitingMessage(const std::string& printer)
{
    return "O documento aguarda na fila da impressora " + printer + ", que está parada.";
}

std::string UnreachableMessage(const std::string& server)
{
    return "O servidor de impressão " + server + " não pode ser alcançado.";
}

std::string Environment(const char* name)
{
    const std::string value = qEnvironmentVariable(name).toStdString();
    EXPECT_FALSE(value.empty()) << name << " is not set: run these tests through CTest";
    return value;
}

// Runs undo when the scope ends, however it ends: a failed assertion must
// not leave the shared spooler changed for the tests after it.
struct Undo {
    std::function<void()> undo;
    ~Undo() { undo(); }
};

// Sets an environment variable for the scope.
struct Setting {
    const char* name;
    QByteArray before = qgetenv(name);
    Setting(const char* variable, const QByteArray& value) : name(variable) { qputenv(name, value); }
    ~Setting() { before.isNull() ? qunsetenv(name) : qputenv(name, before); }
};

int OpenFileCount()
{
    return int(QDir("/proc/self/fd").entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System).size());
}

// Jobs that lpstat lists as "completed", "not-completed" or "all".
int JobCount(const QString& which)
{
    return int(QString::fromStdString(RunTool("lpstat", {"-W", which, "-o"})).count('\n'));
}

// The private spooler's folder of job files; it keeps each document it was
// sent as d<job>-001.
std::string SpoolFolder()
{
    return Environment("ORVANTA_CUPS_DIR") + "/spool";
}

QStringList DocumentsIn(const std::string& spool)
{
    return QDir(QString::fromStdString(spool)).entryList({"d*"}, QDir::Files);
}

// Prints the worked example twice, expecting both to fail, and gives the
// failure's text. Neither may leave anything behind: a file in the
// temporary folder, or an open file (the first attempt may load the CUPS
// client, which then stays).
std::string FailingPrint()
{
    QTemporaryDir temporary;
    EXPECT_TRUE(temporary.isValid());
    const Setting temporaryFolder("TMPDIR", temporary.path().toLocal8Bit());
    std::string messages[2];
    int openFiles[2];
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            PrintOnDefaultPrinter(WorkedExample());
            ADD_FAILURE() << "the report printed";
        } catch (const PrintError& e) {
            messages[attempt] = e.what();
        }
        openFiles[attempt] = OpenFileCount();
    }
    EXPECT_EQ(messages[1], messages[0]);
    EXPECT_EQ(openFiles[1], openFiles[0]);
    EXPECT_TRUE(QDir(temporary.path()).isEmpty()) << QDir(temporary.path()).entryList().join(' ').toStdString();
    return messages[0];
}

// Waits until the spooler has completed one more job than before, and gives
// the one new document it kept for it ("" when there is none).
std::string WaitForThePrintedPage(const std::string& spool, const QStringList& filesBefore, int completedBefore)
{
    const auto deadline = steady_clock::now() + seconds(90);
    while (steady_clock::now() < deadline &&
           !(JobCount("not-completed") == 0 && JobCount("completed") == completedBefore + 1))
        QThread::msleep(100);
    EXPECT_EQ(JobCount("not-completed"), 0);
    EXPECT_EQ(JobCount("completed"), completedBefore + 1);

    QStringList newFiles = DocumentsIn(spool);
    for (const QString& file : filesBefore) newFiles.removeAll(file);
    EXPECT_EQ(newFiles.size(), 1) << "files in " << spool << ": " << DocumentsIn(spool).join(' ').toStdString();
    return newFiles.size() == 1 ? QDir(QString::fromStdString(spool)).filePath(newFiles[0]).toStdString() : "";
}

// Expects the next job to complete with the worked example's page, whole.
struct ExpectOnePage {
    std::string spool = SpoolFolder();
    QStringList filesBefore = DocumentsIn(spool);
    int completedBefore = JobCount("completed");

    // The page as the spooler keeps it ("" when there is none).
    std::string Check()
    {
        const std::string pdf = WaitForThePrintedPage(spool, filesBefore, completedBefore);
        if (pdf.empty()) return pdf;
        EXPECT_EQ(PdfPageCount(pdf), 1);
        EXPECT_EQ(PdfTextLines(pdf), WorkedExampleTexts);
        return pdf;
    }
};

// The program's own road: the window with the default printer's report,
// the worked example calculated, message boxes recorded.
struct PrintingWindow {
    MessageRecorder recorder;
    Form1 form{PrintOnDefaultPrinter, recorder.Action()};

    PrintingWindow()
    {
        form.Window().show();
        form.Window().Combo2->setCurrentText("milimetros");
        form.Window().Text1->setText("1000");
        form.Window().Text2->setText("5");
        QTest::mouseClick(form.Window().Command1, Qt::LeftButton);
        EXPECT_EQ(form.Window().Text4->text(), "24");
    }

    // Presses "Imprimir" and gives the messages it showed. However printing
    // went, the window answers again within a generous bound, with its
    // record and the enabled button as they were.
    std::vector<std::string> PressImprimir()
    {
        const CalcState before = form.State();
        recorder.messages.clear();
        const auto start = steady_clock::now();
        QTest::mouseClick(form.Window().Command3, Qt::LeftButton);
        EXPECT_LT(steady_clock::now() - start, seconds(30));
        EXPECT_TRUE(form.Window().isVisible());
        EXPECT_TRUE(form.Window().Command3->isEnabled());
        EXPECT_EQ(form.State(), before);
        return recorder.Texts();
    }
};

TEST(PrivateSpooler, ImprimirInTheWindowPrintsOnePage)
{
    PrintingWindow window;
    ExpectOnePage page;
    EXPECT_EQ(window.PressImprimir(), std::vector<std::string>{});
    EXPECT_FALSE(page.Check().empty());
}

// Commands of the spooler's, run for the scope. Undone whatever they did:
// orvanta the default queue and accepting, no job left, no user lpoptions.
struct Commands {
    Undo undo{[] {
        RunTool("cupsaccept", {"orvanta"});
        RunTool("cancel", {"-a"});
        RunTool("lpadmin", {"-d", "orvanta"});
        QFile::remove(QString::fromStdString(Environment("HOME") + "/.cups/lpoptions"));
    }};
    explicit Commands(const std::vector<QStringList>& commands)
    {
        for (const QStringList& command : commands) RunTool(command[0], command.mid(1));
    }
};

// A print that fails, or whose job waits, says why, naming the server or
// printer, and makes no job but those that wait (FailingPrint prints twice).
TEST(PrivateSpooler, FailureSaysWhy)
{
    const std::string login =
        "O serviço de impressão deste computador pede autenticação, que o Orvanta não pode fornecer.";
    const std::string forbidden = "O servidor de impressão não permite que este usuário imprima na impressora ";
    const std::string missing = "A impressora padrão escolhida, orvanta-gone, não existe.";
    const struct {
        std::vector<QStringList> commands;
        const char* lpdest;
        std::string message;
        int jobsMade;
        const char* user = nullptr;  // CUPS_USER: a name no account has, which the socket's peer is not
    } cases[] = {
        {{{"cupsreject", "orvanta"}}, nullptr, "A impressora recusou o documento.", 0},
        {{{"lpadmin", "-d", "orvanta-locked"}}, nullptr, login, 0, "orvanta-stranger"},  // Get-Printer-Attributes
        {{{"lpadmin", "-d", "orvanta-login"}}, nullptr, login, 0, "orvanta-stranger"},   // Create-Job
        {{{"lpadmin", "-d", "orvanta-locked"}}, nullptr, forbidden + "orvanta-locked.", 0},
        {{{"lpadmin", "-d", "orvanta-login"}}, nullptr, forbidden + "orvanta-login.", 0},
        // Send-Document, the job made then cancelled.
        {{{"lpadmin", "-d", "orvanta-login-document"}}, nullptr, login, 2},
        {{{"lpadmin", "-d", "orvanta-no-document"}}, nullptr, forbidden + "orvanta-no-document.", 2},
        {{}, "orvanta-gone", missing, 0},
        {{{"lpadmin", "-p", "orvanta-gone", "-E", "-v", "file:///dev/null"},
          {"lpoptions", "-d", "orvanta-gone"},
          {"lpadmin", "-x", "orvanta-gone"}},
         nullptr,
         missing,
         0},
        {{{"lpadmin", "-d", "orvanta-held"}},
         nullptr,
         "O documento aguarda na fila da impressora orvanta-held, que retém os novos trabalhos.",
         2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        const int jobsBefore = JobCount("all");
        const Commands commands(c.commands);
        const auto destination = c.lpdest != nullptr ? std::make_unique<Setting>("LPDEST", c.lpdest) : nullptr;
        const auto user = c.user != nullptr ? std::make_unique<Setting>("CUPS_USER", c.user) : nullptr;
        EXPECT_EQ(FailingPrint(), c.message);
        EXPECT_EQ(JobCount("all"), jobsBefore + c.jobsMade);
    }
}

// The page is made in memory: a temporary folder that is missing, or that
// cannot take a file, changes nothing, and nothing is written to it.
TEST(PrivateSpooler, NothingGoesThroughTheTemporaryFolder)
{
    QTemporaryDir scratch;
    ASSERT_TRUE(scratch.isValid());
    const QString readOnly = scratch.filePath("read-only");
    ASSERT_TRUE(QDir().mkdir(readOnly));
    ASSERT_TRUE(QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::ExeOwner));
    const Undo writable{
        [&] { QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner); }};

    for (const QString& folder : {scratch.filePath("missing"), readOnly}) {
        SCOPED_TRACE(folder.toStdString());
        ExpectOnePage page;
        {
            const Setting temporaryFolder("TMPDIR", folder.toLocal8Bit());
            PrintOnDefaultPrinter(WorkedExample());
        }
        EXPECT_FALSE(page.Check().empty());
        EXPECT_TRUE(QDir(folder).isEmpty()) << QDir(folder).entryList().join(' ').toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(scratch.filePath("missing")));
}

// The page comes out on the paper that the job prints on, the text on it
// as on A4: the size of the user's own PageSize option (lpoptions, or a
// default instance), else of the media option, that the queue has, else the
// queue's default, else, for a class, its first member's. The job carries
// the user's options.
TEST(PrivateSpooler, DefaultPrintersPaper)
{
    const struct {
        std::vector<QStringList> commands;
        double width, height;  // points
        const char* jobCarries = nullptr;
    } papers[] = {
        {{{"lpadmin", "-d", "orvanta-letter"}}, 612, 792},
        {{}, 595.3, 841.9},
        {{{"lpadmin", "-d", "orvanta-class"}}, 612, 792},
        {{{"lpadmin", "-d", "orvanta-everywhere"}}, 612, 792},
        {{{"lpoptions", "-p", "orvanta", "-o", "media=Letter"}}, 612, 792},
        {{{"lpoptions", "-p", "orvanta", "-o", "media=letter"}}, 612, 792},  // lp's names are in lower case
        {{{"lpoptions", "-p", "orvanta", "-o", "media=legal"}}, 612, 1008},
        {{{"lpoptions", "-d", "orvanta-letter", "-o", "media=a4"}}, 595.3, 841.9},
        {{{"lpoptions", "-p", "orvanta/draft", "-o", "media=legal"}, {"lpoptions", "-d", "orvanta/draft"}}, 612, 1008},
        {{{"lpoptions", "-p", "orvanta/draft", "-o", "media=letter"}, {"lpoptions", "-d", "orvanta/draft"}}, 612, 792},
        {{{"lpoptions", "-p", "orvanta-letter/draft", "-o", "media=a4"}, {"lpoptions", "-d", "orvanta-letter/draft"}},
         595.3,
         841.9},
        {{{"lpoptions", "-p", "orvanta/draft", "-o", "media=na_letter_8.5x11in", "-o", "print-quality=3"},
          {"lpoptions", "-d", "orvanta/draft"}},
         612,
         792,
         "print-quality"},
        {{{"lpoptions", "-p", "orvanta", "-o", "PageSize=A5"}}, 419.5, 595.3},  // the text made to fit
        {{{"lpoptions", "-p", "orvanta", "-o", "PageSize=Letter"}}, 612, 792},
        {{{"lpoptions", "-d", "orvanta-letter", "-o", "PageSize=A4"}}, 595.3, 841.9},
        {{{"lpoptions", "-p", "orvanta", "-o", "media=A5", "-o", "PageSize=Legal"}}, 612, 1008},
        // Sizes that the queue lacks.
        {{{"lpoptions", "-p", "orvanta", "-o", "media=4x6"}}, 595.3, 841.9},
        {{{"lpoptions", "-d", "orvanta-letter", "-o", "PageSize=Custom.100x150mm"}}, 612, 792},
        {{{"lpoptions", "-d", "orvanta-letter", "-o", "media=oe_photo-l_3.5x5in"}}, 612, 792},
    };
    for (const auto& paper : papers) {
        SCOPED_TRACE(&paper - papers);
        const Commands commands(paper.commands);
        ExpectOnePage page;
        PrintOnDefaultPrinter(WorkedExample());
        const std::string pdf = page.Check();
        ASSERT_FALSE(pdf.empty());
        const QSizeF size = PdfPageSize(pdf);
        EXPECT_NEAR(size.width(), paper.width, 0.5);
        EXPECT_NEAR(size.height(), paper.height, 0.5);
        // The spooler keeps the job's attributes as c<job> beside d<job>-001.
        if (paper.jobCarries != nullptr) {
            const QFileInfo document(QString::fromStdString(pdf));
            QFile control(document.dir().filePath("c" + document.fileName().mid(1).section('-', 0, 0)));
            EXPECT_TRUE(control.open(QIODevice::ReadOnly) && control.readAll().contains(paper.jobCarries));
        }
    }
}

// Passes connections to the spooler on and breaks them 4 KiB into the
// document (tests/cups/upload_proxy.py), for as long as it lives.
struct BreakingProxy {
    QString socket = QString::fromStdString(Environment("ORVANTA_CUPS_DIR") + "/breaking.sock");
    QProcess process;

    explicit BreakingProxy(const QString& mode)
    {
        QFile::remove(socket);
        process.start("python3", {QString::fromStdString(Environment("ORVANTA_UPLOAD_PROXY")), mode, socket,
                                  QString::fromStdString(Environment("CUPS_SERVER"))});
        EXPECT_TRUE(process.waitForReadyRead(30000)) << process.readAllStandardError().toStdString();
        EXPECT_EQ(process.readLine().trimmed(), "ready");
    }
    ~BreakingProxy()
    {
        process.kill();
        process.waitForFinished();
        QFile::remove(socket);
    }
};

// The connections of a print go through a proxy that breaks the upload.
struct ThroughBreakingProxy {
    BreakingProxy proxy;
    Setting server{"CUPS_SERVER", proxy.socket.toLocal8Bit()};
    explicit ThroughBreakingProxy(const QString& mode) : proxy(mode) {}
};

// A print the spooler breaks off is said, holds the window only a few
// seconds and leaves no job waiting: an upload dropped or stalled 4 KiB into
// the document (its job made, then cancelled), or a spooler that has stopped
// answering (SIGSTOP) before any job is made. The next press prints normally.
TEST(PrivateSpooler, PrintBrokenOffIsSaidAndLeavesNoJobWaiting)
{
    QFile pidFile(QString::fromStdString(Environment("ORVANTA_CUPS_DIR") + "/cupsd.pid"));
    ASSERT_TRUE(pidFile.open(QIODevice::ReadOnly));
    const pid_t spooler = pid_t(pidFile.readAll().trimmed().toInt());
    ASSERT_GT(spooler, 0);
    const struct {
        const char* how;
        std::function<std::shared_ptr<void>()> breakOff;  // until the result goes
        std::string message;
        int jobsMade;
    } cases[] = {
        {"upload dropped", [] { return std::make_shared<ThroughBreakingProxy>("drop"); }, DroppedMessage, 1},
        {"upload stalled", [] { return std::make_shared<ThroughBreakingProxy>("stall"); }, NotAnsweringMessage, 1},
        {"spooler stopped",
         [spooler] {
             EXPECT_EQ(kill(spooler, SIGSTOP), 0);
             return std::shared_ptr<void>(nullptr, [spooler](void*) { kill(spooler, SIGCONT); });
         },
         NotAnsweringMessage, 0},
    };
    PrintingWindow window;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        const int jobsBefore = JobCount("all");
        {
            const std::shared_ptr<void> broken = c.breakOff();
            EXPECT_EQ(window.PressImprimir(), std::vector<std::string>{c.message});
        }
        EXPECT_EQ(JobCount("all"), jobsBefore + c.jobsMade);
        EXPECT_EQ(JobCount("not-completed"), 0);

        ExpectOnePage page;
        EXPECT_EQ(window.PressImprimir(), std::vector<std::string>{});
        EXPECT_FALSE(page.Check().empty());
    }
}

// A paused default printer still gets the job, and the user learns that it
// waits; resumed, the printer prints it once.
TEST(PrivateSpooler, PausedPrinterKeepsTheJobAndSaysSo)
{
    PrintingWindow window;
    ExpectOnePage page;
    const int waitingBefore = JobCount("not-completed");
    {
        RunTool("cupsdisable", {"orvanta"});
        const Undo resume{[] { RunTool("cupsenable", {"orvanta"}); }};
        EXPECT_EQ(window.PressImprimir(), std::vector<std::string>{WaitingMessage("orvanta")});
        EXPECT_EQ(JobCount("not-completed"), waitingBefore + 1);
    }
    EXPECT_FALSE(page.Check().empty());
}

// A printer whose backend fails is stopped by CUPS; the next job waits in
// its queue, and the user is told.
TEST(PrivateSpooler, PrinterStoppedByAFailedBackendSaysSo)
{
    PrintingWindow window;
    RunTool("lpadmin", {"-d", "orvanta-failing"});
    const Undo restore{[] {
        RunTool("cancel", {"-a", "orvanta-failing"});
        RunTool("cupsenable", {"orvanta-failing"});
        RunTool("lpadmin", {"-d", "orvanta"});
    }};
    const int waitingBefore = JobCount("not-completed");

    EXPECT_EQ(window.PressImprimir(), std::vector<std::string>{});
    const auto deadline = steady_clock::now() + seconds(60);
    while (steady_clock::now() < deadline &&
           RunTool("lpstat", {"-p", "orvanta-failing"}).find("disabled") == std::string::npos)
        QThread::msleep(100);
    ASSERT_NE(RunTool("lpstat", {"-p", "orvanta-failing"}).find("disabled"), std::string::npos);

    EXPECT_EQ(window.PressImprimir(), std::vector<std::string>{WaitingMessage("orvanta-failing")});
    EXPECT_EQ(JobCount("not-completed"), waitingBefore + 2);
}

TEST(EmptySpooler, NoDefaultPrinterIsAPrintError)
{
    ASSERT_NE(RunTool("lpstat", {"-r"}).find("is running"), std::string::npos);
    EXPECT_EQ(FailingPrint(), "Nenhuma impressora padrão está instalada.");
}

TEST(StoppedSpooler, UnreachableSpoolerIsAPrintError)
{
    // Never a real spooler: the socket must not exist.
    const std::string server = Environment("CUPS_SERVER");
    ASSERT_FALSE(server.empty());
    ASSERT_FALSE(QFileInfo::exists(QString::fromStdString(server))) << server;
    EXPECT_EQ(FailingPrint(), "O serviço de impressão não está disponível.");
}

// A listening TCP socket on the loopback that never accepts, its backlog
// full: a connection to it waits as one to a server that does not answer.
struct DeafServer {
    int listener = socket(AF_INET, SOCK_STREAM, 0);
    std::vector<int> waiting;
    int port = 0;

    DeafServer()
    {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        const auto any = reinterpret_cast<sockaddr*>(&address);
        EXPECT_EQ(bind(listener, any, size), 0);
        EXPECT_EQ(listen(listener, 0), 0);
        EXPECT_EQ(getsockname(listener, any, &size), 0);
        port = ntohs(address.sin_port);
        for (int i = 0; i < 3; ++i) {
            waiting.push_back(socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0));
            connect(waiting.back(), any, size);
        }
    }
    ~DeafServer()
    {
        for (int fd : waiting) close(fd);
        close(listener);
    }
};

TEST(StoppedSpooler, ServerOutOfReachIsNamed)
{
    const DeafServer deaf;
    const struct {
        const char* what;
        std::string server;
        std::string message;
    } cases[] = {
        {"a name that cannot be resolved", "impressoras.escritorio.invalid",
         UnreachableMessage("impressoras.escritorio.invalid")},
        {"an address that does not answer", "127.0.0.1:" + std::to_string(deaf.port), UnreachableMessage("127.0.0.1")},
    };
    PrintingWindow window;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Setting server("CUPS_SERVER", QByteArray::fromStdString(c.server));
        EXPECT_EQ(window.PressImprimir(), std::vector<std::string>{c.message});
    }
}

}  // namespace
