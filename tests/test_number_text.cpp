// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "calc/number_text.h"

namespace {

TEST(IsNumberKey, AcceptsDigitsFullStopAndBackspaceOnly)
{
    for (char c : std::string("0123456789.")) {
        EXPECT_TRUE(IsNumberKey(c)) << c;
    }
    EXPECT_TRUE(IsNumberKey(BackspaceCode));
    // Enter, Ctrl+C, Ctrl+V, Ctrl+X, signs, comma, blank, letters, other
    // punctuation, NUL, Tab, Delete, é, a code past the 8-bit set and none.
    const int refused[] = {EnterCode, 3,   22,  24, '-', '+', ',',  ' ',        'a', 'E',
                           'e',       '/', ':', 0,  9,   127, 0xE9, 0x2E + 256, -1,  0xFFFF};
    for (int code : refused) {
        EXPECT_FALSE(IsNumberKey(code)) << code;
    }
}

TEST(ParseNumber, ReadsTheLeadingNumber)
{
    struct Case {
        std::string text;
        double value;
    } const cases[] = {
        {"", 0},
        {".", 0},
        {".5", 0.5},
        {"12.5", 12.5},
        {"1.2.3", 1.2},
        {"100abc", 100},
        {"0012", 12},
        {"100", 100},
        {"1 2", 12},
        {" \t\n1\t0 0 ", 100},
        {"-5", -5},
        {"+7", 7},
        {"- 3", -3},
        {"-", 0},
        {"+", 0},
        {"--1", 0},
        {"abc", 0},
        {"1,5", 1},
        {"1e3", 1000},
        {"1E-2", 0.01},
        {"2e+2", 200},
        {"1e", 1},
        {"1e+", 1},
        {"1e-x", 1},
        {"1 e 2", 100},
        {"1e2.5", 100},
        {"0.99999999", 0.99999999},
        {"1e-999", 0},
        {std::string("12\00034", 5), 12},  // an embedded NUL ends the number
        {"\u00E912", 0},
        {"12\u00E9", 12},
        {"\r12", 0},
        {"&H10", 0},
        {"+-5", 0},
        {"-+5", 0},
        {".e5", 0},
        {"-.", 0},
        {"-.5", -0.5},
        {"1.e2", 100},
        {"0x1p3", 0},
        {"inf", 0},
        {"-inf", 0},
        {"INFINITY", 0},
        {"nan", 0},
        {"+nan", 0},
        {"1inf", 1},
        {"1e+-5", 1},
        {" - 1 2 . 5 e 1 ", -125},
        {"1e" + std::string(29, '0') + "2", 100},
        {std::string("\0005", 2), 0},
        {std::string("-\0005", 3), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_DOUBLE_EQ(ParseNumber(c.text), c.value);
    }
}

// Beyond the double range a number is an infinity, or a zero when too
// small, with its sign either way; the text may have any number of digits,
// and its exponent more than any integer holds.
TEST(ParseNumber, TextsBeyondTheDoubleRangeKeepTheirSign)
{
    constexpr double Infinity = std::numeric_limits<double>::infinity();
    const std::string longExponent(30, '9');
    const std::string zeros(400, '0');
    const std::string manyZeros(5000, '0');
    struct Case {
        std::string text;
        double value;
    } const cases[] = {
        {std::string(400, '1'), Infinity},
        {"1e999", Infinity},
        {"-1e999", -Infinity},
        {"0.000001e400", Infinity},
        {"1" + manyZeros + "e-4000x", Infinity},
        {"1" + manyZeros + "e-5000", 1.0},
        {"1e" + std::string(32, '9'), Infinity},
        {"1e-" + std::string(32, '9'), 0.0},
        {"1e" + longExponent, Infinity},
        {"-1e" + longExponent, -Infinity},
        {"1e+" + longExponent, Infinity},
        {"1e-" + longExponent, 0.0},
        {"-1e-" + longExponent, -0.0},
        {"0." + zeros + "1e" + longExponent, Infinity},
        {"1" + zeros + "e-" + longExponent, 0.0},
        {"1e" + std::string(27, '0') + "400", Infinity},
        {"99999e-330", 0.0},
        {"-0." + zeros + "1", -0.0},
        {"-0." + zeros + "1e800", -Infinity},
        {"1" + zeros + "e-750", 0.0},
        {"- 1 e 4 0 0", -Infinity},
        // At the edges: ties go to the even neighbour, zero and the largest.
        {"2.4703282292062327e-324", 0.0},
        {"-2.4703282292062327e-324", -0.0},
        {"2.4703282292062328e-324", std::numeric_limits<double>::denorm_min()},
        {"1.7976931348623158e308", std::numeric_limits<double>::max()},
        {"-1.7976931348623159e308", -Infinity},
        {"-0", -0.0},
        {"-", 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 40));
        const double value = ParseNumber(c.text);
        EXPECT_EQ(value, c.value);
        EXPECT_EQ(std::signbit(value), std::signbit(c.value));
    }
}

TEST(ParseNumber, SurvivesEveryByte)
{
    std::string text;
    for (int byte = 0; byte < 256; ++byte) {
        text += static_cast<char>(byte);
        EXPECT_FALSE(std::isnan(ParseNumber(text)));
        EXPECT_FALSE(std::isnan(ParseNumber(std::string(1, static_cast<char>(byte)) + "5")));
    }
}

TEST(NumberToText, GeneralNumberForm)
{
    struct Case {
        float value;
        const char* point;
        const char* comma;
    } const cases[] = {
        {24.0f, "24", "24"},
        {100.0f, "100", "100"},
        {15.4f, "15.4", "15,4"},
        {0.0001f, "0.0001", "0,0001"},
        {0.00012345f, "0.00012345", "0,00012345"},
        {1234567.0f, "1234567", "1234567"},
        {12345678.0f, "1.234568E+07", "1,234568E+07"},
        {10000000.0f, "1E+07", "1E+07"},
        {1e-5f, "1E-05", "1E-05"},
        {1.5e-30f, "1.5E-30", "1,5E-30"},
        {3.4e38f, "3.4E+38", "3,4E+38"},
        {9999999.0f, "9999999", "9999999"},
        {0.000099999997f, "0.0001", "0,0001"},  // rounding decides the form
        {0.0f, "0", "0"},
        {-0.0f, "0", "0"},
        {-2.5f, "-2.5", "-2,5"},
        {-1.5875e8f, "-1.5875E+08", "-1,5875E+08"},
        {0.1f, "0.1", "0,1"},
        {1.0f / 3.0f, "0.3333333", "0,3333333"},
        {std::numeric_limits<float>::max(), "3.402823E+38", "3,402823E+38"},
        {-std::numeric_limits<float>::min(), "-1.175494E-38", "-1,175494E-38"},
        {std::numeric_limits<float>::denorm_min(), "1.401298E-45", "1,401298E-45"},
        {std::numeric_limits<float>::quiet_NaN(), "NaN", "NaN"},
        {std::numeric_limits<float>::infinity(), "Inf", "Inf"},
        {-std::numeric_limits<float>::infinity(), "-Inf", "-Inf"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.point);
        EXPECT_EQ(NumberToText(c.value, "."), c.point);
        EXPECT_EQ(NumberToText(c.value, ","), c.comma);
    }
}

// A regional separator may take more than one byte (the Arabic one is two
// in UTF-8).
TEST(NumberToText, SeparatorOfSeveralBytes)
{
    EXPECT_EQ(NumberToText(-1.5875e8f, "\u066B"), "-1\u066B5875E+08");
    EXPECT_EQ(NumberToText(15.4f, "\u066B"), "15\u066B4");
}

}  // namespace
