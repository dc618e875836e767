// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/axis_ticks.h"
#include "support/param_name.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <vector>

namespace tesmera {

void PrintTo(const AxisTick& tick, std::ostream* out) {
    *out << "{" << tick.Value << ", " << tick.Pixel << ", \"" << tick.Text.toStdString() << "\"}";
}

namespace {

// Labels measured without a font: six pixels a character along a horizontal
// axis, a 14-pixel line on a vertical one.
int SixPixelsPerCharacter(const QString& text) {
    return 6 * static_cast<int>(text.size());
}
int FourteenPixelLine(const QString&) {
    return 14;
}

struct TicksCase : test::NamedCase<TicksCase> {
    AxisScale scale;
    double increment;  // the axis setting
    int labelsSeparation;
    bool roundFirstLabel;
    bool labelsOnAxis;
    const char* format;
    double expectedIncrement;
    std::vector<AxisTick> expected;
};

AxisTickInputs InputsOf(const TicksCase& c) {
    return {c.scale,
            c.increment,
            c.labelsSeparation,
            c.roundFirstLabel,
            c.labelsOnAxis,
            QString::fromLatin1(c.format),
            {QStringLiteral("."), QStringLiteral(",")},
            c.scale.Horizontal ? SixPixelsPerCharacter : FourteenPixelLine};
}

class ValueTicksTest : public testing::TestWithParam<TicksCase> {};

TEST_P(ValueTicksTest, ListsValuePixelAndText) {
    const AxisTicks ticks = ValueTicks(InputsOf(GetParam()));
    EXPECT_DOUBLE_EQ(ticks.Increment, GetParam().expectedIncrement);
    const std::vector<AxisTick>& expected = GetParam().expected;
    ASSERT_EQ(ticks.Ticks.size(), expected.size()) << testing::PrintToString(ticks.Ticks);
    for (std::size_t i = 0; i < expected.size(); ++i) {
        // Values come from repeated subtraction; the table writes them rounded.
        EXPECT_NEAR(ticks.Ticks[i].Value, expected[i].Value, 1e-9 * std::abs(expected[i].Value))
            << i;
        EXPECT_EQ(ticks.Ticks[i].Pixel, expected[i].Pixel) << i;
        EXPECT_EQ(ticks.Ticks[i].Text, expected[i].Text) << i;
    }
}

// Vertical axes run from the bottom (EndPixel) up; horizontal ones from the
// left (StartPixel).
INSTANTIATE_TEST_SUITE_P(
    Axes, ValueTicksTest,
    testing::Values(
        TicksCase{
            "ticks_0_4_80px",
            {0, 4, 10, 90, false, false},
            0,
            10,
            true,
            true,
            "#,##0.00",
            1,
            {{4, 10, "4.00"}, {3, 30, "3.00"}, {2, 50, "2.00"}, {1, 70, "1.00"}, {0, 90, "0.00"}}},
        // Five labels of 14 + 1 pixels do not fit on 40 pixels: the increment
        // climbs to 2.
        TicksCase{"ticks_0_4_40px",
                  {0, 4, 0, 40, false, false},
                  0,
                  10,
                  true,
                  true,
                  "0",
                  2,
                  {{4, 0, "4"}, {2, 20, "2"}, {0, 40, "0"}}},
        TicksCase{"ticks_0_4_80px_inverted",
                  {0, 4, 10, 90, false, true},
                  0,
                  10,
                  true,
                  true,
                  "0",
                  1,
                  {{4, 90, "4"}, {3, 70, "3"}, {2, 50, "2"}, {1, 30, "1"}, {0, 10, "0"}}},
        // The first label is rounded down to a multiple of the increment.
        TicksCase{"ticks_0_5_4_3_100px_horizontal",
                  {0.5, 4.3, 0, 100, true, false},
                  0,
                  10,
                  true,
                  true,
                  "0.0",
                  1,
                  {{4, 92, "4.0"}, {3, 66, "3.0"}, {2, 39, "2.0"}, {1, 13, "1.0"}}},
        // Without rounding the labels count down from the range's top.
        TicksCase{"ticks_0_5_4_3_100px_unrounded",
                  {0.5, 4.3, 0, 100, true, false},
                  0,
                  10,
                  false,
                  true,
                  "0.0",
                  1,
                  {{4.3, 100, "4.3"}, {3.3, 74, "3.3"}, {2.3, 47, "2.3"}, {1.3, 21, "1.3"}}},
        // Labels on the end pixels are dropped when they may not sit on the
        // axis ends.
        TicksCase{"ticks_0_4_80px_inside_only",
                  {0, 4, 10, 90, false, false},
                  0,
                  10,
                  true,
                  false,
                  "0",
                  1,
                  {{3, 30, "3"}, {2, 50, "2"}, {1, 70, "1"}}},
        // A set increment is a floor the search starts from.
        TicksCase{"ticks_0_4_80px_increment_2",
                  {0, 4, 10, 90, false, false},
                  2,
                  10,
                  true,
                  true,
                  "0",
                  2,
                  {{4, 10, "4"}, {2, 50, "2"}, {0, 90, "0"}}},
        // A span below 1 climbs from the smallest increment; the label at 0,
        // reached by repeated subtraction, is written without a sign.
        TicksCase{"ticks_minus_0_8_0_100px_horizontal",
                  {-0.8, 0, 0, 100, true, false},
                  0,
                  10,
                  true,
                  true,
                  "0.0",
                  0.2,
                  {{0, 100, "0.0"},
                   {-0.2, 75, "-0.2"},
                   {-0.4, 50, "-0.4"},
                   {-0.6, 25, "-0.6"},
                   {-0.8, 0, "-0.8"}}},
        TicksCase{
            "ticks_4_0_80px_reversed", {4, 0, 10, 90, false, false}, 0, 10, true, true, "0", 1, {}},
        // No separation: the starting increment is used however many labels
        // that makes; 10000 or more are not drawn at all.
        TicksCase{"ticks_0_20000_80px_no_separation",
                  {0, 20000, 10, 90, false, false},
                  0,
                  0,
                  true,
                  true,
                  "0",
                  1,
                  {}},
        // Far from zero the increment is lost in rounding; the list stops.
        TicksCase{"ticks_1e20_1e20_plus_1e5_80px_increment_1000",
                  {1e20, 1e20 + 1e5, 10, 90, false, false},
                  1000,
                  0,
                  false,
                  true,
                  "0",
                  1000,
                  {{1e20 + 1e5, 10, "100000000000000098000"}}}),
    test::CaseName());

struct IncrementLengthCase : test::NamedCase<IncrementLengthCase> {
    int axisLength;
    double expected;
};

class TickIncrementTest : public testing::TestWithParam<IncrementLengthCase> {};

// The length is a parameter: the layout measures with the previous frame's.
TEST_P(TickIncrementTest, FollowsTheGivenLength) {
    const TicksCase base{"", {0, 30, 0, 999, false, false}, 0, 10, true, true, "0", 0, {}};
    EXPECT_DOUBLE_EQ(TickIncrement(InputsOf(base), GetParam().axisLength), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Lengths, TickIncrementTest,
                         testing::Values(IncrementLengthCase{"range_0_30_at_600px", 600, 1},
                                         IncrementLengthCase{"range_0_30_at_76px", 76, 10},
                                         IncrementLengthCase{"range_0_30_at_0px", 0, 1e-12}),
                         test::CaseName());

struct RoundingCase : test::NamedCase<RoundingCase> {
    double value;
    double increment;
    double expected;
};

class RoundedToIncrementTest : public testing::TestWithParam<RoundingCase> {};

TEST_P(RoundedToIncrementTest, MovesTowardsZero) {
    EXPECT_DOUBLE_EQ(RoundedToIncrement(GetParam().value, GetParam().increment),
                     GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Values, RoundedToIncrementTest,
                         testing::Values(RoundingCase{"positive", 4.3, 2, 4},
                                         RoundingCase{"negative", -4.3, 2, -4},
                                         RoundingCase{"on_a_multiple", 6, 2, 6},
                                         // The quotient overflows: the value stays.
                                         RoundingCase{"overflowing_quotient", 1e308, 1e-12, 1e308}),
                         test::CaseName());

}  // namespace
}  // namespace tesmera
