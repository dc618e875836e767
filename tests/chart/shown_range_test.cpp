// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/shown_range.h"

#include <gtest/gtest.h>

#include <vector>

#include "chart/TChartSeries.h"
#include "support/param_name.h"

namespace tesmera {
namespace {

struct ShownCase : test::NamedCase<ShownCase> {
    std::vector<double> positions;
    TChartListOrder order;
    double low, high;
    int first, last;
};

class FindShownRangeTest : public testing::TestWithParam<ShownCase> {};

TEST_P(FindShownRangeTest, KeepsThePositionsBetweenTheEdges) {
    const ShownCase& c = GetParam();
    TChartSeries series;
    series.XValues().SetOrder(c.order);
    for (const double x : c.positions) {
        series.AddPoint(x, 1, "", clBlue);
    }
    const ShownRange shown = FindShownRange(series.XValues(), c.low, c.high);
    EXPECT_EQ(shown.First, c.first);
    EXPECT_EQ(shown.Last, c.last);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FindShownRangeTest,
    testing::Values(
        ShownCase{"empty", {}, loAscending, 0, 10, -1, -1},
        ShownCase{"all_left_of_the_area", {0, 1, 2}, loAscending, 5, 10, -1, -1},
        ShownCase{"single_point_inside", {3}, loAscending, 0, 10, 0, 0},
        ShownCase{"twenty_bars_unzoomed",
                  {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19},
                  loAscending,
                  -0.7,
                  19.7,
                  0,
                  19},
        ShownCase{"edges_inclusive", {0, 1, 2, 3, 4}, loAscending, 1, 3, 1, 3},
        ShownCase{"just_outside_is_left_out", {0, 1, 2, 3, 4}, loAscending, 1.01, 2.99, 2, 2},
        ShownCase{"between_two_points", {0, 1, 2}, loAscending, 0.4, 0.6, 1, 0},
        ShownCase{"right_of_all_points", {0, 1, 2}, loAscending, -5, -1, 0, -1},
        ShownCase{"unordered_never_searched", {5, 1, 9}, loNone, 100, 200, 0, 2}),
    test::CaseName());

}  // namespace
}  // namespace tesmera
