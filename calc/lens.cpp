// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/lens.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <initializer_list>

namespace {

// The calculation's arithmetic, each operation checked from its operands and
// result for the conditions IEEE 754 signals as invalid operation, division
// by zero and overflow. No target is asked for its exception flags: the
// browser's WebAssembly has none, and the values alone decide the same way
// on every processor.
class CheckedArithmetic {
public:
    // A signalling NaN is the one NaN operand that signals. (Emscripten's
    // C++ library has no std::bit_cast.)
    double Widen(float value)
    {
        constexpr std::uint32_t quietBit = 0x00400000;
        std::uint32_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        raised_ = raised_ || (std::isnan(value) && (bits & quietBit) == 0);
        return value;
    }

    double Times(double a, double b)
    {
        const double product = a * b;
        raised_ = raised_ || Invalid(a, b, product) || Overflow(a, b, product);
        return product;
    }

    // The singles multiplied from left to right in double precision.
    double Product(std::initializer_list<float> factors)
    {
        double product = 1;
        for (const float factor : factors) {
            product = Times(product, Widen(factor));
        }
        return product;
    }

    double Over(double a, double b)
    {
        const double quotient = a / b;
        const bool divisionByZero = b == 0 && std::isfinite(a) && a != 0;
        raised_ = raised_ || Invalid(a, b, quotient) || Overflow(a, b, quotient) || divisionByZero;
        return quotient;
    }

    // The store into a single: a finite value beyond its range overflows.
    float Narrow(double value)
    {
        const auto single = static_cast<float>(value);
        raised_ = raised_ || (std::isinf(single) && std::isfinite(value));
        return single;
    }

    // Stops the calculation when any condition was met so far; the caller
    // has not yet stored the guarded field.
    void Check(const char* step) const
    {
        if (raised_) {
            throw FloatingPointError(step);
        }
    }

private:
    // 0 × ∞, ∞ − ∞, 0 / 0 and ∞ / ∞: a NaN from operands that are numbers.
    static bool Invalid(double a, double b, double result)
    {
        return std::isnan(result) && !std::isnan(a) && !std::isnan(b);
    }
    static bool Overflow(double a, double b, double result)
    {
        return std::isinf(result) && std::isfinite(a) && std::isfinite(b);
    }

    bool raised_ = false;
};

// Step one of the display rounding: the value in tenths, as a single.
float TimesTen(float value, CheckedArithmetic& arithmetic)
{
    return arithmetic.Narrow(arithmetic.Times(arithmetic.Widen(value), 10.0));
}

// Steps two and three: to a whole number of tenths, halves to the even
// neighbour, then back to units.
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
    // Each check covers the operations since the one before, the store of
    // the field before it included.
    CheckedArithmetic a;

    const double fraction = a.Times(a.Widen(state.sngScreenPercent), 0.01);
    a.Check("percentage");
    state.sngScreenFraction = a.Narrow(fraction);

    const double numerator =
        a.Product({state.sngScreenFraction, state.sngSensorHeight, state.sngDistance, state.sngDistanceUnitFactor});
    const double denominator = a.Product({state.sngDimensionFactor, state.sngTargetSize, state.sngTargetUnitFactor});
    const double quotient = a.Over(numerator, denominator);
    a.Check("focal length");
    state.sngFocalLength = a.Narrow(quotient);

    const float tenths = TimesTen(state.sngFocalLength, a);
    a.Check("rounding");
    state.sngFocalLengthShown = WholeTenths(tenths);
}

float RoundToTenth(float value)
{
    CheckedArithmetic unchecked;
    return WholeTenths(TimesTen(value, unchecked));
}
