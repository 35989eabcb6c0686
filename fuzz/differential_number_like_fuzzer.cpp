// SPDX-License-Identifier: GPL-3.0-or-later
// ParseNumber against the old one on texts built to look like numbers: each
// input byte picks a piece, so that signs, points, exponents, blanks and
// digit runs long enough to leave the double range turn up far more often
// than in arbitrary bytes.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "calc/number_text.h"
#include "fuzz/old_number_text.h"
#include "fuzz/require.h"

namespace {

using namespace std::string_view_literals;

const std::string Zeros(100, '0');
const std::string Nines(100, '9');

const std::array<std::string_view, 36> Pieces = {
    "0"sv, "1"sv, "2"sv, "3"sv, "4"sv, "5"sv, "6"sv, "7"sv, "8"sv, "9"sv,
    "."sv, "e"sv, "E"sv, "+"sv, "-"sv, " "sv, "\t"sv, "\n"sv, "\r"sv, "\0"sv, ","sv, "x"sv, "p"sv, "inf"sv, "nan"sv,
    Zeros, Nines, "e308"sv, "e-308"sv, "e-324"sv, "e309"sv, "e-400"sv, "e99999999999"sv,
    "17976931348623157"sv, "49406564584124654"sv, "22250738585072014"sv,
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string text;
    for (std::size_t i = 0; i < size; ++i) {
        text += Pieces[data[i] % Pieces.size()];
    }
    Require(SameBits(ParseNumber(text), OldParseNumber(text)), "ParseNumber reads as the old one");
    return 0;
}
