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
// settings say: blanks, tabs and line feeds are skipped anywhere, then at
// most one sign (+ or -), digits with at most one full stop, an optional
// exponent (E or e, optional sign, digits; "1e" and "1e+" read as 1).
// Reading stops at the first character that cannot continue the number, an
// embedded NUL included; a text without a leading number gives 0, and
// "inf", "nan" and hexadecimal are no numbers. A number beyond the double
// range gives an infinity, which no range accepts; one too small for it
// gives a zero of its sign.
double ParseNumber(std::string_view text);

// The display text of a stored single: seven significant digits, plain
// positional form for decimal exponents -4 to 6, otherwise a mantissa with
// E, sign and at least two exponent digits; no thousands separators; zero,
// negative zero too, is 0. decimalSeparator is the user's regional one.
// NaN and the infinities, which the window never shows, give "NaN", "Inf"
// and "-Inf".
std::string NumberToText(float value, std::string_view decimalSeparator);
