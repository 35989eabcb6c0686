// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <bit>
#include <cstdint>
#include <string>
#include <string_view>

// ParseNumber and NumberToText as they were, the oracle of the differential
// fuzzers.
double OldParseNumber(std::string_view text);
std::string OldNumberToText(float value, std::string_view decimalSeparator);

// Doubles compared bit for bit: the sign of zero counts.
inline bool SameBits(double a, double b)
{
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}
