// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/bar_geometry.h"
#include "support/param_name.h"

#include <gtest/gtest.h>

namespace tesmera {
namespace {

struct WidthCase : test::NamedCase<WidthCase> {
    int percent, space, sideBySide;
    int expected;
};

class BarWidthFromSpaceTest : public testing::TestWithParam<WidthCase> {};

TEST_P(BarWidthFromSpaceTest, IsEvenAfterRounding) {
    const WidthCase& c = GetParam();
    EXPECT_EQ(BarWidthFromSpace(c.percent, c.space, c.sideBySide), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, BarWidthFromSpaceTest,
                         testing::Values(WidthCase{"w0", 70, 0, 1, 0},
                                         WidthCase{"w1_odd_grows", 70, 1, 1, 2},
                                         WidthCase{"w5_half_to_even", 70, 5, 1, 4},
                                         WidthCase{"w15_half_to_even", 70, 15, 1, 10},
                                         WidthCase{"w16_odd_grows", 70, 16, 1, 12},
                                         WidthCase{"w35_half_to_even", 70, 35, 1, 24},
                                         WidthCase{"two_series_share", 70, 30, 2, 10},
                                         WidthCase{"full_width", 100, 15, 1, 16},
                                         // 7 % of 150 is 10.5 in extended precision
                                         // but above it in double precision.
                                         WidthCase{"extended_exact_half", 7, 150, 1, 10},
                                         // 10 % of 55 lands just below 5.5.
                                         WidthCase{"extended_below_half", 10, 55, 2, 2}),
                         test::CaseName());

TEST(SpacePerPoint, KeepsAPointOfRoomForSideMargins) {
    EXPECT_EQ(SpacePerPoint(315, 20, true), 15);
    EXPECT_EQ(SpacePerPoint(336, 20, true), 16);
    EXPECT_EQ(SpacePerPoint(315, 20, false), 15);
    EXPECT_EQ(SpacePerPoint(300, 0, true), 0);
    EXPECT_EQ(SpacePerPoint(10, 20, true), 0);
}

TEST(BarSideMargin, IsHalvedWithoutSideMargins) {
    EXPECT_EQ(BarSideMargin(1, 10, true), 10);
    EXPECT_EQ(BarSideMargin(1, 10, false), 5);
    EXPECT_EQ(BarSideMargin(1, 11, false), 5);
    EXPECT_EQ(BarSideMargin(2, 10, true), 20);
}

struct OffsetCase : test::NamedCase<OffsetCase> {
    BarPlacement placement;
    int expected;
};

class BarLeftOffsetTest : public testing::TestWithParam<OffsetCase> {};

TEST_P(BarLeftOffsetTest, MovesFromTheCentreToTheLeftEdge) {
    EXPECT_EQ(BarLeftOffset(GetParam().placement), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BarLeftOffsetTest,
    testing::Values(OffsetCase{"single_even", {TMultiBar::mbSide, 1, 1, 10, 0}, -5},
                    OffsetCase{"single_odd_custom_width", {TMultiBar::mbSide, 1, 1, 7, 0}, -4},
                    OffsetCase{"offset_50_percent", {TMultiBar::mbSide, 1, 1, 10, 50}, 0},
                    OffsetCase{"offset_negative", {TMultiBar::mbSide, 1, 1, 10, -100}, -15},
                    OffsetCase{"second_of_two", {TMultiBar::mbSide, 2, 2, 10, 0}, 0},
                    OffsetCase{"first_of_two", {TMultiBar::mbSide, 1, 2, 10, 0}, -10},
                    OffsetCase{"not_side_by_side_odd", {TMultiBar::mbNone, 1, 1, 7, 0}, -3}),
    test::CaseName());

}  // namespace
}  // namespace tesmera
