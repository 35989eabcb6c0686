// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace {

constexpr std::string_view NumberKeys = "0123456789.";

bool IsSkipped(char c)
{
    return c == ' ' || c == '\t' || c == '\n';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Decimal exponent of the first significant digit of a number that
// std::from_chars found out of range ("-0012.5E+3" gives 4): at least 0 means
// it overflowed, below 0 that it underflowed. An exponent too long for an int
// saturates.
long long DecimalMagnitude(std::string_view number)
{
    const std::size_t e = number.find_first_of("eE");
    const std::string_view mantissa = number.substr(0, e);
    const auto point = static_cast<long long>(std::min(mantissa.find('.'), mantissa.size()));
    const auto first = static_cast<long long>(mantissa.find_first_of("123456789"));
    const long long magnitude = first < point ? point - first - 1 : point - first;

    std::string_view exponent = e == std::string_view::npos ? std::string_view() : number.substr(e + 1);
    if (exponent.starts_with('+')) {
        exponent.remove_prefix(1);
    }
    int exponentValue = 0;
    const char* exponentEnd = exponent.data() + exponent.size();
    if (std::from_chars(exponent.data(), exponentEnd, exponentValue).ec == std::errc::result_out_of_range) {
        exponentValue = exponent.starts_with('-') ? std::numeric_limits<int>::min() : std::numeric_limits<int>::max();
    }
    return magnitude + exponentValue;
}

}  // namespace

bool IsNumberKey(int code)
{
    if (code == BackspaceCode) {
        return true;
    }
    if (code <= 0 || code > 255) {
        return false;
    }
    return NumberKeys.find(static_cast<char>(code)) != std::string_view::npos;
}

double ParseNumber(std::string_view text)
{
    // Blanks count nowhere, so they go first; std::from_chars then reads the
    // number and stops where it ends, also at an embedded NUL. It ignores the
    // C locale, which the toolkit sets from the user's settings, and reads
    // no '+' and no hexadecimal, but it would read "inf" and "nan": after
    // the one sign there must be a digit or the full stop.
    std::string number(text);
    std::erase_if(number, IsSkipped);
    const std::size_t sign = number.starts_with('+') || number.starts_with('-') ? 1 : 0;
    if (number.size() == sign || !(IsDigit(number[sign]) || number[sign] == '.')) {
        return 0.0;
    }
    const std::string_view rest = std::string_view(number).substr(number.front() == '+' ? 1 : 0);

    double value = 0.0;
    const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), value);
    if (error == std::errc::result_out_of_range) {
        const std::string_view read(rest.data(), static_cast<std::size_t>(end - rest.data()));
        value = DecimalMagnitude(read) >= 0 ? std::numeric_limits<double>::infinity() : 0.0;
        value = rest.front() == '-' ? -value : value;
    }
    return value;
}

std::string NumberToText(float value, std::string_view decimalSeparator)
{
    if (std::isnan(value)) {
        return "NaN";
    }
    if (std::isinf(value)) {
        return value < 0 ? "-Inf" : "Inf";
    }
    if (value == 0.0f) {  // negative zero too
        return "0";
    }
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 7).ptr;
    std::string text(buffer, end);
    std::replace(text.begin(), text.end(), 'e', 'E');
    if (const std::size_t point = text.find('.'); point != std::string::npos) {
        text.replace(point, 1, decimalSeparator);
    }
    return text;
}
