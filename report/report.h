// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <stdexcept>

#include "calc/calc_state.h"

// A printout that could not be made. what() tells the user why, in
// Portuguese.
class PrintError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Prints the report of state at once on the system's default printer, with
// no dialog and no preview, on that printer's own paper: through CUPS on
// Linux (needs a QGuiApplication), through the Windows print spooler on
// Windows. Throws PrintError, saying why, when no default printer can be
// reached, the chosen default does not exist, the print server asks for a
// login, the printer refuses the document, and when the job waits on a
// stopped, paused or offline printer or in a queue that holds new jobs. A
// user who cancels a printer's own file dialog has not met an error:
// nothing prints and nothing is thrown. state is only read.
void PrintOnDefaultPrinter(const CalcState& state);
