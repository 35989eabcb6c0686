// SPDX-License-Identifier: GPL-3.0-or-later
// FormatWhole on every finite double in the input (its bytes taken eight at
// a time): the text is an optional minus and digits without leading zeros,
// or empty for zero, and it names a whole number at most one half away from
// the value; a value that is already whole (every double from 2^52 up) is
// written exactly, with the digits libstdc++'s std::to_chars writes.
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fuzz/require.h"
#include "report/format_whole.h"

namespace {

void Check(double value)
{
    const std::string printed = FormatWhole(value);
    const std::size_t digitsFrom = !printed.empty() && printed.front() == '-' ? 1 : 0;
    Require(printed.find_first_not_of("0123456789", digitsFrom) == std::string::npos, "only a minus and digits");
    Require(printed.size() == digitsFrom || printed[digitsFrom] != '0', "no leading zeros, no zero");
    Require(printed != "-", "no lone minus");

    const double whole = printed.empty() ? 0.0 : std::strtod(printed.c_str(), nullptr);
    Require(std::fabs(whole - value) <= 0.5, "the nearest whole number");
    if (std::trunc(value) == value) {
        Require(whole == value, "a whole value is written exactly");
    }

    char buffer[400];  // the largest double has 309 digits
    const double rounded = std::fabs(std::round(value));
    const std::string digits(buffer,
                             std::to_chars(buffer, buffer + sizeof buffer, rounded, std::chars_format::fixed, 0).ptr);
    Require(printed.substr(digitsFrom) == (digits == "0" ? "" : digits), "std::to_chars writes the same digits");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ForEachFinite<double>(data, size, Check);
    return 0;
}
