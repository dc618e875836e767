// SPDX-License-Identifier: GPL-3.0-or-later
// The window's chart painted whole, with its axes and bars, checked on the
// computed axis fields and on the pixels of the frame.
#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <vector>

#include "app/tesmera_axis_settings.h"
#include "app/tesmera_chart_settings.h"
#include "chart/TChart.h"
#include "chart/axis_layout.h"
#include "chart/axis_series.h"
#include "chart/pixel_picture.h"
#include "support/param_name.h"

namespace tesmera {
namespace {

using testing_support::WhiteSurface;

// The window's chart (378 x 125) with its bar series, refilled like the
// window does: the title line, hidden marks, then one blue bar per value.
class AxisRenderTest : public testing::Test {
  protected:
    AxisRenderTest() {
        ApplyTesmeraChartSettings(chart_);
        chart_.SetSize(378, 125);
        chart_.Title().Text().Add(" Fourier Coefficients \"AAx\" ");
    }

    void Fill(const std::vector<double>& values) {
        bars_.ClearPoints();
        int label = 1;
        for (const double value : values) {
            bars_.AppendValue(value, QString::number(label++), clBlue);
        }
    }
    void Paint() { chart_.PaintRequest(screen_); }
    TColor At(int x, int y) const { return FromQColor(screen_.image.pixelColor(x, y)); }

    // Line height and text width in a font, as the chart measures them.
    static int LineHeight(const TChartFont& font) {
        TChartCanvas3D measuring;
        measuring.SetFont(font);
        return measuring.TextLineHeight();
    }
    int LabelWidth(const QString& text) const {
        TChartCanvas3D measuring;
        measuring.SetFont(chart_.LeftAxis().LabelsFont());
        return measuring.MeasureTextWidth(text);
    }
    double IncrementOf(TChartAxis& axis) {
        TChartCanvas3D measuring;
        measuring.SetFont(axis.LabelsFont());
        return ComputeIncrement(axis, measuring);
    }
    // True when the row holds a gray grid line just inside the plot area.
    bool HasHorizontalGridAt(int row) const {
        const TRect& plot = chart_.PlotRect();
        return At(plot.right - 2, row) == clGray;
    }
    bool HasVerticalGridAt(int column) const {
        return At(column, chart_.PlotRect().top + 1) == clGray;
    }

