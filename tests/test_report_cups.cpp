// Printing on the default printer through a CUPS spooler. CTest runs each
// suite against a spooler of tests/cups/: PrivateSpooler with a cups-pdf
// default printer writing into ORVANTA_CUPS_OUT, EmptySpooler with no
// printer at all, StoppedSpooler with CUPS_SERVER on a socket nobody serves.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

#include <chrono>
#include <string>

#include "report.h"
#include "test_report_example.h"
#include "test_report_pdf.h"

namespace {

std::string Environment(const char* name)
{
    const std::string value = qEnvironmentVariable(name).toStdString();
    EXPECT_FALSE(value.empty()) << name << " is not set: run these tests through CTest";
    return value;
}

int OpenFileCount()
{
    return int(QDir("/proc/self/fd").entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System).size());
}

// Jobs that lpstat lists as "completed", "not-completed" or "all".
int JobCount(const QString& which)
{
    return int(QString::fromStdString(RunTool("lpstat", {"-W", which, "-o"})).count('\n'));
}

QStringList PdfFilesIn(const std::string& dir)
{
    return QDir(QString::fromStdString(dir)).entryList({"*.pdf"}, QDir::Files);
}

// Prints the worked example twice, expecting both to fail, and gives the
// failure's text. Neither may leave anything behind: a file of Qt's or
// CUPS's in the temporary folder, or an open file (the first attempt may
// open the connection to the spooler that CUPS then keeps).
std::string FailingPrint()
{
    QTemporaryDir temporary;
    EXPECT_TRUE(temporary.isValid());
    const QByteArray oldTemporary = qgetenv("TMPDIR");
    qputenv("TMPDIR", temporary.path().toLocal8Bit());
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
    qputenv("TMPDIR", oldTemporary);
    EXPECT_EQ(messages[1], messages[0]);
    EXPECT_EQ(openFiles[1], openFiles[0]);
    EXPECT_TRUE(QDir(temporary.path()).isEmpty()) << QDir(temporary.path()).entryList().join(' ').toStdString();
    return messages[0];
}

TEST(PrivateSpooler, PrintsOnePageThatCompletes)
{
    const std::string out = Environment("ORVANTA_CUPS_OUT");
    ASSERT_FALSE(out.empty());
    const QStringList filesBefore = PdfFilesIn(out);
    const int completedBefore = JobCount("completed");

    PrintOnDefaultPrinter(WorkedExample());

    // cups-pdf writes the file before the job completes.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(90);
    while (std::chrono::steady_clock::now() < deadline &&
           !(JobCount("not-completed") == 0 && JobCount("completed") == completedBefore + 1))
        QThread::msleep(100);
    EXPECT_EQ(JobCount("not-completed"), 0);
    EXPECT_EQ(JobCount("completed"), completedBefore + 1);

    QStringList newFiles = PdfFilesIn(out);
    for (const QString& file : filesBefore)
        newFiles.removeAll(file);
    ASSERT_EQ(newFiles.size(), 1) << "files in " << out << ": " << PdfFilesIn(out).join(' ').toStdString();
    const std::string pdf = QDir(QString::fromStdString(out)).filePath(newFiles[0]).toStdString();
    EXPECT_EQ(PdfPageCount(pdf), 1);
    EXPECT_EQ(PdfTextLines(pdf), WorkedExampleTexts);
}

TEST(PrivateSpooler, RefusedJobIsAPrintError)
{
    RunTool("cupsreject", {"orvanta"});
    const int jobsBefore = JobCount("all");
    EXPECT_EQ(FailingPrint(), "A impressora recusou o documento.");
    EXPECT_EQ(JobCount("all"), jobsBefore);
    RunTool("cupsaccept", {"orvanta"});
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

} // namespace
