// SPDX-License-Identifier: GPL-3.0-or-later
// FormatWhole on arbitrary texts, with "." and with "," as the regional
// separator. A text that is not wholly a number (blanks around an optional
// sign and digits with at most one separator) comes back unchanged; a
// number comes back as an optional minus and digits without leading zeros,
// or empty. Where a double holds the text's value exactly enough to decide
// its rounding, the text must print as the number does.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "fuzz/require.h"
#include "report/format_whole.h"

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsWholeNumberText(std::string_view text)
{
    if (text.empty()) {
        return true;
    }
    if (text.front() == '-') {
        text.remove_prefix(1);
    }
    if (text.empty() || text.front() == '0') {
        return false;
    }
    for (char c : text) {
        if (!IsDigit(c)) {
            return false;
        }
    }
    return true;
}

// The text as a number in the C locale's spelling (blanks dropped, "." as
// separator), or empty when the text is not wholly a number.
std::string AsCNumber(std::string_view text, std::string_view separator)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    text = text.substr(first, text.find_last_not_of(" \t") - first + 1);
    std::string number;
    if (text.front() == '+' || text.front() == '-') {
        number += text.front();
        text.remove_prefix(1);
    }
    bool anyDigit = false;
    bool seenSeparator = false;
    while (!text.empty()) {
        if (IsDigit(text.front())) {
            anyDigit = true;
            number += text.front();
            text.remove_prefix(1);
        } else if (!seenSeparator && text.starts_with(separator)) {
            seenSeparator = true;
            number += '.';
            text.remove_prefix(separator.size());
        } else {
            return {};
        }
    }
    return anyDigit ? number : std::string();
}

// True when a double rounds to the same whole number as the decimal text:
// at most fifteen significant digits and a whole part below 2^53.
bool DoubleDecidesTheRounding(std::string_view number)
{
    const std::size_t first = number.find_first_of("123456789");
    if (first == std::string_view::npos) {
        return true;
    }
    const std::size_t point = number.find('.');
    const std::size_t last = number.find_last_of("123456789");
    const std::size_t digits = last - first + 1 - (point > first && point < last ? 1 : 0);
    const std::size_t wholeDigits = point == std::string_view::npos ? number.size() - first
                                    : point > first                 ? point - first
                                                                    : 0;
    return digits <= 15 && wholeDigits <= 15;
}

void Check(std::string_view text, std::string_view separator)
{
    const std::string printed = FormatWhole(text, separator);
    const std::string number = AsCNumber(text, separator);
    if (number.empty()) {
        Require(printed == text, "a text that is not a number comes back unchanged");
        return;
    }
    Require(IsWholeNumberText(printed), "a number becomes a minus and digits, or nothing");
    Require(printed.empty() || (printed.front() == '-') == (number.front() == '-'), "the sign is kept");
    if (DoubleDecidesTheRounding(number)) {
        Require(printed == FormatWhole(std::strtod(number.c_str(), nullptr)), "the text prints as its number");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    Check(text, ".");
    Check(text, ",");
    return 0;
}
