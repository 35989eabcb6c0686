// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "calc/calc_state.h"

// Writes the printed page of state, on A4, into the PDF file at path
// (UTF-8). Needs a QGuiApplication. Throws PrintError when the file cannot
// be written.
void PrintToPdfFile(const CalcState& state, const std::string& path);
