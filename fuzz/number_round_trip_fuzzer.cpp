// SPDX-License-Identifier: GPL-3.0-or-later
// NumberToText and back, for every finite float in the input (its bytes
// taken four at a time). The text must be the general number form of the
// value rounded to seven significant digits; ParseNumber must read it back
// to a float within one unit of the seventh significant digit of the
// original. Seven digits do not always name one float, so equality is not
// asked for. The text is the one libstdc++'s std::to_chars writes, with E.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "calc/number_text.h"
#include "fuzz/require.h"

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Decimal exponent of the first significant digit of a positive value.
int DecimalExponent(double magnitude)
{
    int exponent = static_cast<int>(std::floor(std::log10(magnitude)));
    if (std::pow(10.0, exponent) > magnitude) {
        --exponent;
    } else if (std::pow(10.0, exponent + 1) <= magnitude) {
        ++exponent;
    }
    return exponent;
}

// One unit of the seventh significant digit of a number whose first
// significant digit has this exponent, with room for the rounding of the
// arithmetic that compares against it.
double SeventhDigitUnit(int exponent)
{
    return std::pow(10.0, exponent - 6) * (1 + 1e-6);
}

std::string_view TakeDigits(std::string_view& text)
{
    std::size_t n = 0;
    while (n < text.size() && IsDigit(text[n])) {
        ++n;
    }
    const std::string_view digits = text.substr(0, n);
    text.remove_prefix(n);
    return digits;
}

// Checks that text, written with "." as separator, has the general form and
// returns the decimal exponent of its first significant digit.
int CheckGeneralForm(std::string_view text, bool negative)
{
    Require(text.empty() || text.front() != '-' || negative, "a minus sign only for negative values");
    if (negative) {
        Require(!text.empty() && text.front() == '-', "a leading minus sign for negative values");
        text.remove_prefix(1);
    }
    const std::string_view whole = TakeDigits(text);
    std::string_view fraction;
    if (!text.empty() && text.front() == '.') {
        text.remove_prefix(1);
        fraction = TakeDigits(text);
        Require(!fraction.empty() && fraction.back() != '0', "no trailing zeros, no bare separator");
    }
    Require(!whole.empty() && (whole.size() == 1 || whole.front() != '0'), "no leading zeros");

    if (text.empty()) {  // positional
        int exponent = static_cast<int>(whole.size()) - 1;
        if (whole == "0") {
            const std::size_t firstSignificant = fraction.find_first_not_of('0');
            Require(firstSignificant != std::string_view::npos, "zero is written as 0 alone");
            exponent = -static_cast<int>(firstSignificant) - 1;
            fraction.remove_prefix(firstSignificant);
        }
        Require(exponent >= -4 && exponent <= 6, "positional form only for exponents -4 to 6");
        Require((whole == "0" ? 0 : whole.size()) + fraction.size() <= 7, "seven significant digits");
        return exponent;
    }

    Require(whole.size() == 1 && whole != "0", "one non-zero digit before the separator");
    Require(fraction.size() <= 6, "seven significant digits");
    Require(text.size() >= 4 && text[0] == 'E' && (text[1] == '+' || text[1] == '-'), "E and a signed exponent");
    const bool negativeExponent = text[1] == '-';
    text.remove_prefix(2);
    const std::string_view exponentDigits = TakeDigits(text);
    Require(text.empty(), "nothing after the exponent");
    Require(exponentDigits.size() == 2 || exponentDigits.front() != '0', "at least two exponent digits, no more");
    const int magnitude = std::atoi(std::string(exponentDigits).c_str());
    const int exponent = negativeExponent ? -magnitude : magnitude;
    Require(exponent < -4 || exponent > 6, "E form only outside exponents -4 to 6");
    return exponent;
}

void CheckRoundTrip(float value)
{
    const std::string text = NumberToText(value, ".");
    if (value == 0) {
        Require(text == "0", "zero is written as 0");
        return;
    }
    const int textExponent = CheckGeneralForm(text, value < 0);

    char buffer[32];
    std::string written(buffer,
                        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 7).ptr);
    std::replace(written.begin(), written.end(), 'e', 'E');
    Require(text == written, "std::to_chars writes the same text");

    // The text is the value rounded to seven significant digits; the C
    // library, not ParseNumber, reads it for this check.
    const double read = std::strtod(text.c_str(), nullptr);
    Require(std::fabs(read - value) <= SeventhDigitUnit(textExponent) / 2, "rounded to seven digits");

    const auto back = static_cast<float>(ParseNumber(text));
    Require(std::fabs(static_cast<double>(back) - value) <= SeventhDigitUnit(DecimalExponent(std::fabs(value))),
            "read back within one unit of the seventh digit");

    std::string withComma = text;
    const std::size_t point = withComma.find('.');
    if (point != std::string::npos) {
        withComma.replace(point, 1, ",");
    }
    Require(NumberToText(value, ",") == withComma, "the separator is the only difference");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ForEachFinite<float>(data, size, CheckRoundTrip);
    return 0;
}
