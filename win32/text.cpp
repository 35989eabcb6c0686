// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32/text.h"

#include <windows.h>

#include <iterator>

std::wstring Wide(std::string_view text)
{
    std::wstring wide(static_cast<std::size_t>(
                          MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0)),
                      L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                        static_cast<int>(wide.size()));
    return wide;
}

std::string Utf8(std::wstring_view wide)
{
    std::string text(static_cast<std::size_t>(WideCharToMultiByte(
                         CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr)),
                     '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), text.data(),
                        static_cast<int>(text.size()), nullptr, nullptr);
    return text;
}

std::string UserDecimalSeparator()
{
    wchar_t separator[8] = {};  // LOCALE_SDECIMAL holds at most four characters
    const int length =
        GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator, static_cast<int>(std::size(separator)));
    // The length counts the terminating null.
    return length > 1 ? Utf8(std::wstring_view(separator, static_cast<std::size_t>(length - 1))) : ".";
}
