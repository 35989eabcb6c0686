// SPDX-License-Identifier: GPL-3.0-or-later
// ParseNumber on arbitrary bytes. No text reads as NaN: fast_float is
// handed only texts that open with a digit or a full stop after one sign,
// and nothing else in the reader makes one. Blanks, tabs and line feeds
// count nowhere, nothing after a comma counts, and a text that starts like
// a decimal number reads as the C library's strtod reads it in the C locale,
// an implementation independent of the fast_float ours stands on, and as
// libstdc++'s std::from_chars reads it wherever that finds it in range.
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "calc/number_text.h"
#include "fuzz/require.h"

namespace {

bool Same(double a, double b)
{
    return a == b && std::signbit(a) == std::signbit(b);
}

std::string WithoutBlanks(std::string_view text)
{
    std::string kept;
    for (char c : text) {
        if (c != ' ' && c != '\t' && c != '\n') {
            kept += c;
        }
    }
    return kept;
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// strtod also reads "inf", "nan" and hexadecimal numbers, which are no
// numbers to ParseNumber: compare only texts that open with a decimal one.
bool OpensLikeADecimalNumber(std::string_view text)
{
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        text.remove_prefix(1);
    }
    if (text.empty() || !(IsDigit(text[0]) || text[0] == '.')) {
        return false;
    }
    return !(text.size() > 1 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const double value = ParseNumber(text);
    Require(!std::isnan(value), "no text reads as NaN");

    const std::string compact = WithoutBlanks(text);
    Require(Same(ParseNumber(compact), value), "blanks change nothing");
    Require(Same(ParseNumber(std::string(text) + ",5"), value), "nothing after a comma counts");

    // An embedded NUL ends the number, as it ends strtod's string.
    const std::string terminated = compact.substr(0, compact.find('\0'));
    if (OpensLikeADecimalNumber(terminated)) {
        Require(Same(std::strtod(terminated.c_str(), nullptr), value), "strtod reads the same value");
        const std::string_view number = std::string_view(terminated).substr(terminated.front() == '+' ? 1 : 0);
        double read = 0;
        if (std::from_chars(number.data(), number.data() + number.size(), read).ec == std::errc()) {
            Require(Same(read, value), "std::from_chars reads the same value");
        }
    }
    return 0;
}
