// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// The record of one window's calculation: the choices and entries as last
// read, the factors looked up for them and the results. Every number is a
// single-precision value, rounded to single at the moment it is stored.
struct CalcState {
    std::string strCameraFormat;
    std::string strTargetUnit;
    std::string strDimensionKind;
    std::string strDistanceUnit;
    float sngScreenPercent = 0;
    float sngFocalLength = 0;
    float sngSensorHeight = 0;
    float sngTargetUnitFactor = 0;
    float sngDimensionFactor = 0;
    float sngDistanceUnitFactor = 0;
    float sngTargetSize = 0;
    float sngDistance = 0;
    float sngScreenFraction = 0;
    float sngFocalLengthShown = 0;

    bool operator==(const CalcState&) const = default;
};
