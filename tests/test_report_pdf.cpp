// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/test_report_pdf.h"

#include <gtest/gtest.h>

#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QXmlStreamReader>

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

int PdfPageCount(const std::string& pdf)
{
    const QString info = QString::fromStdString(RunTool("pdfinfo", {QString::fromStdString(pdf)}));
    const auto match = QRegularExpression("^Pages:\\s+(\\d+)$", QRegularExpression::MultilineOption).match(info);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

QSizeF PdfPageSize(const std::string& pdf)
{
    const QString info = QString::fromStdString(RunTool("pdfinfo", {QString::fromStdString(pdf)}));
    const QRegularExpression pageSize("^Page size:\\s+([0-9.]+) x ([0-9.]+) pts", QRegularExpression::MultilineOption);
    const auto match = pageSize.match(info);
    return match.hasMatch() ? QSizeF(match.captured(1).toDouble(), match.captured(2).toDouble()) : QSizeF();
}

std::vector<std::string> PdfTextLines(const std::string& pdf)
{
    const QString text = QString::fromStdString(RunTool("pdftotext", {"-layout", QString::fromStdString(pdf), "-"}));
    std::vector<std::string> lines;
    for (const QString& line : text.split(QRegularExpression("[\\n\\f]"))) {
        if (!line.trimmed().isEmpty()) lines.push_back(line.trimmed().toStdString());
    }
    return lines;
}

std::vector<std::string> PdfFontNames(const std::string& pdf)
{
    const QString table = QString::fromStdString(RunTool("pdffonts", {QString::fromStdString(pdf)}));
    std::vector<std::string> names;
    // Two heading lines, then one font a line with its name first.
    for (const QString& line : table.split('\n').mid(2)) {
        if (!line.trimmed().isEmpty())
            names.push_back(line.section(' ', 0, 0, QString::SectionSkipEmpty).toStdString());
    }
    return names;
}

PdfWords ReadPdfWords(const std::string& pdf)
{
    QXmlStreamReader xml(QByteArray::fromStdString(RunTool("pdftotext", {"-bbox", QString::fromStdString(pdf), "-"})));
    PdfWords result;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        const auto a = xml.attributes();
        if (xml.name() == u"page") {
            result.pageWidth = a.value("width").toDouble();
        } else if (xml.name() == u"word") {
            PdfWord word{{},
                         a.value("xMin").toDouble(),
                         a.value("yMin").toDouble(),
                         a.value("xMax").toDouble(),
                         a.value("yMax").toDouble()};
            word.text = xml.readElementText().toStdString();
            result.words.push_back(word);
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return result;
}

std::vector<PdfTextRun> PdfTextRuns(const std::string& pdf)
{
    QXmlStreamReader xml(QByteArray::fromStdString(
        RunTool("pdftohtml", {"-xml", "-i", "-stdout", "-zoom", "1", QString::fromStdString(pdf)})));
    QMap<QString, std::pair<std::string, int>> fonts;  // id -> family, size
    std::vector<PdfTextRun> runs;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        const auto a = xml.attributes();
        if (xml.name() == u"fontspec") {
            fonts[a.value("id").toString()] = {a.value("family").toString().toStdString(), a.value("size").toInt()};
        } else if (xml.name() == u"text") {
            const auto& [family, size] = fonts.value(a.value("font").toString());
            PdfTextRun run{{}, family, size, false};
            // Bold text comes wrapped in <b>.
            while (xml.readNext() != QXmlStreamReader::EndElement || xml.name() != u"text") {
                if (xml.isStartElement() && xml.name() == u"b")
                    run.bold = true;
                else if (xml.isCharacters())
                    run.text += xml.text().toString().toStdString();
            }
            runs.push_back(run);
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return runs;
}
