// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSizeF>
#include <QString>
#include <QStringList>

#include <string>
#include <vector>

// Reading a PDF file back with poppler's tools.

// Runs a program to its end, for a minute at most, and gives its standard
// output. A program that cannot start, hangs or fails fails the test.
std::string RunTool(const QString& program, const QStringList& arguments);

int PdfPageCount(const std::string& pdf);

// The first page's width and height in points; 0 x 0 when unreadable.
QSizeF PdfPageSize(const std::string& pdf);

// The text lines as pdftotext -layout lays them out, blanks around each
// removed and empty lines left out.
std::vector<std::string> PdfTextLines(const std::string& pdf);

// The names of the fonts embedded in the file.
std::vector<std::string> PdfFontNames(const std::string& pdf);

// A word with its box, in points from the page's top left.
struct PdfWord {
    std::string text;
    double xMin, yMin, xMax, yMax;
};

struct PdfWords {
    double pageWidth = 0;
    std::vector<PdfWord> words;
};

PdfWords ReadPdfWords(const std::string& pdf);

// A line of text with the font it is set in.
struct PdfTextRun {
    std::string text;
    std::string family;
    int size = 0;
    bool bold = false;
};

std::vector<PdfTextRun> PdfTextRuns(const std::string& pdf);
