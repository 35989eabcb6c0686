// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "calc/calc_state.h"
#include "report/format_whole.h"

// What the dimension line carries after the target size: the dimension that
// was measured, then the unit, so that it reads "1000 de Largura, em
// milimetros" and ends with the unit's text as stored.
inline std::string DimensionRemainder(const CalcState& state)
{
    return " de " + state.strDimensionKind + ", em " + state.strTargetUnit;
}

// The seven printer operations the report drives: page coordinates (mode,
// left, top, right, bottom), font name, font size in points, emphasis on or
// off, print position across, print a line (or only move to the next one)
// and end the document.
template <class Printer>
concept ReportPrinter = requires(Printer printer, std::string_view text, int number, bool on)
{
    printer.PageCoordinates(number, number, number, number, number);
    printer.FontName(text);
    printer.FontSize(number);
    printer.Emphasis(on);
    printer.PrintPosition(number);
    printer.PrintLine();
    printer.PrintLine(text);
    printer.EndDocument();
};

// Prints the one-page report of state and ends the document; each line is
// composed whole and printed by one call. state is only read.
// decimalSeparator is the user's regional one: it decides which texts read
// as numbers.
template <ReportPrinter Printer>
void PrintReport(Printer& printer, const CalcState& state, std::string_view decimalSeparator)
{
    const auto whole = [&](const std::string& text) { return FormatWhole(text, decimalSeparator); };

    printer.PageCoordinates(4, 0, 0, 850, 1000);
    printer.FontName("Courier New");
    printer.FontSize(12);
    printer.PrintPosition(100);
    printer.PrintLine();
    printer.Emphasis(true);
    printer.PrintPosition(100);
    printer.PrintLine("Vintoral - Orvanta 1.0 Beta");
    printer.Emphasis(false);
    printer.PrintLine();
    printer.PrintLine("Formato do CCD da Camera:" + whole(state.strCameraFormat) + "CCD");
    printer.PrintLine();
    printer.PrintLine("Dimensão máxima do Objeto ou Cena: " + FormatWhole(state.sngTargetSize) +
                      DimensionRemainder(state));
    printer.PrintLine();
    printer.PrintLine("Distância da Camera/Lente: " + FormatWhole(state.sngDistance) + " " +
                      whole(state.strDistanceUnit));
    printer.PrintLine();
    printer.PrintLine("Porcentagem da Tela a ser Ocupada pela Imagem: " + FormatWhole(state.sngScreenPercent) + "%");
    printer.Emphasis(true);
    printer.PrintLine();
    printer.PrintLine("Distância Focal da lente a ser utilizada: " + FormatWhole(state.sngFocalLengthShown) + " mm");
    printer.Emphasis(false);
    printer.PrintLine();
    printer.EndDocument();
}
