// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

// Keystroke code of Backspace and Enter as the text boxes report them.
inline constexpr int BackspaceCode = 8;
inline constexpr int EnterCode = 13;

// True for a digit, the full stop and Backspace: the keys a numeric text box
// lets through. Any other code (Enter, control characters, minus, comma,
// blank, letters) is refused.
bool IsNumberKey(int code);

// The leading number of text, read from the left whatever the regional
// settings say: blanks, tabs and line feeds are skipped anywhere, then an
// optional sign, digits with at most one full stop, an optional exponent
// (E or e, optional sign, digits). Reading stops at the first character that
// cannot continue the number; a text without a leading number gives 0.
// A number beyond the double range gives an infinity, which no range accepts.
double ParseNumber(std::string_view text);

// The display text of a stored single: seven significant digits, plain
// positional form for decimal exponents -4 to 6, otherwise a mantissa with
// E, sign and at least two exponent digits; no thousands separators.
// decimalSeparator is the user's regional one.
std::string NumberToText(float value, std::string_view decimalSeparator);
