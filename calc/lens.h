// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <span>
#include <stdexcept>
#include <string_view>

#include "calc/calc_state.h"

// One row of a lookup table: the text shown in a drop-down list and the
// value it stands for.
struct FactorRow {
    std::string_view text;
    float value;
};

// Sensor height in millimetres per camera format, in the format list's order.
inline constexpr FactorRow SensorFormatTable[] = {
    {"1/3", 3.6f}, {"1/4", 2.4f}, {"1/2", 4.8f}, {"2/3", 6.6f}, {"1", 9.525f},
};

// Millimetres per unit, for the target's and the distance's unit alike.
// A foot is 304.8 mm (twelve inches).
inline constexpr FactorRow LengthUnitTable[] = {
    {"milimetros", 1.0f},
    {"centimetros", 10.0f},
    {"metros", 1000.0f},
    {"pés", 304.8f},
};

// Divides the sensor height into the sensor dimension that matches the
// dimension measured on the target (4:3 sensor: width = h / 0.75,
// diagonal = h / 0.6).
inline constexpr FactorRow DimensionKindTable[] = {
    {"Altura", 1.0f},
    {"Largura", 0.75f},
    {"Diagonal", 0.6f},
};

// Accepted ranges of the three numeric entries, bounds included.
inline constexpr float TargetSizeMin = 1, TargetSizeMax = 10000;
inline constexpr float DistanceMin = 1, DistanceMax = 10000;
inline constexpr float ScreenPercentMin = 1, ScreenPercentMax = 100;

// True when lowest <= value <= highest; false for a value that is not a number.
bool InRange(float value, float lowest, float highest);

// Sets field to the value of every row whose text equals choice exactly
// (case-sensitive, no trimming). When no row matches the field keeps its
// value and the result is false, so a caller can refuse to compute from a
// stale factor.
bool LookUpFactor(std::string_view choice, std::span<const FactorRow> table, float& field);

// Looks up the four choice texts of state, in the window's order: camera
// format into sngSensorHeight, target unit into sngTargetUnitFactor,
// dimension kind into sngDimensionFactor, distance unit into
// sngDistanceUnitFactor. Every lookup runs; true when all four matched.
bool LookUpFactors(CalcState& state);

// Raised when the calculation meets an invalid operation, a division by zero
// or an overflow. The field guarded by the failing check and all later ones
// keep their old values; earlier ones hold their new values.
class FloatingPointError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Writes sngScreenFraction, sngFocalLength and sngFocalLengthShown from the
// entries and factors of state. Throws FloatingPointError (see above).
void ComputeFocalLength(CalcState& state);

// The display rounding of the focal length: to one decimal, ties to even
// in the tenths (2.25 gives 2.2, 6.75 gives 6.8).
float RoundToTenth(float value);
