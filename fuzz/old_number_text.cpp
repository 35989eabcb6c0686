// SPDX-License-Identifier: GPL-3.0-or-later
// The number texts as they were before they moved onto std::to_chars and
// std::from_chars, kept unchanged but for the names as the oracle of the
// differential fuzzers.
#include "fuzz/old_number_text.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace {

bool IsSkipped(char c)
{
    return c == ' ' || c == '\t' || c == '\n';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Reads text from the left, skipping blanks wherever they stand.
class Reader {
public:
    explicit Reader(std::string_view text) : text_(text) {}

    // The next character that is not skipped, or '\0' at the end (an
    // embedded NUL ends the number just as well).
    char Peek()
    {
        while (pos_ < text_.size() && IsSkipped(text_[pos_])) {
            ++pos_;
        }
        return pos_ < text_.size() ? text_[pos_] : '\0';
    }
    void Take() { ++pos_; }
    std::size_t Position() const { return pos_; }
    void Rewind(std::size_t pos) { pos_ = pos; }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

// Decimal exponent of the first significant digit of a cleaned number text
// ("-0012.5e3"), used only to tell overflow from underflow when the value
// lies outside the double range. The exponent saturates instead of wrapping.
long long DecimalMagnitude(std::string_view number)
{
    std::size_t i = number.front() == '-' ? 1 : 0;
    long long wholeDigits = 0;
    long long zerosAfterPoint = 0;
    bool seenPoint = false;
    bool seenSignificant = false;
    for (; i < number.size() && (IsDigit(number[i]) || number[i] == '.'); ++i) {
        const char c = number[i];
        if (c == '.') {
            seenPoint = true;
        } else if (!seenPoint) {
            seenSignificant = seenSignificant || c != '0';
            wholeDigits += seenSignificant ? 1 : 0;
        } else if (!seenSignificant) {
            seenSignificant = c != '0';
            zerosAfterPoint += seenSignificant ? 0 : 1;
        }
    }
    const long long magnitude = wholeDigits > 0 ? wholeDigits - 1 : -(zerosAfterPoint + 1);
    long long exponent = 0;
    if (i < number.size()) {  // 'e', optional '-', digits
        ++i;
        const bool negative = i < number.size() && number[i] == '-';
        if (negative) {
            ++i;
        }
        for (; i < number.size(); ++i) {
            if (exponent < 1'000'000'000LL) {
                exponent = exponent * 10 + (number[i] - '0');
            }
        }
        exponent = negative ? -exponent : exponent;
    }
    return magnitude + exponent;
}

}  // namespace

double OldParseNumber(std::string_view text)
{
    // The number is copied without the skipped blanks into the form that
    // std::from_chars reads; from_chars ignores the C locale, which the
    // toolkit sets from the user's settings.
    Reader reader(text);
    std::string number;

    const char sign = reader.Peek();
    if (sign == '+' || sign == '-') {
        if (sign == '-') {
            number += '-';
        }
        reader.Take();
    }

    bool anyDigit = false;
    bool seenPoint = false;
    for (char c = reader.Peek(); IsDigit(c) || (c == '.' && !seenPoint); c = reader.Peek()) {
        anyDigit = anyDigit || IsDigit(c);
        seenPoint = seenPoint || c == '.';
        number += c;
        reader.Take();
    }
    if (!anyDigit) {
        return 0.0;
    }

    // An exponent counts only when at least one digit follows the E and its
    // sign; otherwise "1e" and "1e+" read as 1.
    const std::size_t beforeExponent = reader.Position();
    const char e = reader.Peek();
    if (e == 'e' || e == 'E') {
        std::string exponent = "e";
        reader.Take();
        const char expSign = reader.Peek();
        if (expSign == '+' || expSign == '-') {
            if (expSign == '-') {
                exponent += '-';
            }
            reader.Take();
        }
        bool expDigit = false;
        for (char c = reader.Peek(); IsDigit(c); c = reader.Peek()) {
            expDigit = true;
            exponent += c;
            reader.Take();
        }
        if (expDigit) {
            number += exponent;
        } else {
            reader.Rewind(beforeExponent);
        }
    }

    double value = 0.0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    (void)end;
    if (error == std::errc::result_out_of_range) {
        const bool negative = number.front() == '-';
        if (DecimalMagnitude(number) >= 0) {
            value = std::numeric_limits<double>::infinity();
        } else {
            value = 0.0;
        }
        value = negative ? -value : value;
    }
    return value;
}

std::string OldNumberToText(float value, std::string_view decimalSeparator)
{
    if (std::isnan(value)) {
        return "NaN";
    }
    if (std::isinf(value)) {
        return value < 0 ? "-Inf" : "Inf";
    }
    if (value == 0.0f) {
        return "0";
    }

    // "d.dddddde+XX": seven significant digits, rounded to nearest.
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value),
                                      std::chars_format::scientific, 6);
    const std::string_view scientific(buffer, static_cast<std::size_t>(result.ptr - buffer));

    const bool negative = scientific.front() == '-';
    const std::size_t first = negative ? 1 : 0;
    const std::size_t ePos = scientific.find('e');
    std::string digits;
    for (std::size_t i = first; i < ePos; ++i) {
        if (scientific[i] != '.') {
            digits += scientific[i];
        }
    }
    while (digits.size() > 1 && digits.back() == '0') {
        digits.pop_back();
    }
    int exponent = 0;
    std::from_chars(scientific.data() + ePos + (scientific[ePos + 1] == '+' ? 2 : 1),
                    scientific.data() + scientific.size(), exponent);

    std::string text = negative ? "-" : "";
    if (exponent >= -4 && exponent <= 6) {
        if (exponent < 0) {
            text += "0";
            text += decimalSeparator;
            text.append(static_cast<std::size_t>(-exponent - 1), '0');
            text += digits;
        } else {
            const auto wholeDigits = static_cast<std::size_t>(exponent) + 1;
            if (digits.size() <= wholeDigits) {
                text += digits;
                text.append(wholeDigits - digits.size(), '0');
            } else {
                text += digits.substr(0, wholeDigits);
                text += decimalSeparator;
                text += digits.substr(wholeDigits);
            }
        }
        return text;
    }

    text += digits.substr(0, 1);
    if (digits.size() > 1) {
        text += decimalSeparator;
        text += digits.substr(1);
    }
    text += exponent < 0 ? "E-" : "E+";
    const int magnitude = exponent < 0 ? -exponent : exponent;
    if (magnitude < 10) {
        text += '0';
    }
    text += std::to_string(magnitude);
    return text;
}
