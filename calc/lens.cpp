// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/lens.h"

#include <cfenv>
#include <cmath>

// This file is built with -frounding-math -fno-fast-math so that GCC neither
// folds nor drops arithmetic whose floating-point flags are tested here.
// Each guarded result also passes through a volatile object: the operation
// must then happen before that store, and the store cannot move across the
// fetestexcept() call that follows it.

namespace {

constexpr int CheckedConditions = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;

double Settled(double value)
{
    volatile double settled = value;
    return settled;
}

float SettledSingle(double value)
{
    volatile float settled = static_cast<float>(value);
    return settled;
}

// Stops the calculation when any checked condition was raised since the
// flags were last cleared; the caller has not yet stored the guarded field.
void CheckFloatingPoint(const char* step)
{
    if (std::fetestexcept(CheckedConditions) != 0) {
        throw FloatingPointError(step);
    }
}

// Step one of the display rounding: the value in tenths, as a single.
float TimesTen(float value)
{
    return SettledSingle(static_cast<double>(value) * 10.0);
}

// Steps two and three: to a whole number of tenths, halves to the even
// neighbour whatever the current rounding mode, then back to units.
float WholeTenths(float tenths)
{
    const double t = tenths;
    double whole = std::floor(t);
    const double rest = t - whole;
    if (rest > 0.5 || (rest == 0.5 && std::fmod(whole, 2.0) != 0.0)) {
        whole += 1.0;
    }
    return static_cast<float>(whole / 10.0);
}

}  // namespace

bool InRange(float value, float lowest, float highest)
{
    // Written so that a NaN fails the first comparison.
    return value >= lowest && value <= highest;
}

bool LookUpFactor(std::string_view choice, std::span<const FactorRow> table, float& field)
{
    bool found = false;
    for (const FactorRow& row : table) {
        if (row.text == choice) {
            field = row.value;
            found = true;
        }
    }
    return found;
}

bool LookUpFactors(CalcState& state)
{
    const bool format = LookUpFactor(state.strCameraFormat, SensorFormatTable, state.sngSensorHeight);
    const bool targetUnit = LookUpFactor(state.strTargetUnit, LengthUnitTable, state.sngTargetUnitFactor);
    const bool kind = LookUpFactor(state.strDimensionKind, DimensionKindTable, state.sngDimensionFactor);
    const bool distanceUnit = LookUpFactor(state.strDistanceUnit, LengthUnitTable, state.sngDistanceUnitFactor);
    return format && targetUnit && kind && distanceUnit;
}

void ComputeFocalLength(CalcState& state)
{
    std::feclearexcept(FE_ALL_EXCEPT);

    const double fraction = Settled(static_cast<double>(state.sngScreenPercent) * 0.01);
    CheckFloatingPoint("percentage");
    state.sngScreenFraction = SettledSingle(fraction);

    const double numerator = static_cast<double>(state.sngScreenFraction) * state.sngSensorHeight * state.sngDistance *
                             state.sngDistanceUnitFactor;
    const double denominator =
        static_cast<double>(state.sngDimensionFactor) * state.sngTargetSize * state.sngTargetUnitFactor;
    const double quotient = Settled(numerator / denominator);
    CheckFloatingPoint("focal length");
    state.sngFocalLength = SettledSingle(quotient);

    const float tenths = TimesTen(state.sngFocalLength);
    CheckFloatingPoint("rounding");
    state.sngFocalLengthShown = WholeTenths(tenths);
}

float RoundToTenth(float value)
{
    return WholeTenths(TimesTen(value));
}
