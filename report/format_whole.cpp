// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/format_whole.h"

#include <cmath>

#include <fmt/compile.h>

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}
bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

// The paper's text of a whole number given by its sign and digits.
std::string WholeText(bool negative, std::string digits)
{
    const auto first = digits.find_first_not_of('0');
    if (first == std::string::npos) return {};
    digits.erase(0, first);
    if (negative) digits.insert(digits.begin(), '-');
    return digits;
}

// Splits the leading run of digits off text.
std::string_view TakeDigits(std::string_view& text)
{
    std::size_t count = 0;
    while (count < text.size() && IsDigit(text[count])) ++count;
    const auto digits = text.substr(0, count);
    text.remove_prefix(count);
    return digits;
}

}  // namespace

std::string FormatWhole(double value)
{
    if (!std::isfinite(value)) return {};
    const double whole = std::round(value);  // halves away from zero
    return WholeText(whole < 0, fmt::format(FMT_COMPILE("{:.0f}"), std::fabs(whole)));
}

std::string FormatWhole(std::string_view text, std::string_view decimalSeparator)
{
    std::string_view rest = text;
    while (!rest.empty() && IsBlank(rest.front())) rest.remove_prefix(1);
    while (!rest.empty() && IsBlank(rest.back())) rest.remove_suffix(1);

    bool negative = false;
    if (!rest.empty() && (rest.front() == '+' || rest.front() == '-')) {
        negative = rest.front() == '-';
        rest.remove_prefix(1);
    }
    const auto wholeDigits = TakeDigits(rest);
    std::string_view fractionDigits;
    if (!decimalSeparator.empty() && rest.starts_with(decimalSeparator)) {
        rest.remove_prefix(decimalSeparator.size());
        fractionDigits = TakeDigits(rest);
    }
    if (!rest.empty() || (wholeDigits.empty() && fractionDigits.empty())) return std::string(text);

    // The first decimal decides; a leading 0 takes the carry of 9.5 -> 10.
    std::string digits(1, '0');
    digits += wholeDigits;
    if (!fractionDigits.empty() && fractionDigits.front() >= '5') {
        auto position = digits.size() - 1;
        while (digits[position] == '9') digits[position--] = '0';
        ++digits[position];
    }
    return WholeText(negative, std::move(digits));
}
