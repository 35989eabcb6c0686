// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

// The whole-number text the printed report writes its numbers with (the
// placeholder "#"): the value rounded to the nearest whole number, written
// as its decimal digits alone, with a leading minus when negative. A value
// that comes to zero is written as nothing, since "#" shows a digit or
// nothing.
//
// Choices of ours: halves round away from zero (3.5 gives 4, 2.5 gives 3,
// -2.5 gives -3), which is what a reader of the paper expects; a negative
// value that rounds to zero gives the empty text, never a lone "-"; every
// finite double is written in full (1e300 gives all of its 301 digits);
// infinities and NaN have no digits to show and give the empty text.
std::string FormatWhole(double value);

// A text that reads wholly as a number is written as above; any other text
// comes back unchanged, so that "1/3", "metros" and "pés" print as they
// read and "1" prints as 1. Reading wholly as a number means: optional
// blanks (space, tab) around an optional sign and digits holding at most
// one decimalSeparator (the user's regional one), with at least one digit;
// no thousands separators, no exponent. The rounding works on the digits
// themselves, so a text of any length is rounded exactly.
std::string FormatWhole(std::string_view text, std::string_view decimalSeparator);
