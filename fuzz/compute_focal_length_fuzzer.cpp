// SPDX-License-Identifier: GPL-3.0-or-later
// ComputeFocalLength on records of arbitrary singles (the input's bytes, four
// at a time, give the entries, the factors and the old results; NaNs and
// infinities included) against a reference that asks the processor's
// floating-point exception flags after each step: the same check stops the
// calculation and every field ends with the same value.
#include <cfenv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "calc/lens.h"
#include "fuzz/require.h"

#pragma STDC FENV_ACCESS ON

namespace {

// The calculation's steps in the same order and precision; each guarded
// result passes through a volatile object, so that it is computed before
// the flags are tested. Gives the check that stops, or nothing.
std::string_view ReferenceFocalLength(CalcState& s)
{
    constexpr int checked = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;
    std::feclearexcept(FE_ALL_EXCEPT);
    const volatile double fraction = static_cast<double>(s.sngScreenPercent) * 0.01;
    if (std::fetestexcept(checked) != 0) {
        return "percentage";
    }
    const volatile float storedFraction = static_cast<float>(fraction);
    s.sngScreenFraction = storedFraction;
    const volatile double quotient =
        static_cast<double>(s.sngScreenFraction) * s.sngSensorHeight * s.sngDistance * s.sngDistanceUnitFactor /
        (static_cast<double>(s.sngDimensionFactor) * s.sngTargetSize * s.sngTargetUnitFactor);
    if (std::fetestexcept(checked) != 0) {
        return "focal length";
    }
    const volatile float focalLength = static_cast<float>(quotient);
    s.sngFocalLength = focalLength;
    const volatile float tenths = static_cast<float>(static_cast<double>(s.sngFocalLength) * 10.0);
    if (std::fetestexcept(checked) != 0) {
        return "rounding";
    }
    s.sngFocalLengthShown = RoundToTenth(s.sngFocalLength);
    static_cast<void>(tenths);
    return {};
}

// The same bits, or NaN both: which NaN an operation passes on is left to
// the processor.
bool Same(float a, float b)
{
    return std::memcmp(&a, &b, sizeof a) == 0 || (std::isnan(a) && std::isnan(b));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    constexpr std::size_t fieldCount = 10;
    for (std::size_t offset = 0; offset + fieldCount * sizeof(float) <= size; offset += fieldCount * sizeof(float)) {
        CalcState s;
        float* const fields[fieldCount] = {&s.sngScreenPercent,   &s.sngSensorHeight,       &s.sngTargetUnitFactor,
                                           &s.sngDimensionFactor, &s.sngDistanceUnitFactor, &s.sngTargetSize,
                                           &s.sngDistance,        &s.sngScreenFraction,     &s.sngFocalLength,
                                           &s.sngFocalLengthShown};
        for (std::size_t i = 0; i < fieldCount; ++i) {
            std::memcpy(fields[i], data + offset + i * sizeof(float), sizeof(float));
        }
        CalcState reference = s;
        const std::string_view referenceStep = ReferenceFocalLength(reference);
        std::string step;  // the error's text dies with the error
        try {
            ComputeFocalLength(s);
        } catch (const FloatingPointError& error) {
            step = error.what();
        }
        Require(step == referenceStep, "the same check stops the calculation");
        Require(Same(s.sngScreenFraction, reference.sngScreenFraction), "the same screen fraction");
        Require(Same(s.sngFocalLength, reference.sngFocalLength), "the same focal length");
        Require(Same(s.sngFocalLengthShown, reference.sngFocalLengthShown), "the same shown focal length");
    }
    return 0;
}
