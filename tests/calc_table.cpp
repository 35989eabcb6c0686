// SPDX-License-Identifier: GPL-3.0-or-later
// Prints one line per case for a fixed, seeded series of inputs: first one
// per calculation over every row of the lens tables (the inputs, the bits of
// the focal length as stored and as shown, and the shown text with either
// decimal separator), then the number texts: the bits ParseNumber reads from
// generated texts, NumberToText of generated singles with either separator,
// and FormatWhole of doubles and of texts. Every build (Windows, the
// browser) must print the Linux build's lines, byte for byte.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "calc/lens.h"
#include "calc/number_text.h"
#include "report/format_whole.h"

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

    std::uint32_t Below(std::uint32_t count) { return Next() % count; }

    // Next() has 31 bits; two of them fill 32 and 64.
    std::uint32_t Bits32()
    {
        const std::uint32_t high = Next() << 16;
        return high ^ Next();
    }
    std::uint64_t Bits64()
    {
        const std::uint64_t high = std::uint64_t(Bits32()) << 32;
        return high | Bits32();
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

template <class Number, class Bits>
Bits BitsOf(Number value)
{
    Bits bits = 0;
    std::memcpy(&bits, &value, sizeof(bits));
    return bits;
}

template <class Number, class Bits>
Number FromBits(Bits bits)
{
    Number value;
    std::memcpy(&value, &bits, sizeof(value));
    return value;
}

// Exact in a double: dividing by one is a single rounding on every target.
constexpr double PowersOfTen[] = {1, 10, 100, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8};

// A number text as a user might type or paste it, or a longer one: an
// optional sign, digits (now and then up to forty) with or without the
// separator, an optional exponent reaching beyond the double range, now and
// then a blank inside or something after it.
std::string NumberText(Series& series, char separator)
{
    const char* const signs[] = {"", "", "-", "+"};
    std::string text = signs[series.Below(4)];
    const std::uint32_t digitCount = 1 + series.Below(series.Below(4) == 0 ? 40 : 9);
    std::string digits;
    for (std::uint32_t i = 0; i < digitCount; ++i) {
        digits += char('0' + series.Below(10));
    }
    if (series.Below(3) != 0) {
        digits.insert(series.Below(digitCount + 1), 1, separator);
    }
    text += digits;
    if (series.Below(3) == 0) {
        text += "eE"[series.Below(2)];
        text += signs[series.Below(4)];
        text += std::to_string(series.Below(series.Below(2) == 0 ? 30 : 400));
    }
    if (series.Below(8) == 0) {
        text.insert(series.Below(std::uint32_t(text.size()) + 1), 1, ' ');
    }
    if (series.Below(10) == 0) {
        text += series.Below(2) == 0 ? ",5" : "x";
    }
    return text;
}

void PrintCalculations(Series& series)
{
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
                                std::snprintf(bits, sizeof(bits), "%08x %08x",
                                              unsigned(BitsOf<float, std::uint32_t>(state.sngFocalLength)),
                                              unsigned(BitsOf<float, std::uint32_t>(state.sngFocalLengthShown)));
                                result = std::string(bits) + " " + NumberToText(state.sngFocalLengthShown, ".") + " " +
                                         NumberToText(state.sngFocalLengthShown, ",");
                            } catch (const FloatingPointError& error) {
                                result = std::string("error ") + error.what();
                            }
                        }
                        std::printf("%s|%s|%s|%s|%08x|%08x|%08x|%s\n", state.strCameraFormat.c_str(),
                                    state.strTargetUnit.c_str(), state.strDimensionKind.c_str(),
                                    state.strDistanceUnit.c_str(),
                                    unsigned(BitsOf<float, std::uint32_t>(state.sngTargetSize)),
                                    unsigned(BitsOf<float, std::uint32_t>(state.sngDistance)),
                                    unsigned(BitsOf<float, std::uint32_t>(state.sngScreenPercent)), result.c_str());
                    }
                }
            }
        }
    }
}

void PrintParsedTexts(Series& series, int count)
{
    for (int i = 0; i < count; ++i) {
        const std::string text = NumberText(series, '.');
        std::printf("ParseNumber|%s|%016llx\n", text.c_str(),
                    static_cast<unsigned long long>(BitsOf<double, std::uint64_t>(ParseNumber(text))));
    }
}

// Singles of every exponent from their bits (NaN and the infinities among
// them), and as many decimal fractions such as the window shows.
void PrintSingleTexts(Series& series, int count)
{
    for (int i = 0; i < count; ++i) {
        const float value =
            i % 2 == 0 ? FromBits<float>(series.Bits32()) : float(double(series.Next()) / PowersOfTen[series.Below(9)]);
        std::printf("NumberToText|%08x|%s|%s\n", unsigned(BitsOf<float, std::uint32_t>(value)),
                    NumberToText(value, ".").c_str(), NumberToText(value, ",").c_str());
    }
}

// Doubles of every exponent from their bits, one in eight; whole numbers
// and quarters of either sign, halves among them; and decimal fractions.
void PrintWholeNumbers(Series& series, int count)
{
    for (int i = 0; i < count; ++i) {
        double value = 0;
        switch (i % 8) {
        case 0: value = FromBits<double>(series.Bits64()); break;
        case 1:
        case 2:
        case 3: value = double(series.Bits64() >> series.Below(64)) + double(series.Below(4)) / 4; break;
        default: value = double(series.Next()) / PowersOfTen[series.Below(9)]; break;
        }
        if (series.Below(2) == 0) {
            value = -value;
        }
        std::printf("FormatWhole|%016llx|%s\n", static_cast<unsigned long long>(BitsOf<double, std::uint64_t>(value)),
                    FormatWhole(value).c_str());
    }
}

void PrintWholeTexts(Series& series, int count)
{
    for (int i = 0; i < count; ++i) {
        const char separator = i % 2 == 0 ? '.' : ',';
        const std::string text = NumberText(series, separator);
        std::printf("FormatWhole %c|%s|%s\n", separator, text.c_str(),
                    FormatWhole(text, std::string(1, separator)).c_str());
    }
}

}  // namespace

int main()
{
    Series series;
    PrintCalculations(series);
    PrintParsedTexts(series, 600);
    PrintSingleTexts(series, 500);
    PrintWholeNumbers(series, 400);
    PrintWholeTexts(series, 400);
    return std::fflush(stdout) == 0 ? 0 : 1;
}
