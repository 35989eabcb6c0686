// SPDX-License-Identifier: GPL-3.0-or-later
// The real printer layer, writing the worked example's page into a PDF file
// that poppler's tools then read back.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>

#include "report/cups/pdf_file.h"
#include "report/report.h"
#include "tests/test_report_example.h"
#include "tests/test_report_pdf.h"

namespace {

std::string RenderWorkedExample(const QTemporaryDir& dir)
{
    const std::string pdf = dir.filePath("report.pdf").toStdString();
    PrintToPdfFile(WorkedExample(), pdf);
    return pdf;
}

std::size_t Characters(const std::string& utf8)
{
    return std::count_if(utf8.begin(), utf8.end(), [](char c) { return (c & 0xC0) != 0x80; });
}

TEST(PaperReport, OnePageWithTheTextLines)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string pdf = RenderWorkedExample(dir);
    EXPECT_EQ(PdfPageCount(pdf), 1);
    EXPECT_EQ(PdfTextLines(pdf), WorkedExampleTexts);
}

// 12 points of a fixed-pitch face; the title and the focal length in bold.
TEST(PaperReport, TwelvePointFixedPitchFace)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string pdf = RenderWorkedExample(dir);

    const auto fonts = PdfFontNames(pdf);
    EXPECT_FALSE(fonts.empty());
    for (const std::string& font : fonts)
        EXPECT_TRUE(font.find("Mono") != std::string::npos || font.find("Courier") != std::string::npos) << font;

    const auto runs = PdfTextRuns(pdf);
    ASSERT_EQ(runs.size(), WorkedExampleTexts.size());
    for (std::size_t i = 0; i < runs.size(); ++i) {
        SCOPED_TRACE(runs[i].text);
        EXPECT_EQ(runs[i].text, WorkedExampleTexts[i]);
        EXPECT_EQ(runs[i].size, 12);
        EXPECT_EQ(runs[i].bold, i == 0 || i == 5);
    }

    // Every character, accented or not, blank or not, takes the same room:
    // the words' boxes and the gaps between their starts all agree.
    const PdfWords page = ReadPdfWords(pdf);
    ASSERT_FALSE(page.words.empty());
    const double advance = (page.words[0].xMax - page.words[0].xMin) / Characters(page.words[0].text);
    EXPECT_NEAR(advance / 12, 0.6, 0.05);  // fixed-pitch faces are about 0.6 em wide
    for (std::size_t i = 0; i < page.words.size(); ++i) {
        const PdfWord& word = page.words[i];
        SCOPED_TRACE(word.text);
        EXPECT_NEAR((word.xMax - word.xMin) / Characters(word.text), advance, 0.01);
        if (i + 1 < page.words.size() && page.words[i + 1].yMin == word.yMin) {
            EXPECT_NEAR(page.words[i + 1].xMin - word.xMin, (Characters(word.text) + 1) * advance, 0.05);
        }
    }

    // Text lines stand two line heights apart (an empty line between), and
    // a line of a 12-point face is a little over 12 points high.
    std::map<double, int> lineTops;
    for (const PdfWord& word : page.words) lineTops[word.yMin] = 0;
    ASSERT_EQ(lineTops.size(), WorkedExampleTexts.size());
    const double pitch = std::next(lineTops.begin())->first - lineTops.begin()->first;
    EXPECT_GE(pitch / 2, 12.0);
    EXPECT_LE(pitch / 2, 12.0 * 1.3);
    for (auto top = lineTops.begin(); std::next(top) != lineTops.end(); ++top)
        EXPECT_NEAR(std::next(top)->first - top->first, pitch, 0.05);
}

// The title starts 100/850 of the printable width from its left edge, where
// every other line starts.
TEST(PaperReport, TitleIndentedAcrossThePrintableArea)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const PdfWords page = ReadPdfWords(RenderWorkedExample(dir));
    ASSERT_FALSE(page.words.empty());
    ASSERT_EQ(page.words[0].text, "Vintoral");
    const double title = page.words[0].xMin;

    std::map<double, double> lineStarts;  // top -> leftmost word
    for (const PdfWord& word : page.words) {
        const auto [it, added] = lineStarts.emplace(word.yMin, word.xMin);
        it->second = std::min(it->second, word.xMin);
    }
    lineStarts.erase(page.words[0].yMin);
    ASSERT_EQ(lineStarts.size(), WorkedExampleTexts.size() - 1);
    const double left = lineStarts.begin()->second;
    for (const auto& [top, start] : lineStarts) EXPECT_NEAR(start, left, 0.01) << "line at " << top;

    // Margins alike on both sides: the printable width is what they leave.
    EXPECT_GT(left, 0);
    EXPECT_NEAR(title, left + 100.0 / 850 * (page.pageWidth - 2 * left), 0.5);
}

TEST(PaperReport, UnwritableFileIsAPrintError)
{
    EXPECT_THROW(PrintToPdfFile(WorkedExample(), "/nonexistent-directory/report.pdf"), PrintError);
}

}  // namespace
