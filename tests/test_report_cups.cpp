// SPDX-License-Identifier: GPL-3.0-or-later
// Printing on the default printer through a CUPS spooler. CTest runs each
// suite against a spooler of tests/cups/: PrivateSpooler with a default
// printer whose spooler keeps every document it is sent, EmptySpooler with
// no printer at all, StoppedSpooler with CUPS_SERVER on a socket nobody
// serves.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

#include <chrono>
#include <string>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "tests/window_testing.h"
#include "window/form1.h"
#include "report/report.h"
#include "window/toolkit.h"
#include "tests/test_report_example.h"
#include "tests/test_report_pdf.h"

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

// Waits until the spooler has completed one more job than before, and gives
// the one new document it kept for it ("" when there is none).
std::string WaitForThePrintedPage(const std::string& spool, const QStringList& filesBefore, int completedBefore)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(90);
    while (std::chrono::steady_clock::now() < deadline &&
           !(JobCount("not-completed") == 0 && JobCount("completed") == completedBefore + 1))
        QThread::msleep(100);
    EXPECT_EQ(JobCount("not-completed"), 0);
    EXPECT_EQ(JobCount("completed"), completedBefore + 1);

    QStringList newFiles = DocumentsIn(spool);
    for (const QString& file : filesBefore)
        newFiles.removeAll(file);
    EXPECT_EQ(newFiles.size(), 1) << "files in " << spool << ": " << DocumentsIn(spool).join(' ').toStdString();
    return newFiles.size() == 1 ? QDir(QString::fromStdString(spool)).filePath(newFiles[0]).toStdString() : "";
}

TEST(PrivateSpooler, PrintsOnePageThatCompletes)
{
    const std::string spool = SpoolFolder();
    const QStringList filesBefore = DocumentsIn(spool);
    const int completedBefore = JobCount("completed");

    PrintOnDefaultPrinter(WorkedExample());

    const std::string pdf = WaitForThePrintedPage(spool, filesBefore, completedBefore);
    ASSERT_FALSE(pdf.empty());
    EXPECT_EQ(PdfPageCount(pdf), 1);
    EXPECT_EQ(PdfTextLines(pdf), WorkedExampleTexts);
}

// The program's own road: the window with the default printer's report,
// the worked example calculated, message boxes recorded.
struct PrintingWindow {
    MessageRecorder recorder;
    Form1 form{PrintOnDefaultPrinter, recorder.Action()};

    PrintingWindow()
    {
        form.show();
        form.Combo2->setCurrentText("milimetros");
        form.Text1->setText("1000");
        form.Text2->setText("5");
        QTest::mouseClick(form.Command1, Qt::LeftButton);
    }
};

TEST(PrivateSpooler, ImprimirInTheWindowPrintsOnePage)
{
    const std::string spool = SpoolFolder();
    PrintingWindow window;
    ASSERT_EQ(window.form.Text4->text(), "24");
    const QStringList filesBefore = DocumentsIn(spool);
    const int completedBefore = JobCount("completed");

    QTest::mouseClick(window.form.Command3, Qt::LeftButton);

    EXPECT_TRUE(window.recorder.messages.empty());
    const std::string pdf = WaitForThePrintedPage(spool, filesBefore, completedBefore);
    ASSERT_FALSE(pdf.empty());
    EXPECT_EQ(PdfPageCount(pdf), 1);
    EXPECT_EQ(PdfTextLines(pdf), WorkedExampleTexts);
    EXPECT_TRUE(window.form.Command3->isEnabled());
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

TEST(StoppedSpooler, ImprimirInTheWindowShowsTheFailureAndGoesOn)
{
    PrintingWindow window;
    ASSERT_EQ(window.form.Text4->text(), "24");
    const CalcState before = window.form.State();

    QTest::mouseClick(window.form.Command3, Qt::LeftButton);

    EXPECT_EQ(window.recorder.Texts(), std::vector<std::string>{"O serviço de impressão não está disponível."});
    EXPECT_TRUE(window.form.isVisible());
    EXPECT_TRUE(window.form.Command3->isEnabled());
    EXPECT_EQ(window.form.State(), before);
    // Still usable: another calculation goes through.
    window.form.Text2->setText("10");
    QTest::mouseClick(window.form.Command1, Qt::LeftButton);
    EXPECT_EQ(window.form.Text4->text(), "48");
}

} // namespace
