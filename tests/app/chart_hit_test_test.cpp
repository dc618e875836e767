// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/chart_hit_test.h"

#include <gtest/gtest.h>

#include "window_chart_control.h"

namespace tesmera {
namespace {

using testing_support::WindowChartControlTest;

class ChartHitTest : public WindowChartControlTest {
  protected:
    TChartClickedPart At(int x, int y) { return FindClickedPart(Chart(), x, y); }
    // A row inside the plot area, above every bar but the first few.
    int HighRow() const { return control_->Chart().PlotRect().top + 2; }
};

TEST_F(ChartHitTest, BarIsHitUpToAndIncludingItsEdges) {
    const int left = bars_.PointScreenX(0);
    const int right = left + bars_.BarPixelWidth();
    const int top = bars_.PointScreenY(0);
    const int bottom = bars_.OriginPixel(0);
    for (const auto& [x, y] : {std::pair{left, top}, {right, bottom}, {(left + right) / 2, top}}) {
        const TChartClickedPart part = At(x, y);
        EXPECT_EQ(part.part, cpSeries) << x << "," << y;
        EXPECT_EQ(part.series, &bars_);
        EXPECT_EQ(part.pointIndex, 0);
    }
    EXPECT_NE(At(right + 1, top).part, cpSeries);
    EXPECT_NE(At(left, top - 1).part, cpSeries);
}

TEST_F(ChartHitTest, PointsRemovedSinceTheFrameAreNotHit) {
    const int x = bars_.PointScreenX(19) + 1;
    const int y = bars_.OriginPixel(19);
    bars_.ClearPoints();
    for (int i = 0; i < 5; ++i) {
        bars_.AppendValue(1000, QString::number(i + 1), clBlue);
    }
    // No frame yet: the shown range still reaches point 19.
    EXPECT_EQ(bars_.Clicked(x, y), -1);
    EXPECT_EQ(bars_.Clicked(bars_.PointScreenX(0) + 1, y), 0);
}

TEST_F(ChartHitTest, AxisTickBandsReachThreePixelsPastTheLine) {
    TChartAxis& left = Chart().LeftAxis();
    TChartAxis& bottom = Chart().BottomAxis();
    const int row = HighRow();
    EXPECT_EQ(At(left.LabelsPos(), row).axis, &left);
    EXPECT_EQ(At(left.AxisLinePos() + 2, row).axis, &left);
    EXPECT_EQ(At(left.AxisLinePos() + 3, row).part, cpChartRect);
    EXPECT_EQ(At(left.LabelsPos() - 1, row).part, cpNone);

    const int column = Chart().PlotRect().right - 2;  // right of the last bar
    EXPECT_EQ(At(column, bottom.AxisLinePos() - 3).axis, &bottom);
    EXPECT_EQ(At(column, bottom.LabelsPos() - 1).axis, &bottom);
    EXPECT_EQ(At(column, bottom.LabelsPos()).part, cpNone);
    EXPECT_EQ(At(bottom.EndPixel(), bottom.LabelsPos() - 1).part, cpNone);
}

TEST_F(ChartHitTest, TitlePlotAreaAndElsewhere) {
    const TRect& title = Chart().Title().TitleRect();
    EXPECT_EQ(At(title.left, title.top).part, cpTitle);
    EXPECT_EQ(At(title.right - 1, title.bottom - 1).part, cpTitle);
    const TRect& plot = Chart().PlotRect();
    EXPECT_EQ(At(plot.right - 1, HighRow()).part, cpChartRect);
    EXPECT_EQ(At(plot.right, HighRow()).part, cpNone);
    EXPECT_EQ(At(2, 2).part, cpNone);
}

TEST_F(ChartHitTest, HiddenTitleAndInactiveSeriesAreNotHit) {
    const TRect title = Chart().Title().TitleRect();
    Chart().Title().SetVisible(false);
    EXPECT_EQ(At(title.left, title.top).part, cpNone);
    bars_.SetActive(false);
    const int x = bars_.PointScreenX(0) + 1;
    EXPECT_NE(At(x, bars_.OriginPixel(0) - 1).part, cpSeries);
    EXPECT_NE(At(x, HighRow()).part, cpChartRect);
}

}  // namespace
}  // namespace tesmera
