// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/TBarSeries.h"

#include <gtest/gtest.h>

#include <memory>

#include "chart/TChart.h"
#include "support/param_name.h"

namespace tesmera {
namespace {

// A chart with one bar series of `count` points, its bottom axis laid out
// over `axisLength` pixels from pixel 20.
struct BarChart {
    TChart chart;
    TBarSeries& bars = chart.AddSeries(std::make_unique<TBarSeries>());

    BarChart(int count, int axisLength) {
        for (int i = 0; i < count; ++i) {
            bars.AppendValue(i, QString::number(i + 1), clBlue);
        }
        chart.BottomAxis().SetPixels(20, 20 + axisLength);
        chart.BottomAxis().SetRange(0, count - 1);
    }
};

struct WidthCase : test::NamedCase<WidthCase> {
    int axisLength;
    int expectedWidth;
};

class ComputeBarWidthTest : public testing::TestWithParam<WidthCase> {};

// 20 bars with side margins: 21 slots of axisLength div 21 pixels.
TEST_P(ComputeBarWidthTest, MarginsAreOneBarWidth) {
    BarChart fixture(20, GetParam().axisLength);
    const THorizMargins margins = fixture.bars.HorizMargins();
    EXPECT_EQ(fixture.bars.BarPixelWidth(), GetParam().expectedWidth);
    EXPECT_EQ(margins.left, GetParam().expectedWidth);
    EXPECT_EQ(margins.right, GetParam().expectedWidth);
}

INSTANTIATE_TEST_SUITE_P(Cases, ComputeBarWidthTest,
                         testing::Values(WidthCase{"w0", 20, 0}, WidthCase{"w1", 21, 2},
                                         WidthCase{"w5", 105, 4}, WidthCase{"w15", 315, 10},
                                         WidthCase{"w16", 336, 12}, WidthCase{"w35", 735, 24}),
                         test::CaseName());

TEST(ComputeBarWidth, EmptySeriesHasNoWidth) {
    BarChart fixture(0, 300);
    fixture.bars.HorizMargins();
    EXPECT_EQ(fixture.bars.BarPixelWidth(), 0);
}

TEST(ComputeBarWidth, CustomWidthIsUsedUnchanged) {
    BarChart fixture(20, 315);
    fixture.bars.SetCustomBarWidth(7);
    EXPECT_EQ(fixture.bars.HorizMargins().left, 7);
    EXPECT_EQ(fixture.bars.BarPixelWidth(), 7);
    // The bar of X = 0 is centred on pixel 20: 4 pixels left, 3 right.
    EXPECT_EQ(fixture.bars.PointScreenX(0), 16);
}

TEST(ComputeBarWidth, APageOfPointsSharesTheAxis) {
    BarChart fixture(20, 315);
    fixture.chart.SetMaxPointsPerPage(9);  // 10 slots of 31 pixels
    fixture.bars.HorizMargins();
    EXPECT_EQ(fixture.bars.BarPixelWidth(), 22);
}

TEST(HorizMargins, AreHalvedWithoutSideMargins) {
    BarChart fixture(20, 300);  // 300 div 20 = 15 gives a width of 10
    fixture.bars.SetSideMargins(false);
    EXPECT_EQ(fixture.bars.HorizMargins().right, 5);
    fixture.bars.SetCustomBarWidth(11);
    EXPECT_EQ(fixture.bars.HorizMargins().left, 5);
}

TEST(PointScreenX, OffsetPercentMovesEveryBar) {
    BarChart fixture(20, 315);
    fixture.bars.HorizMargins();
    const int centred = fixture.bars.PointScreenX(3);
    fixture.bars.SetOffsetPercent(50);
    EXPECT_EQ(fixture.bars.PointScreenX(3), centred + 5);
}

TEST(BarSettings, OutOfRangePercentsAreRefused) {
    TBarSeries bars;
    try {
        bars.SetOffsetPercent(101);
        FAIL() << "no BarException";
    } catch (const BarException& error) {
        EXPECT_STREQ(error.what(), "Bar Offset Percent must be between -100% and 100%");
    }
    EXPECT_EQ(bars.OffsetPercent(), 0);
    EXPECT_THROW(bars.SetOffsetPercent(-101), BarException);
    bars.SetOffsetPercent(-100);
    EXPECT_EQ(bars.OffsetPercent(), -100);
    try {
        bars.SetBarWidthPercent(0);
        FAIL() << "no BarException";
    } catch (const BarException& error) {
        EXPECT_STREQ(error.what(), "Bar Width Percent must be between 1 and 100");
    }
    EXPECT_THROW(bars.SetBarWidthPercent(101), BarException);
    EXPECT_EQ(bars.BarWidthPercent(), 70);
}

TEST(BarSettings, CreationShowsMarksAndNamesTheValues) {
    TBarSeries bars;
    EXPECT_TRUE(bars.Marks().Visible());
    EXPECT_EQ(bars.Marks().ArrowLength(), 20);
    EXPECT_EQ(bars.YValues().Name(), "Bar");
    EXPECT_EQ(bars.YValues().Order(), loNone);
}

TEST(BarSettings, SideMarginsAndMultiBarAreSharedBySeriesOfTheKind) {
    TChart chart;
    auto& first = chart.AddSeries(std::make_unique<TBarSeries>());
    auto& plain = chart.AddSeries(std::make_unique<TChartSeries>());
    auto& second = chart.AddSeries(std::make_unique<TBarSeries>());
    second.SetSideMargins(false);
    EXPECT_FALSE(first.SideMargins());
    first.SetMultiBar(TMultiBar::mbNone);
    EXPECT_EQ(second.MultiBar(), TMultiBar::mbNone);
    EXPECT_EQ(plain.NumPoints(), 0);
}

TEST(SideBySide, SlotsFollowTheSeriesOrder) {
    TChart chart;
    auto& first = chart.AddSeries(std::make_unique<TBarSeries>());
    auto& second = chart.AddSeries(std::make_unique<TBarSeries>());
    EXPECT_EQ(first.SideBySideCount(), 2);
    EXPECT_EQ(first.BarSlot(), 1);
    EXPECT_EQ(second.BarSlot(), 2);
    first.SetActive(false);
    EXPECT_EQ(second.SideBySideCount(), 1);
    EXPECT_EQ(second.BarSlot(), 1);
}

TEST(HighestLowestY, IncludeTheOrigin) {
    TBarSeries bars;
    for (const double v : {-3.0, -1.0}) {
        bars.AppendValue(v, "", clBlue);
    }
    EXPECT_EQ(bars.HighestY(), 0);
    EXPECT_EQ(bars.LowestY(), -3);
    bars.SetUseYOrigin(false);
    EXPECT_EQ(bars.HighestY(), -1);
}

TEST(DrawsForward, IsBackwardsOnAnInvertedAxis) {
    BarChart fixture(3, 100);
    EXPECT_TRUE(fixture.bars.DrawsForward());
    fixture.chart.BottomAxis().SetInverted(true);
    EXPECT_FALSE(fixture.bars.DrawsForward());
}

}  // namespace
}  // namespace tesmera
