// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "calc/calc_state.h"

// The record after "Calcular" with camera 1/3, a target 1000 milimetros
// wide, 5 metros away, 100 % of the screen: focal length 24.
inline CalcState WorkedExample()
{
    CalcState state;
    state.strCameraFormat = "1/3";
    state.strTargetUnit = "milimetros";
    state.strDimensionKind = "Largura";
    state.strDistanceUnit = "metros";
    state.sngScreenPercent = 100;
    state.sngFocalLength = 24;
    state.sngSensorHeight = 3.6f;
    state.sngTargetUnitFactor = 1;
    state.sngDimensionFactor = 0.75f;
    state.sngDistanceUnitFactor = 1000;
    state.sngTargetSize = 1000;
    state.sngDistance = 5;
    state.sngScreenFraction = 1;
    state.sngFocalLengthShown = 24;
    return state;
}

// The six text lines of its page, top to bottom.
inline const std::vector<std::string> WorkedExampleTexts = {
    "Vintoral - Orvanta 1.0 Beta",
    "Formato do CCD da Camera:1/3CCD",
    "Dimensão máxima do Objeto ou Cena: 1000 de Largura, em milimetros",
    "Distância da Camera/Lente: 5 metros",
    "Porcentagem da Tela a ser Ocupada pela Imagem: 100%",
    "Distância Focal da lente a ser utilizada: 24 mm",
};
