// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/TChartSeries.h"

#include <memory>

#include <gtest/gtest.h>

#include "chart/TChart.h"

namespace tesmera {
namespace {

// A chart whose repaint requests are counted instead of reaching a widget.
struct CountedChart {
    CountedChart() {
        chart.SetRepaintRequest([this] { ++requests; });
    }
    TChart chart;
    int requests = 0;
};

// The refill the window does after every command.
void Refill(TChart& chart, TChartSeries& series, const double (&values)[20]) {
    chart.Title().Text().Clear();
    chart.Title().Text().Add(" Fourier Coefficients \"AAx\" ");
    series.Marks().SetVisible(false);
    series.ClearPoints();
    for (int i = 0; i < 20; ++i) {
        series.AppendValue(values[i], QString::number(i + 1), clBlue);
    }
}

TEST(TChartSeriesTest, RefillNumbersPointsFromZero) {
    CountedChart counted;
    auto& series = counted.chart.AddSeries(std::make_unique<TChartSeries>());
    series.AppendValue(7, "old", clRed);
    double values[20];
    for (int i = 0; i < 20; ++i) {
        values[i] = 0.5 * i;
    }
    Refill(counted.chart, series, values);
    ASSERT_EQ(series.NumPoints(), 20);
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(series.PointX(i), i);
        EXPECT_EQ(series.PointY(i), 0.5 * i);
        EXPECT_EQ(series.PointLabel(i), QString::number(i + 1));
        EXPECT_EQ(series.PointColor(i), clBlue);
    }
}

TEST(TChartSeriesTest, AppendValueReturnsItsPosition) {
    TChartSeries series;
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(series.AppendValue(10.0 * i, {}, clDefault), i);
    }
    series.ClearPoints();
    EXPECT_EQ(series.AppendValue(1, {}, clDefault), 0);
}

TEST(TChartSeriesTest, AppendValueTakesTheCountAsPositionWhateverEarlierX) {
    TChartSeries series;
    for (double x : {-3.0, 10.0, 20.0, 30.0, 40.0}) {
        series.AddPoint(x, 1, {}, clDefault);
    }
    // Position 5 sorts between 3 and 4 in the ascending X list.
    const int index = series.AppendValue(2, "new", clDefault);
    EXPECT_EQ(index, 1);
    EXPECT_EQ(series.PointX(index), 5);
    EXPECT_EQ(series.PointLabel(index), "new");
}

TEST(TChartSeriesTest, AddPointKeepsAllListsInStep) {
    TChartSeries series;
    series.AddPoint(3, 30, "c", clRed);
    series.AddPoint(1, 10, "a", clNone);
    series.AddPoint(2, 20, "", clDefault);
    EXPECT_EQ(series.PointY(0), 10);
    EXPECT_EQ(series.PointY(1), 20);
    EXPECT_EQ(series.PointY(2), 30);
    EXPECT_EQ(series.PointLabel(0), "a");
    EXPECT_EQ(series.PointLabel(1), "");
    EXPECT_EQ(series.PointColor(0), clNone);
    EXPECT_EQ(series.PointColor(2), clRed);
}

TEST(TChartSeriesTest, YValuesAreNeverSorted) {
    TChartSeries series;
    for (double value : {5.0, -1.0, 3.0}) {
        series.AppendValue(value, {}, clDefault);
    }
    EXPECT_EQ(series.PointY(0), 5);
    EXPECT_EQ(series.PointY(1), -1);
    EXPECT_EQ(series.PointY(2), 3);
    EXPECT_EQ(series.LowestY(), -1);
    EXPECT_EQ(series.HighestY(), 5);
    EXPECT_EQ(series.HighestX(), 2);
}

TEST(TChartSeriesTest, PointColorResolvesDefaultToSeriesColor) {
    TChartSeries series;
    series.SetSeriesColor(clRed);
    series.AppendValue(1, {}, clBlue);
    series.AppendValue(2, {}, clDefault);
    series.SetSeriesColor(clYellow);
    EXPECT_EQ(series.PointColor(0), clBlue);
    EXPECT_EQ(series.PointColor(1), clYellow);
    EXPECT_EQ(series.PointColor(2), clYellow);
    EXPECT_EQ(series.PointColor(-1), clYellow);
    EXPECT_EQ(series.PointLabel(2), "");
}

TEST(TChartSeriesTest, ClearPointsReleasesEverything) {
    TChartSeries series;
    series.AppendValue(4, "x", clBlue);
    series.ClearPoints();
    EXPECT_EQ(series.NumPoints(), 0);
    EXPECT_EQ(series.YValues().ValueCount(), 0);
    EXPECT_EQ(series.PointLabel(0), "");
    EXPECT_EQ(series.LowestY(), 0);
    EXPECT_EQ(series.HighestY(), 0);
}

TEST(TChartSeriesTest, SettersRequestRepaintOnlyOnChange) {
    CountedChart counted;
    auto& series = counted.chart.AddSeries(std::make_unique<TChartSeries>());
    series.SetSeriesColor(clBlue);
    counted.requests = 0;

    series.Marks().SetVisible(false);
    series.SetActive(true);
    series.SetSeriesColor(clBlue);
    series.SetTitle("");
    series.SetHorizAxis(aBottomAxis);
    series.SetVertAxis(aLeftAxis);
    series.XValues().SetMultiplier(1.0);
    series.XValues().SetDateTime(false);
    EXPECT_EQ(counted.requests, 0);

    series.Marks().SetVisible(true);
    series.SetTitle("Series1");
    series.SetVertAxis(aRightAxis);
    series.XValues().SetMultiplier(2.0);
    EXPECT_EQ(counted.requests, 4);
}

TEST(TChartSeriesTest, InactiveSeriesAddsWithoutRepaint) {
    CountedChart counted;
    auto& series = counted.chart.AddSeries(std::make_unique<TChartSeries>());
    series.SetActive(false);
    counted.requests = 0;
    series.AppendValue(1, {}, clBlue);
    series.ClearPoints();
    EXPECT_EQ(counted.requests, 0);
}

TEST(TChartSeriesTest, JoiningSeriesGetsAFreeColour) {
    TChart chart;
    auto blue = std::make_unique<TChartSeries>();
    blue->SetSeriesColor(clRed);
    auto& first = chart.AddSeries(std::move(blue));
    auto& second = chart.AddSeries(std::make_unique<TChartSeries>());
    EXPECT_EQ(&second.ParentChart()->Series(1), &second);
    EXPECT_NE(second.SeriesColor(), clDefault);
    EXPECT_NE(second.SeriesColor(), first.SeriesColor());
}

TEST(TChartTitleTest, EveryChangeOfTheLinesInvalidatesTheChart) {
    CountedChart counted;
    TChartStrings& lines = counted.chart.Title().Text();
    lines.Clear();
    EXPECT_EQ(counted.requests, 0);
    lines.Add("a");
    lines.Add("b");
    lines.Clear();
    EXPECT_EQ(counted.requests, 3);
    EXPECT_EQ(lines.Count(), 0);
}

}  // namespace
}  // namespace tesmera
