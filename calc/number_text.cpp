// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/number_text.h"

#include <cmath>
#include <string>

#include <fast_float/fast_float.h>
#include <fmt/compile.h>

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
    // Blanks count nowhere, so they go first; fast_float then reads the
    // number as std::from_chars does, bit for bit on every target, and stops
    // where it ends, also at an embedded NUL. It ignores the C locale, which
    // the toolkit sets from the user's settings, and reads no '+' and no
    // hexadecimal, but it would read "inf" and "nan": after the one sign
    // there must be a digit or the full stop. Beyond the double range it
    // gives an infinity, below it a zero, both of the text's sign.
    std::string number(text);
    std::erase_if(number, IsSkipped);
    const std::size_t sign = number.starts_with('+') || number.starts_with('-') ? 1 : 0;
    if (number.size() == sign || !(IsDigit(number[sign]) || number[sign] == '.')) {
        return 0.0;
    }
    const std::string_view rest = std::string_view(number).substr(number.front() == '+' ? 1 : 0);

    double value = 0.0;
    fast_float::from_chars(rest.data(), rest.data() + rest.size(), value);
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
    // printf's %.7G: seven significant digits, trailing zeros dropped. The
    // format is read when the program is built: only the code for a float
    // goes into the program.
    std::string text = fmt::format(FMT_COMPILE("{:.7G}"), value);
    if (const std::size_t point = text.find('.'); point != std::string::npos) {
        text.replace(point, 1, decimalSeparator);
    }
    return text;
}
