// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Text between the program's UTF-8 and the UTF-16 of Windows' wide API, and
// the user's decimal separator.

#include <string>
#include <string_view>

std::wstring Wide(std::string_view text);
std::string Utf8(std::wstring_view wide);

// The decimal separator of the user's regional settings; the full stop when
// Windows gives none or an empty one.
std::string UserDecimalSeparator();
