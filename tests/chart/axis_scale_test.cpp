// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/axis_scale.h"
#include "support/param_name.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tesmera {
namespace {

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(3.5), 4);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(10.51), 11);
}

// Trace points are rounded as doubles, chart positions as long doubles; both
// must give the same pixel for the same value, so no picture changes with
// the overload a caller happens to use.
struct RoundingCase {
    const char* name;
    double value;
    int expected;
};

class RoundHalfEvenOverloads : public testing::TestWithParam<RoundingCase> {};

TEST_P(RoundHalfEvenOverloads, AgreeForEveryDouble) {
    const RoundingCase& c = GetParam();
    EXPECT_EQ(RoundHalfEven(c.value), c.expected);
    EXPECT_EQ(RoundHalfEven(static_cast<long double>(c.value)), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, RoundHalfEvenOverloads,
                         testing::Values(RoundingCase{"Zero", 0.0, 0},
                                         RoundingCase{"NegativeZero", -0.0, 0},
                                         RoundingCase{"HalfGoesDown", 0.5, 0},
                                         RoundingCase{"OneAndAHalfGoesUp", 1.5, 2},
                                         RoundingCase{"NegativeHalf", -0.5, 0},
                                         RoundingCase{"NegativeOneAndAHalf", -1.5, -2},
                                         RoundingCase{"JustBelowAHalf", 0.49999999999999994, 0},
                                         RoundingCase{"JustAboveAHalf", 0.5000000000000001, 1},
                                         RoundingCase{"LargeHalf", 1048575.5, 1048576},
                                         RoundingCase{"LargeNegativeHalf", -1048576.5, -1048576},
                                         RoundingCase{"IntLimit", 2147483647.0, 2147483647}),
                         test::CaseName());

struct LadderCase : test::NamedCase<LadderCase> {
    double start;
    std::vector<double> rungs;
};

class NextIncrementStepTest : public testing::TestWithParam<LadderCase> {};

TEST_P(NextIncrementStepTest, ClimbsTheOneTwoFiveLadder) {
    double x = GetParam().start;
    for (const double expected : GetParam().rungs) {
        x = NextIncrementStep(x);
        EXPECT_DOUBLE_EQ(x, expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Ladders, NextIncrementStepTest,
    testing::Values(LadderCase{"from_1", 1, {2, 5, 10, 20, 50, 100, 200, 500, 1000}},
                    LadderCase{"from_3", 3, {5, 10}},
                    LadderCase{"from_1e_12", 1e-12, {2e-12, 5e-12, 1e-11, 2e-11}},
                    LadderCase{"from_0_05", 0.05, {0.1, 0.2, 0.5, 1}},
                    LadderCase{"just_below_a_rung", 1.9999999999999998, {5}}),
    test::CaseName());

struct IncrementCase : test::NamedCase<IncrementCase> {
    IncrementInputs inputs;
    double expected;
};

class ChooseIncrementTest : public testing::TestWithParam<IncrementCase> {};

TEST_P(ChooseIncrementTest, PicksTheFirstRungWhoseLabelsFit) {
    EXPECT_DOUBLE_EQ(ChooseIncrement(GetParam().inputs), GetParam().expected);
}

// A value axis of 76 pixels with 14-pixel labels has room for 5 labels.
INSTANTIATE_TEST_SUITE_P(
    Cases, ChooseIncrementTest,
    testing::Values(
        IncrementCase{"range_0_30", {14, 76, 10, 0, 30}, 10},
        IncrementCase{"range_0_0_75", {14, 76, 10, 0, 0.75}, 0.2},
        IncrementCase{"range_0_20_fits_with_5", {14, 76, 10, 0, 20}, 5},
        IncrementCase{"zero_span", {14, 76, 10, 0, 0}, MinimumIncrement},
        IncrementCase{"own_increment_kept_when_it_fits", {14, 76, 10, 3, 12}, 3},
        IncrementCase{"own_increment_climbs", {14, 76, 10, 3, 30}, 10},
        IncrementCase{"no_separation_no_search", {14, 76, 0, 0, 30}, 1},
        IncrementCase{"no_separation_small_span", {14, 76, 0, 0, 0.5}, MinimumIncrement},
        IncrementCase{"no_room_for_a_label", {14, 5, 10, 0, 30}, MinimumIncrement},
        IncrementCase{"unmeasured_label_counts_one", {0, 76, 10, 0, 30}, 50},
        IncrementCase{"huge_span_skips_overflowing_rungs", {14, 76, 10, 0, 1e15}, 2e14}),
    test::CaseName());

TEST(MaxLabelCount, WidensTheLabelBySeparationPercent) {
    EXPECT_EQ(MaxLabelCount(14, 76, 10), 5);  // 14 + Round(1.4) = 15
    EXPECT_EQ(MaxLabelCount(14, 76, 0), 5);   // Round(5.43)
    EXPECT_EQ(MaxLabelCount(0, 76, 10), 1);
    EXPECT_EQ(MaxLabelCount(14, 0, 10), 0);
}

}  // namespace
}  // namespace tesmera
