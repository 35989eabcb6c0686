// SPDX-License-Identifier: GPL-3.0-or-later
// Prints one line per calculation for a fixed, seeded series of inputs over
// every row of the lens tables: the inputs, the bits of the focal length as
// stored and as shown, and the shown text with either decimal separator. The
// Windows build's output must equal the Linux build's, byte for byte.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "calc/lens.h"
#include "calc/number_text.h"

namespace {

// A generator of its own (64-bit linear congruential, Knuth's MMIX
// constants): the standard distributions may differ between libraries.
struct Series {
    std::uint64_t state = 20240611;

    std::uint32_t Next()
    {
        state = state * 6364136223846793005u + 1442695040888963407u;
        return std::uint32_t(state >> 33);
    }

    // lowest..highest in hundredths, stored as a single as the window does;
    // one value in four is whole.
    float Between(int lowest, int highest)
    {
        const std::uint32_t hundredths = Next() % std::uint32_t((highest - lowest) * 100 + 1);
        const float value = float(lowest + double(hundredths) / 100.0);
        return Next() % 4 == 0 ? float(int(value)) : value;
    }
};

std::uint32_t Bits(float value)
{
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof(bits));
    return bits;
}

}  // namespace

int main()
{
    Series series;
    constexpr int RoundsPerChoice = 13;
    for (const FactorRow& format : SensorFormatTable) {
        for (const FactorRow& targetUnit : LengthUnitTable) {
            for (const FactorRow& kind : DimensionKindTable) {
                for (const FactorRow& distanceUnit : LengthUnitTable) {
                    for (int round = 0; round < RoundsPerChoice; ++round) {
                        CalcState state;
                        state.strCameraFormat = format.text;
                        state.strTargetUnit = targetUnit.text;
                        state.strDimensionKind = kind.text;
                        state.strDistanceUnit = distanceUnit.text;
                        state.sngTargetSize = series.Between(int(TargetSizeMin), int(TargetSizeMax));
                        state.sngDistance = series.Between(int(DistanceMin), int(DistanceMax));
                        state.sngScreenPercent = series.Between(int(ScreenPercentMin), int(ScreenPercentMax));
                        std::string result;
                        if (!LookUpFactors(state)) {
                            result = "no factor";
                        } else {
                            try {
                                ComputeFocalLength(state);
                                char bits[32];
                                std::snprintf(bits, sizeof(bits), "%08x %08x", unsigned(Bits(state.sngFocalLength)),
                                              unsigned(Bits(state.sngFocalLengthShown)));
                                result = std::string(bits) + " " + NumberToText(state.sngFocalLengthShown, ".") + " " +
                                         NumberToText(state.sngFocalLengthShown, ",");
                            } catch (const FloatingPointError& error) {
                                result = std::string("error ") + error.what();
                            }
                        }
                        std::printf("%s|%s|%s|%s|%08x|%08x|%08x|%s\n", state.strCameraFormat.c_str(),
                                    state.strTargetUnit.c_str(), state.strDimensionKind.c_str(),
                                    state.strDistanceUnit.c_str(), unsigned(Bits(state.sngTargetSize)),
                                    unsigned(Bits(state.sngDistance)), unsigned(Bits(state.sngScreenPercent)),
                                    result.c_str());
                    }
                }
            }
        }
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}
