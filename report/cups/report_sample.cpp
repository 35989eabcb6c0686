// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the printed page of the worked example (camera 1/3, a target 1000
// milimetros wide, 5 metros away, filling 100 % of the screen) into a PDF
// file. scripts/report_png.sh makes docs/report.png from it.
#include <QGuiApplication>

#include <cstdio>

#include "calc/lens.h"
#include "report/cups/pdf_file.h"
#include "report/report.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: report_sample OUT.pdf\n");
        return 2;
    }
    QGuiApplication app(argc, argv);
    CalcState state;
    state.strCameraFormat = "1/3";
    state.sngTargetSize = 1000;
    state.strTargetUnit = "milimetros";
    state.strDimensionKind = "Largura";
    state.sngDistance = 5;
    state.strDistanceUnit = "metros";
    state.sngScreenPercent = 100;
    LookUpFactors(state);
    ComputeFocalLength(state);
    try {
        PrintToPdfFile(state, argv[1]);
    } catch (const PrintError& e) {
        std::fprintf(stderr, "report_sample: %s\n", e.what());
        return 1;
    }
    return 0;
}