    TChart chart_;
    TBarSeries& bars_ = AddTesmeraBarSeries(chart_);
    TCanvasSurface screen_ = WhiteSurface(378, 125);
};

TEST_F(AxisRenderTest, LayoutOfTheWindowChart) {
    Fill({4,   2,   2,   1,   1,   1,   0.5,  0.5,  0.4,  0.3,
          0.3, 0.2, 0.2, 0.1, 0.1, 0.1, 0.05, 0.05, 0.02, 0.01});
    Paint();
    const int h = LineHeight(chart_.LeftAxis().LabelsFont());
    const int titleHeight = LineHeight(chart_.Title().Font());
    const int w = std::max(LabelWidth("4.00"), LabelWidth("0.00")) + LabelWidth(" ");
    EXPECT_EQ(chart_.PlotRect(), (TRect{11 + w + 6, 5 + titleHeight + 5, 367, 120 - h - 6}));

    const TChartAxis& left = chart_.LeftAxis();
    EXPECT_EQ(left.Minimum(), 0);
    EXPECT_EQ(left.Maximum(), 4);
    EXPECT_EQ(left.StartPixel(), chart_.PlotRect().top);
    EXPECT_EQ(left.EndPixel(), chart_.PlotRect().bottom);
    EXPECT_EQ(left.LabelsPos(), 11 + w);
    EXPECT_EQ(left.AxisLinePos(), chart_.PlotRect().left);

    const TChartAxis& bottom = chart_.BottomAxis();
    EXPECT_EQ(bottom.LabelsPos(), 120 - h);
    EXPECT_EQ(bottom.AxisLength(), 367 - chart_.PlotRect().left);
    // 21 slots of AxisLength div 21 pixels, 70 percent of one, made even.
    const int expectedWidth = BarWidthFromSpace(70, bottom.AxisLength() / 21, 1);
    EXPECT_EQ(bars_.BarPixelWidth(), expectedWidth);
    // The range grows by one bar width of pixels at each end.
    const double grow = expectedWidth * 19.0 / (bottom.AxisLength() - 2 * expectedWidth);
    EXPECT_DOUBLE_EQ(bottom.RangeMin(), -grow);
    EXPECT_DOUBLE_EQ(bottom.RangeMax(), 19 + grow);
    EXPECT_EQ(bottom.Minimum(), 0);
    EXPECT_EQ(bottom.Maximum(), 19);
    EXPECT_EQ(bars_.FirstShown(), 0);
    EXPECT_EQ(bars_.LastShown(), 19);

    EXPECT_EQ(bars_.PointScreenX(0), bottom.StartPixel() + expectedWidth / 2);
    EXPECT_TRUE(chart_.TopAxis().RangeSpan() == 0 && !IsAxisShown(chart_.TopAxis()));
}

TEST_F(AxisRenderTest, BarsAreBlueRectanglesWithBlackOutlinesOnTheZeroRow) {
    Fill({4, 2, 0});
    Paint();
    const int zeroRow = chart_.LeftAxis().ValueToPixel(0);
    const int topRow = chart_.LeftAxis().ValueToPixel(2);
    const int left = bars_.PointScreenX(1);
    const int right = left + bars_.BarPixelWidth();
    EXPECT_EQ(At(left, topRow), clBlack);
    EXPECT_EQ(At(right - 1, zeroRow - 1), clBlack);
    EXPECT_EQ(At(left + 1, topRow + 1), clBlue);
    EXPECT_EQ(At(right - 2, zeroRow - 2), clBlue);
    EXPECT_NE(At(right, topRow + 1), clBlue);
    EXPECT_NE(At(left - 1, topRow + 1), clBlue);
}

TEST_F(AxisRenderTest, AllZeroBarsAreShortBlueLinesAcrossTheMiddle) {
    Fill(std::vector<double>(20, 0.0));
    Paint();
    const TChartAxis& left = chart_.LeftAxis();
    EXPECT_EQ(left.RangeMin(), 0);
    EXPECT_EQ(left.RangeMax(), 0);
    EXPECT_DOUBLE_EQ(IncrementOf(chart_.LeftAxis()), 1e-12);
    const int middle = left.CenterPixel();
    EXPECT_EQ(middle, (chart_.PlotRect().top + chart_.PlotRect().bottom) / 2);
    EXPECT_EQ(bars_.OriginPixel(0), middle);

    // One value label, so one gray grid line: the middle row.
    const TRect& plot = chart_.PlotRect();
    for (int row = plot.top + 1; row < plot.bottom - 1; ++row) {
        EXPECT_EQ(HasHorizontalGridAt(row), row == middle) << "row " << row;
    }
    for (int i = 0; i < 20; ++i) {
        const int x = bars_.PointScreenX(i);
        for (int column = x; column < x + bars_.BarPixelWidth(); ++column) {
            EXPECT_EQ(At(column, middle), clBlue) << "bar " << i << " column " << column;
        }
        EXPECT_NE(At(x, middle - 1), clBlue);
        EXPECT_NE(At(x, middle + 1), clBlue);
    }
}

TEST_F(AxisRenderTest, EmptySeriesShowsOneLabelInTheMiddleOfEachAxis) {
    Paint();
    EXPECT_EQ(ResolveLabelStyle(chart_.BottomAxis()), talValue);
    EXPECT_EQ(chart_.BottomAxis().LabelText(0), "0");
    EXPECT_EQ(chart_.LeftAxis().LabelText(0), "0.00");
    EXPECT_EQ(chart_.PlotRect().left, 11 + LabelWidth("0.00") + LabelWidth(" ") + 6);
    EXPECT_EQ(bars_.FirstShown(), -1);
    EXPECT_TRUE(HasHorizontalGridAt(chart_.LeftAxis().CenterPixel()));
    EXPECT_TRUE(HasVerticalGridAt(chart_.BottomAxis().CenterPixel()));
    EXPECT_FALSE(HasVerticalGridAt(chart_.BottomAxis().CenterPixel() + 1));
}

// The value axis of the worked layout: title and labels 14 pixels high leave
// the left axis the pixels 24 .. 100, room for 5 labels.
class WorkedExampleTest : public AxisRenderTest,
                          public testing::WithParamInterface<std::tuple<double, double>> {};

TEST_P(WorkedExampleTest, LabelsAtWholeIncrements) {
    int pixels = 8;
    while (pixels < 30 && LineHeight(TChartFont("Arial", pixels, clBlack)) != 14) {
        ++pixels;
    }
    if (pixels == 30) {
        GTEST_SKIP() << "no font size gives 14-pixel lines here";
    }
    chart_.Title().Font().SetPixelHeight(pixels);
    chart_.LeftAxis().LabelsFont().SetPixelHeight(pixels);
    chart_.BottomAxis().LabelsFont().SetPixelHeight(pixels);
    const auto [highest, increment] = GetParam();
    Fill({highest, highest / 3, 0.0});
    Paint();

    TChartAxis& left = chart_.LeftAxis();
    EXPECT_EQ(left.StartPixel(), 24);
    EXPECT_EQ(left.EndPixel(), 100);
    EXPECT_DOUBLE_EQ(IncrementOf(left), increment);
    std::vector<int> gridRows;
    for (int row = 24; row <= 100; ++row) {
        if (HasHorizontalGridAt(row)) {
            gridRows.push_back(row);
        }
    }
    std::vector<int> expectedRows;
    for (int k = 0; k * increment <= highest + 1e-9; ++k) {
        expectedRows.insert(expectedRows.begin(), left.ValueToPixel(k * increment));
    }
    EXPECT_EQ(expectedRows.size(), 4u);
    EXPECT_EQ(gridRows, expectedRows);
}

INSTANTIATE_TEST_SUITE_P(Ranges, WorkedExampleTest,
                         testing::Values(std::make_tuple(30.0, 10.0), std::make_tuple(0.75, 0.2)),
                         [](const auto& info) {
                             return "Top" + test::NameOf(std::get<0>(info.param)) + "Step" +
                                    test::NameOf(std::get<1>(info.param));
                         });

TEST_F(AxisRenderTest, NegativeValueExtendsTheAxisBelowZero) {
    Fill({300, -400, 100});
    Paint();
    TChartAxis& left = chart_.LeftAxis();
    EXPECT_EQ(left.RangeMin(), -400);
    EXPECT_EQ(left.RangeMax(), 300);
    const double increment = IncrementOf(left);
    ASSERT_DOUBLE_EQ(increment, 200);
    EXPECT_TRUE(HasHorizontalGridAt(left.ValueToPixel(0)));
    EXPECT_TRUE(HasHorizontalGridAt(left.ValueToPixel(-200)));
    // RangeMin, a multiple of the increment, lies just below the label limit:
    // the bottom axis line keeps its black row.
    EXPECT_EQ(At(chart_.PlotRect().right - 2, left.EndPixel()), clBlack);
    // The bar below the origin runs from the zero row down.
    const int x = bars_.PointScreenX(1) + 1;
    EXPECT_EQ(At(x, left.ValueToPixel(0) + 2), clBlue);
    EXPECT_EQ(At(x, left.ValueToPixel(0) - 2), clWhite);
}

TEST_F(AxisRenderTest, PositiveRangeMinKeepsItsLabel) {
    chart_.LeftAxis().SetAxisRange(0.2, 1.0);
    Fill({0.5, 0.9});
    Paint();
    TChartAxis& left = chart_.LeftAxis();
    ASSERT_DOUBLE_EQ(IncrementOf(left), 0.2);
    EXPECT_EQ(At(chart_.PlotRect().right - 2, left.EndPixel()), clGray);
}

// The labels at the two ends of the value axis stand on its end pixels: they
// are drawn, with their grid lines, only while LabelsOnAxis allows it.
class LabelsOnAxisTest : public AxisRenderTest, public testing::WithParamInterface<bool> {};

TEST_P(LabelsOnAxisTest, LabelsAtTheAxisEndsNeedLabelsOnAxis) {
    TChartAxis& left = chart_.LeftAxis();
    left.SetLabelsOnAxis(GetParam());
    left.SetAxisRange(0, 40);
    Fill({30, 10});
    Paint();
    const double increment = IncrementOf(left);
    ASSERT_EQ(std::fmod(40, increment), 0) << increment;
    ASSERT_LT(increment, 40);
    EXPECT_EQ(HasHorizontalGridAt(left.StartPixel()), GetParam());
    EXPECT_EQ(HasHorizontalGridAt(left.EndPixel()), GetParam());
    EXPECT_TRUE(HasHorizontalGridAt(left.ValueToPixel(40 - increment)));
}

INSTANTIATE_TEST_SUITE_P(OnAndOff, LabelsOnAxisTest, testing::Bool(),
                         [](const auto& info) { return std::string(info.param ? "On" : "Off"); });

TEST_F(AxisRenderTest, TooWideBottomLabelsAreLeftOutWithTheirGridLines) {
    bars_.ClearPoints();
    for (int i = 0; i < 40; ++i) {
        bars_.AppendValue(0, QString::number(1000 + i), clBlue);
    }
    Paint();
    const TChartAxis& bottom = chart_.BottomAxis();
    std::vector<bool> drawn;
    for (int i = 0; i < 40; ++i) {
        drawn.push_back(HasVerticalGridAt(bottom.ValueToPixel(i)));
    }
    EXPECT_TRUE(drawn[0]);
    EXPECT_FALSE(drawn[1]);
    // Each drawn label keeps the widened half sizes clear of the last one.
    const int width = LabelWidth("1000");
    const int widened = width + width * 2 / 10;
    int previous = 0;
    for (int i = 1; i < 40; ++i) {
        if (drawn[i]) {
            EXPECT_GE(bottom.ValueToPixel(i) - bottom.ValueToPixel(previous),
                      widened / 2 + (previous == 0 ? width / 2 : widened / 2));
            previous = i;
        }
    }
    EXPECT_GT(previous, 0);
}

TEST_F(AxisRenderTest, InvertedBottomAxisDrawsTheBarsBackwards) {
    chart_.BottomAxis().SetInverted(true);
    Fill({4, 1, 1});
    Paint();
    EXPECT_FALSE(bars_.DrawsForward());
    EXPECT_GT(bars_.PointScreenX(0), bars_.PointScreenX(2));
    const int tallTop = chart_.LeftAxis().ValueToPixel(4);
    EXPECT_EQ(At(bars_.PointScreenX(0) + 2, tallTop + 2), clBlue);
    EXPECT_EQ(bars_.FirstShown(), 0);
    EXPECT_EQ(bars_.LastShown(), 2);
}

TEST_F(AxisRenderTest, ZoomedAxisShowsOnlyBarsInsideItsRange) {
    Fill(std::vector<double>(20, 1.0));
    Paint();
    const int unzoomedWidth = bars_.BarPixelWidth();
    chart_.BottomAxis().SetAxisRange(4.5, 9.5);
    Paint();
    // The width follows the axis' pixels and the point count, not the zoom.
    EXPECT_EQ(bars_.BarPixelWidth(), unzoomedWidth);
    EXPECT_EQ(bars_.FirstShown(), 5);
    EXPECT_EQ(bars_.LastShown(), 9);
    // The bar at X = 4 is not drawn, though half of it would fit.
    const int middleRow = chart_.LeftAxis().ValueToPixel(0.5);
    const int leftEdge = chart_.PlotRect().left;
    for (int column = leftEdge + 1; column < bars_.PointScreenX(5); ++column) {
        EXPECT_NE(At(column, middleRow), clBlue) << column;
    }
}

TEST_F(AxisRenderTest, BarsWithoutWidthAreLinesAtTheirCentre) {
    bars_.ClearPoints();
    for (int i = 0; i < 400; ++i) {
        bars_.AppendValue(1.0, QString(), clBlue);
    }
    Paint();
    EXPECT_EQ(bars_.BarPixelWidth(), 0);
    const int x = bars_.PointScreenX(200);
    EXPECT_EQ(x, chart_.BottomAxis().ValueToPixel(200));
    EXPECT_EQ(At(x, chart_.LeftAxis().ValueToPixel(0.5)), clBlue);
}

TEST_F(AxisRenderTest, BarsNarrowerThanThePenAreOutlinesInTheirColour) {
    bars_.SetCustomBarWidth(2);
    bars_.BarPen().SetWidth(3);
    Fill({1, 1});
    Paint();
    const int x = bars_.PointScreenX(1);
    const int middle = chart_.LeftAxis().ValueToPixel(0.5);
    for (int column = x - 1; column <= x + 2; ++column) {
        EXPECT_NE(At(column, middle), clBlack) << column;
    }
    EXPECT_EQ(At(x, middle), clBlue);
}

TEST_F(AxisRenderTest, FlatRangeFarFromZeroHasOneLabel) {
    bars_.SetUseYOrigin(false);
    Fill({1e6, 1e6});
    Paint();
    const TChartAxis& left = chart_.LeftAxis();
    EXPECT_EQ(left.RangeSpan(), 0);
    const TRect& plot = chart_.PlotRect();
    for (int row = plot.top + 1; row < plot.bottom - 1; ++row) {
        EXPECT_EQ(HasHorizontalGridAt(row), row == left.CenterPixel()) << "row " << row;
    }
}

TEST_F(AxisRenderTest, HugeValuesStillPaint) {
    Fill({1e300, 2e300});
    Paint();
    EXPECT_EQ(chart_.LeftAxis().RangeMax(), 2e300);
    EXPECT_EQ(chart_.LeftAxis().LabelText(2e300).size(), 300 / 3 * 4 + 4);
}

TEST_F(AxisRenderTest, CentredGridLiesMidwayBetweenLabels) {
    chart_.LeftAxis().SetGridCentered(true);
    Fill({4, 0});
    Paint();
    const TChartAxis& left = chart_.LeftAxis();
    for (int value = 0; value < 4; ++value) {
        const int between = (left.ValueToPixel(value) + left.ValueToPixel(value + 1) + 1) / 2;
        EXPECT_TRUE(HasHorizontalGridAt(between)) << value;
        EXPECT_FALSE(HasHorizontalGridAt(left.ValueToPixel(value + 1))) << value;
    }
}

TEST_F(AxisRenderTest, InnerTicksStartOnePixelInsideTheAxisLine) {
    TChartAxis& left = chart_.LeftAxis();
    left.SetTickInnerLength(3);
    left.TicksInner().SetColor(clRed);
    left.Grid().SetVisible(false);
    Fill({4, 0});
    Paint();
    const int row = left.ValueToPixel(2);
    const int line = left.AxisLinePos();
    EXPECT_NE(At(line + 1, row - 1), clRed);
    for (int column = line + 1; column <= line + 3; ++column) {
        EXPECT_EQ(At(column, row), clRed) << column;
    }
    EXPECT_NE(At(line + 4, row), clRed);
}

TEST_F(AxisRenderTest, LeftGridAtZeroCoversTheBottomAxisLine) {
    Fill({4, 2});
    Paint();
    const int zeroRow = chart_.LeftAxis().ValueToPixel(0);
    ASSERT_EQ(zeroRow, chart_.PlotRect().bottom);
    const int column = chart_.PlotRect().right - 2;
    EXPECT_EQ(At(column, zeroRow), clGray);
    EXPECT_EQ(At(column, zeroRow - 1), clBlack);  // the other row of the 2-pixel line
}

}  // namespace
}  // namespace tesmera
