// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <stdexcept>
#include <string>

#include "calc/calc_state.h"

// A printout that could not be made. what() tells the user why, in
// Portuguese.
class PrintError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Prints the report of state at once on the system's default printer (CUPS),
// with no dialog and no preview, on that printer's default paper. Needs a
// QGuiApplication. The page is made whole in memory before anything is sent;
// every wait on the print server is bounded by a few seconds. Throws
// PrintError, saying why, when no print server or default printer can be
// reached, the server does not answer, the printer refuses the document, the
// connection is lost while sending (the job is then cancelled), or when the
// job was queued on a stopped or paused printer. state is only read.
void PrintOnDefaultPrinter(const CalcState& state);

// Writes the same page, on A4, into the PDF file at path (UTF-8). Needs a
// QGuiApplication. Throws PrintError when the file cannot be written.
void PrintToPdfFile(const CalcState& state, const std::string& path);
