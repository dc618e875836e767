// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/TChartAxis.h"

#include <gtest/gtest.h>

#include <memory>

#include "chart/TBarSeries.h"
#include "chart/TChart.h"
#include "chart/axis_layout.h"
#include "chart/axis_series.h"
#include "support/param_name.h"

namespace tesmera {
namespace {

// A free-standing axis with a range and pixels, as the layout leaves them.
std::unique_ptr<TChartAxis> MakeAxis(AxisPlace place, double low, double high, int start, int end,
                                     bool inverted = false) {
    auto axis = std::make_unique<TChartAxis>(nullptr, place);
    axis->SetRange(low, high);
    axis->SetPixels(start, end);
    axis->SetInverted(inverted);
    return axis;
}

// A chart holding one bar series with the given values, labelled "1", "2", ...
TBarSeries& AddBars(TChart& chart, std::initializer_list<double> values) {
    auto& bars = chart.AddSeries(std::make_unique<TBarSeries>());
    int label = 1;
    for (const double value : values) {
        bars.AppendValue(value, QString::number(label++), clBlue);
    }
    return bars;
}

struct MappingCase : test::NamedCase<MappingCase> {
    AxisPlace place;
    bool inverted;
    double value;
    int pixel;
};

class ValueToPixelTest : public testing::TestWithParam<MappingCase> {};

// Range 0 .. 30 over the pixels 24 .. 100.
TEST_P(ValueToPixelTest, MapsAndMapsBack) {
    const MappingCase& c = GetParam();
    const auto axis = MakeAxis(c.place, 0, 30, 24, 100, c.inverted);
    EXPECT_EQ(axis->ValueToPixel(c.value), c.pixel);
    EXPECT_NEAR(axis->PixelToValue(c.pixel), c.value, 30.0 / 76);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ValueToPixelTest,
    testing::Values(MappingCase{"vertical_min_at_bottom", AxisPlace::Left, false, 0, 100},
                    MappingCase{"vertical_max_at_top", AxisPlace::Left, false, 30, 24},
                    MappingCase{"vertical_inner", AxisPlace::Left, false, 10, 75},
                    MappingCase{"vertical_inverted", AxisPlace::Left, true, 0, 24},
                    MappingCase{"horizontal_min_at_left", AxisPlace::Bottom, false, 0, 24},
                    MappingCase{"horizontal_inner", AxisPlace::Bottom, false, 20, 75},
                    MappingCase{"horizontal_inverted", AxisPlace::Bottom, true, 30, 24},
                    MappingCase{"outside_range", AxisPlace::Left, false, -30, 176}),
    test::CaseName());

TEST(ValueToPixel, ZeroSpanAndHugeOffsetsGoToTheCentre) {
    const auto flat = MakeAxis(AxisPlace::Left, 0, 0, 24, 100);
    EXPECT_EQ(flat->ValueToPixel(0), 62);
    EXPECT_EQ(flat->ValueToPixel(5), 62);
    const auto tiny = MakeAxis(AxisPlace::Left, 0, 1e-12, 24, 100);
    EXPECT_EQ(tiny->ValueToPixel(1), 62);
}

TEST(PixelToValue, IsZeroWithoutLength) {
    const auto collapsed = MakeAxis(AxisPlace::Bottom, 3, 9, 50, 50);
    EXPECT_EQ(collapsed->PixelToValue(60), 0);
}

// The bottom axis of a three-bar chart set to low .. high, placed on the
// plot and widened by the bars' margins.
const TChartAxis& BottomAfterMargins(TChart& chart, const TRect& plot, double low, double high) {
    AddBars(chart, {1, 2, 3});
    TChartAxis& bottom = chart.BottomAxis();
    bottom.SetRange(low, high);
    PlaceAxisPixels(bottom, plot);
    ApplySeriesMargins(chart, plot);
    return bottom;
}

TEST(ApplySeriesMargins, WidensTheRangeOnTheSamePixels) {
    TChart chart;
    const TChartAxis& bottom = BottomAfterMargins(chart, {0, 0, 200, 100}, 0, 2);
    // 200 div 4 = 50 pixels per slot, 35 of them a bar: margins of 36.
    const double grow = 36 * 2.0 / (200 - 72);
    EXPECT_DOUBLE_EQ(bottom.RangeMin(), -grow);
    EXPECT_DOUBLE_EQ(bottom.RangeMax(), 2 + grow);
    EXPECT_EQ(bottom.StartPixel(), 0);
    EXPECT_EQ(bottom.EndPixel(), 200);
}

TEST(ApplySeriesMargins, CollapsedAxisGetsAnEmptyRange) {
    TChart chart;
    const TChartAxis& bottom = BottomAfterMargins(chart, {10, 10, 10, 10}, 3, 9);
    EXPECT_EQ(bottom.RangeMin(), 0);
    EXPECT_EQ(bottom.RangeMax(), 0);
}

TEST(AxisSettings, AutomaticFlagsFollowEachOther) {
    TChartAxis axis(nullptr, AxisPlace::Left);
    axis.SetAutomaticMinimum(false);
    EXPECT_FALSE(axis.Automatic());
    EXPECT_TRUE(axis.AutomaticMaximum());
    axis.SetAutomaticMinimum(true);
    EXPECT_TRUE(axis.Automatic());
    axis.SetAutomatic(false);
    EXPECT_FALSE(axis.AutomaticMinimum());
    EXPECT_FALSE(axis.AutomaticMaximum());
    axis.SetAutomaticMaximum(true);
    EXPECT_FALSE(axis.Automatic());  // the minimum is still fixed
    axis.SetAutomatic(true);
    EXPECT_TRUE(axis.AutomaticMinimum());
}

TEST(AxisSettings, SetAxisRangeOrdersAndWidensTheRange) {
    TChartAxis axis(nullptr, AxisPlace::Bottom);
    axis.SetAxisRange(8, 2);
    EXPECT_FALSE(axis.Automatic());
    EXPECT_FALSE(axis.AutomaticMinimum());
    EXPECT_EQ(axis.Minimum(), 2);
    EXPECT_EQ(axis.Maximum(), 8);
    axis.SetAxisRange(5, 5);
    EXPECT_EQ(axis.Maximum(), 5 + 1e-10);
}

TEST(AxisSettings, AxisListRunsBottomTopLeftRightDepth) {
    TChart chart;
    const auto list = chart.AxisList();
    EXPECT_EQ(list[0], &chart.BottomAxis());
    EXPECT_EQ(list[1], &chart.TopAxis());
    EXPECT_EQ(list[2], &chart.LeftAxis());
    EXPECT_EQ(list[3], &chart.RightAxis());
    EXPECT_EQ(list[4], &chart.DepthAxis());
    EXPECT_FALSE(chart.DepthAxis().Visible());
}

TEST(AxisSettings, ChangesRepaintOnlyWhenTheValueDiffers) {
    TChart chart;
    int requests = 0;
    chart.SetRepaintRequest([&requests] { ++requests; });
    chart.LeftAxis().SetTickLength(4);
    EXPECT_EQ(requests, 0);
    chart.LeftAxis().SetTickLength(5);
    EXPECT_EQ(requests, 1);
}

TEST(LabelText, UsesTheFormatAndTheChartSeparators) {
    TChart chart;
    int requests = 0;
    chart.SetRepaintRequest([&requests] { ++requests; });
    TChartAxis& axis = chart.LeftAxis();
    axis.SetAxisValuesFormat("#,##0.00");
    const QString plain = axis.LabelText(1234.5);
    requests = 0;
    chart.SetLabelSeparators({",", QString::fromUtf8("\u00a0")});
    EXPECT_EQ(requests, 1);
    EXPECT_EQ(plain, "1,234.50");
    EXPECT_EQ(axis.LabelText(1234.5), QString::fromUtf8("1\u00a0234,50"));
}

TEST(LabelText, FreeStandingAxisUsesPointAndComma) {
    TChartAxis axis(nullptr, AxisPlace::Left);
    axis.SetAxisValuesFormat("#,##0.00");
    EXPECT_EQ(axis.LabelText(-1234.5), "-1,234.50");
}

TEST(SeriesExtreme, BarsIncludeTheirOrigin) {
    TChart chart;
    AddBars(chart, {0.2, 1.5, 0.7});
    EXPECT_EQ(SeriesExtreme(chart.LeftAxis(), true), 0);
    EXPECT_EQ(SeriesExtreme(chart.LeftAxis(), false), 1.5);
    EXPECT_EQ(SeriesExtreme(chart.BottomAxis(), true), 0);
    EXPECT_EQ(SeriesExtreme(chart.BottomAxis(), false), 2);
    EXPECT_EQ(SeriesExtreme(chart.RightAxis(), false), 0);
}

TEST(SeriesExtreme, ANegativeValueExtendsTheRange) {
    TChart chart;
    AddBars(chart, {3, -2, 1});
    EXPECT_EQ(SeriesExtreme(chart.LeftAxis(), true), -2);
    EXPECT_EQ(SeriesExtreme(chart.LeftAxis(), false), 3);
}

TEST(SeriesExtreme, InactiveSeriesCountOnlyWithoutActiveOnes) {
    TChart chart;
    auto& hidden = AddBars(chart, {9});
    AddBars(chart, {4});
    hidden.SetActive(false);
    EXPECT_EQ(SeriesExtreme(chart.LeftAxis(), false), 4);
    chart.Series(1).SetActive(false);
    EXPECT_EQ(SeriesExtreme(chart.LeftAxis(), false), 9);
}

TEST(AxisHasSeries, OnlyAxesWithSeriesAreShown) {
    TChart empty;
    EXPECT_TRUE(AxisHasSeries(empty.RightAxis()));
    TChart chart;
    AddBars(chart, {});
    EXPECT_TRUE(AxisHasSeries(chart.BottomAxis()));
    EXPECT_TRUE(AxisHasSeries(chart.LeftAxis()));
    EXPECT_FALSE(AxisHasSeries(chart.TopAxis()));
    EXPECT_FALSE(AxisHasSeries(chart.RightAxis()));
}

TEST(ResolveLabelStyle, PointLabelsOnThePositionAxis) {
    TChart chart;
    auto& bars = AddBars(chart, {1, 2});
    EXPECT_EQ(ResolveLabelStyle(chart.BottomAxis()), talText);
    EXPECT_EQ(ResolveLabelStyle(chart.LeftAxis()), talValue);
    EXPECT_EQ(ResolveLabelStyle(chart.TopAxis()), talNone);
    bars.ClearPoints();
    EXPECT_EQ(ResolveLabelStyle(chart.BottomAxis()), talValue);
    bars.AppendValue(1, "", clBlue);
    EXPECT_EQ(ResolveLabelStyle(chart.BottomAxis()), talValue);
    chart.BottomAxis().SetLabelStyle(talNone);
    EXPECT_EQ(ResolveLabelStyle(chart.BottomAxis()), talNone);
}

}  // namespace
}  // namespace tesmera
