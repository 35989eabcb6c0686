// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "calc/lens.h"
#include "calc/number_text.h"

namespace {

struct Example {
    const char* format;
    float target;
    const char* targetUnit;
    const char* kind;
    float distance;
    const char* distanceUnit;
    float percent;
    float focalLength;
    const char* shownWithPoint;
    const char* shownWithComma;
};

// Runs the window's lookups and the calculation on a fresh record.
CalcState Calculate(const Example& e)
{
    CalcState s;
    s.sngTargetSize = e.target;
    s.sngDistance = e.distance;
    s.sngScreenPercent = e.percent;
    s.strCameraFormat = e.format;
    s.strTargetUnit = e.targetUnit;
    s.strDimensionKind = e.kind;
    s.strDistanceUnit = e.distanceUnit;
    EXPECT_TRUE(LookUpFactors(s));
    ComputeFocalLength(s);
    return s;
}

const Example Examples[] = {
    {"1/3", 1000, "milimetros", "Largura", 5, "metros", 100, 24.0f, "24", "24"},
    {"1/2", 3, "metros", "Altura", 12, "metros", 80, 15.36f, "15.4", "15,4"},
    {"2/3", 170, "centimetros", "Altura", 20, "metros", 50, 38.823528f, "38.8", "38,8"},
    {"1/3", 8, "metros", "Altura", 5, "metros", 100, 2.25f, "2.2", "2,2"},
    {"1/3", 8, "metros", "Altura", 15, "metros", 100, 6.75f, "6.8", "6,8"},
    {"1", 1, "milimetros", "Diagonal", 10000, "metros", 100, 1.5875e8f, "1.5875E+08", "1,5875E+08"},
    {"1/4", 10000, "metros", "Altura", 1, "milimetros", 1, 2.4e-9f, "0", "0"},
    // A foot is twelve inches: the same geometry in feet gives the same lens.
    {"1/3", 6, "pés", "Largura", 30, "pés", 100, 24.0f, "24", "24"},
    {"1/3", 2, "pés", "Altura", 5, "metros", 100, 29.527559f, "29.5", "29,5"},
    // Only the ratio matters as long as both lengths are converted.
    {"1/3", 1000, "milimetros", "Largura", 500, "centimetros", 100, 24.0f, "24", "24"},
};

TEST(ComputeFocalLength, WorkedExamplesGiveTheStoredValueAndShownText)
{
    for (const Example& e : Examples) {
        SCOPED_TRACE(std::string(e.format) + " " + e.targetUnit + " " + e.kind + " " + e.shownWithPoint);
        const CalcState s = Calculate(e);
        EXPECT_EQ(s.sngScreenFraction, static_cast<float>(e.percent * 0.01));
        EXPECT_FLOAT_EQ(s.sngFocalLength, e.focalLength);  // figures above are rounded
        EXPECT_EQ(s.sngFocalLengthShown, RoundToTenth(s.sngFocalLength));
        EXPECT_EQ(NumberToText(s.sngFocalLengthShown, "."), e.shownWithPoint);
        EXPECT_EQ(NumberToText(s.sngFocalLengthShown, ","), e.shownWithComma);
    }
}

TEST(ComputeFocalLength, UsesSinglePrecisionOperandsAndOneRoundingPerStore)
{
    const CalcState s = Calculate(Examples[2]);
    const double numerator = static_cast<double>(static_cast<float>(50 * 0.01)) * 6.6f * 20.0f * 1000.0f;
    const double denominator = 1.0 * 170.0f * 10.0f;
    EXPECT_EQ(s.sngFocalLength, static_cast<float>(numerator / denominator));
    EXPECT_EQ(s.sngFocalLengthShown, static_cast<float>(388.0 / 10.0));
}

TEST(InRange, BoundsAreInclusiveOnTheStoredSingle)
{
    struct Case {
        std::string text;
        float lowest, highest;
        bool accepted;
    } const cases[] = {
        {"1", 1, 10000, true},
        {"10000", 1, 10000, true},
        {"0.99", 1, 10000, false},
        {"10000.01", 1, 10000, false},
        {"0.99999999", 1, 10000, true},  // stored as exactly 1
        {"10000.0001", 1, 10000, true},  // stored as exactly 10000
        {"100", 1, 100, true},
        {"100.5", 1, 100, false},
        {"0", 1, 100, false},
        {"101", 1, 100, false},
        {"", 1, 10000, false},
        {"-5", 1, 10000, false},
        {std::string(400, '9'), 1, 10000, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const float stored = static_cast<float>(ParseNumber(c.text));
        EXPECT_EQ(InRange(stored, c.lowest, c.highest), c.accepted);
    }
    EXPECT_FALSE(InRange(std::numeric_limits<float>::quiet_NaN(), 1, 100));
}

TEST(RoundToTenth, TiesGoToTheEvenTenth)
{
    struct Case {
        float value;
        float rounded;
    } const cases[] = {
        {2.25f, 2.2f},   {6.75f, 6.8f},  {0.05f, 0.0f}, {0.25f, 0.2f}, {0.35f, 0.4f},
        {15.36f, 15.4f}, {24.0f, 24.0f}, {0.04f, 0.0f}, {0.06f, 0.1f}, {1.5875e8f, 1.5875e8f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(RoundToTenth(c.value), c.rounded);
    }
}

TEST(LookUpFactor, AMissLeavesTheFieldUnchanged)
{
    const char* misses[] = {"1/2.5", "", "metro", "Metros", " metros", "metros ", "pes", "altura", "1/3 "};
    for (const char* miss : misses) {
        SCOPED_TRACE(miss);
        for (float before : {0.0f, 4.8f}) {
            float field = before;
            EXPECT_FALSE(LookUpFactor(miss, SensorFormatTable, field));
            EXPECT_FALSE(LookUpFactor(miss, LengthUnitTable, field));
            EXPECT_FALSE(LookUpFactor(miss, DimensionKindTable, field));
            EXPECT_EQ(field, before);
        }
    }
}

TEST(LookUpFactors, EachChoiceGoesToItsOwnFieldAndAMissStopsNoOtherLookup)
{
    struct Case {
        const char *format, *targetUnit, *kind, *distanceUnit;
        bool found;
        float sensor, targetFactor, dimension, distanceFactor;  // from a state of -1s
    } const cases[] = {
        {"2/3", "centimetros", "Diagonal", "pés", true, 6.6f, 10, 0.6f, 304.8f},
        // An empty list (only while the window is being cleared) matches nothing.
        {"", "metros", "Altura", "milimetros", false, -1, 1000, 1, 1},
        {"1", "", "Largura", "metros", false, 9.525f, -1, 0.75f, 1000},
        {"1/4", "pés", "", "centimetros", false, 2.4f, 304.8f, -1, 10},
        {"1/2", "milimetros", "Altura", "", false, 4.8f, 1, 1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.format) + "/" + c.targetUnit + "/" + c.kind + "/" + c.distanceUnit);
        CalcState s;
        s.strCameraFormat = c.format;
        s.strTargetUnit = c.targetUnit;
        s.strDimensionKind = c.kind;
        s.strDistanceUnit = c.distanceUnit;
        s.sngSensorHeight = s.sngTargetUnitFactor = s.sngDimensionFactor = s.sngDistanceUnitFactor = -1;
        EXPECT_EQ(LookUpFactors(s), c.found);
        EXPECT_EQ(s.sngSensorHeight, c.sensor);
        EXPECT_EQ(s.sngTargetUnitFactor, c.targetFactor);
        EXPECT_EQ(s.sngDimensionFactor, c.dimension);
        EXPECT_EQ(s.sngDistanceUnitFactor, c.distanceFactor);
    }
}

// A record with accepted entries whose factors can be set freely, and old
// results that must survive a stopped calculation.
CalcState Stale(float sensor, float targetFactor, float dimension, float distanceFactor, float percent = 100)
{
    CalcState s;
    s.sngScreenPercent = percent;
    s.sngTargetSize = 10;
    s.sngDistance = 10;
    s.sngSensorHeight = sensor;
    s.sngTargetUnitFactor = targetFactor;
    s.sngDimensionFactor = dimension;
    s.sngDistanceUnitFactor = distanceFactor;
    s.sngScreenFraction = -1;
    s.sngFocalLength = -2;
    s.sngFocalLengthShown = -3;
    return s;
}

TEST(ComputeFocalLength, FloatingPointChecksStopAndKeepLaterFields)
{
    const float huge = std::numeric_limits<float>::max();
    const float tiny = std::numeric_limits<float>::denorm_min();
    const float inf = std::numeric_limits<float>::infinity();
    const float signalling = std::numeric_limits<float>::signaling_NaN();
    struct Case {
        const char* what;
        CalcState state;
        const char* step;  // the check that stops the calculation
        float fraction, focalLength;
    } const cases[] = {
        {"division by zero", Stale(3.6f, 1000, 0, 1000), "focal length", 1, -2},
        {"zero over zero", Stale(0, 1000, 0, 1000), "focal length", 1, -2},
        {"infinity times zero", Stale(inf, 1000, 1, 0), "focal length", 1, -2},
        {"infinity over infinity", Stale(inf, inf, 1, 1000), "focal length", 1, -2},
        {"signalling NaN factor", Stale(signalling, 1000, 1, 1000), "focal length", 1, -2},
        {"signalling NaN percentage", Stale(3.6f, 1000, 1, 1000, signalling), "percentage", -1, -2},
        // The quotient's store into a single overflows: the next check stops.
        {"quotient beyond single range", Stale(huge, tiny, tiny, huge), "rounding", 1, inf},
        {"tenths beyond single range", Stale(3e38f, 1000, 1, 1000), "rounding", 1, 3e38f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CalcState s = c.state;
        try {
            ComputeFocalLength(s);
            ADD_FAILURE() << "no error";
        } catch (const FloatingPointError& error) {
            EXPECT_STREQ(error.what(), c.step);
        }
        EXPECT_EQ(s.sngScreenFraction, c.fraction);
        EXPECT_EQ(s.sngFocalLength, c.focalLength);
        EXPECT_EQ(s.sngFocalLengthShown, -3.0f);
    }
}

TEST(ComputeFocalLength, ZeroSensorOrDistanceFactorGivesZeroWithoutError)
{
    for (CalcState s : {Stale(0, 1000, 1, 1000), Stale(3.6f, 1000, 1, 0)}) {
        EXPECT_NO_THROW(ComputeFocalLength(s));
        EXPECT_EQ(s.sngFocalLength, 0.0f);
        EXPECT_EQ(s.sngFocalLengthShown, 0.0f);
    }
}

TEST(ComputeFocalLength, UnderflowIsNotAnError)
{
    CalcState s = Stale(std::numeric_limits<float>::denorm_min(), 1, 1, 1);
    EXPECT_NO_THROW(ComputeFocalLength(s));
    EXPECT_EQ(s.sngFocalLengthShown, 0.0f);
}

}  // namespace
