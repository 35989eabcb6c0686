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
// with no dialog and no preview. Needs a QGuiApplication. Throws PrintError
// when no default printer is installed, the spooler cannot be reached, the
// document cannot be started or the printer refuses it; whatever was begun
// is released first. state is only read.
void PrintOnDefaultPrinter(const CalcState& state);

// Writes the same page, on A4, into the PDF file at path (UTF-8). Needs a
// QGuiApplication. Throws PrintError when the file cannot be written.
void PrintToPdfFile(const CalcState& state, const std::string& path);
