// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/TCustomChart.h"

#include <gtest/gtest.h>

#include "app/tesmera_chart_settings.h"
#include "chart/TChart.h"
#include "chart/pixel_picture.h"
#include "support/param_name.h"

namespace tesmera {
namespace {

using testing_support::Picture;
using testing_support::WhiteSurface;

const QString WindowTitle = " Fourier Coefficients \"AAx\" ";

// The window's chart painted onto its own screen surface, with its repaint
// requests counted. The axes are hidden, so that the plot area is the panel's
// own (the axes' room is tested with the axes).
class WindowChartTest : public testing::Test {
  protected:
    WindowChartTest() {
        ApplyTesmeraChartSettings(chart_);
        chart_.SetAxisVisible(false);
        chart_.SetSize(378, 125);
        chart_.SetRepaintRequest([this] { ++requests_; });
    }

    void Paint() { chart_.PaintRequest(screen_); }
    TColor At(int x, int y) const { return FromQColor(screen_.image.pixelColor(x, y)); }
    int TitleLineHeight() {
        TChartCanvas3D measuring;
        measuring.SetFont(chart_.Title().Font());
        return measuring.TextLineHeight();
    }

    TChart chart_;
    TCanvasSurface screen_ = WhiteSurface(378, 125);
    int requests_ = 0;
};

TEST_F(WindowChartTest, PlotRectFromTheMarginsBeforeTitles) {
    Paint();
    EXPECT_EQ(chart_.PanelBounds(), (TRect{0, 0, 378, 125}));
    EXPECT_EQ(chart_.PlotRect(), (TRect{11, 5, 367, 120}));
    EXPECT_EQ(chart_.PlotWidth(), 356);
    EXPECT_EQ(chart_.PlotHeight(), 115);
    EXPECT_EQ(chart_.PlotCenterX(), 189);
    EXPECT_EQ(chart_.PlotCenterY(), 62);
}

struct TitleCase : test::NamedCase<TitleCase> {
    int lines;
    bool visible;
    int heightsBelow;  // line heights the top moves down by (plus the gap when > 0)
};

class TitleLayoutTest : public WindowChartTest, public testing::WithParamInterface<TitleCase> {};

TEST_P(TitleLayoutTest, TitleMovesThePlotTop) {
    for (int i = 0; i < GetParam().lines; ++i) {
        chart_.Title().Text().Add(WindowTitle);
    }
    chart_.Title().SetVisible(GetParam().visible);
    Paint();
    const int heights = GetParam().heightsBelow;
    const int expectedTop = heights == 0 ? 5 : 5 + heights * TitleLineHeight() + 5;
    EXPECT_EQ(chart_.PlotRect(), (TRect{11, expectedTop, 367, 120}));
    EXPECT_EQ(chart_.PlotHeight(), 120 - expectedTop);
}

INSTANTIATE_TEST_SUITE_P(Lines, TitleLayoutTest,
                         testing::Values(TitleCase{"none", 0, true, 0},
                                         TitleCase{"one", 1, true, 1}, TitleCase{"two", 2, true, 2},
                                         TitleCase{"hidden", 2, false, 0}),
                         test::CaseName());

TEST_F(WindowChartTest, FootMovesThePlotBottomOnlyWithLines) {
    chart_.Foot().Font() = chart_.Title().Font();
    Paint();
    EXPECT_EQ(chart_.PlotRect().bottom, 120);
    chart_.Foot().Text().Add("foot");
    Paint();
    EXPECT_EQ(chart_.PlotRect().bottom, 120 - TitleLineHeight() - 5);
}

TEST_F(WindowChartTest, TitleIsCentredBlackTextAtThePlotTop) {
    chart_.Title().Text().Add("Wide title");
    Paint();
    const TRect rect = chart_.Title().TitleRect();
    EXPECT_EQ(rect, (TRect{11, 5, 367, 5 + TitleLineHeight()}));
    const TRect ink = testing_support::InkBounds(screen_.image.copy(12, 5, 354, TitleLineHeight()));
    ASSERT_FALSE(ink.IsEmpty());
    // Centred on column 189 (within rounding of the glyph bearings).
    const int inkCentre = 12 + (ink.left + ink.right) / 2;
    EXPECT_NEAR(inkCentre, 189, 2);
    for (int y = 5; y < rect.bottom; ++y) {
        for (int x = 12; x < 366; ++x) {
            EXPECT_TRUE(At(x, y) == clWhite || At(x, y) == clBlack) << x << "," << y;
        }
    }
}

TEST_F(WindowChartTest, BevelRingsShadowThenHighlightOnTopAndLeft) {
    Paint();
    const TColor shadow = ToRGBColor(clBtnShadow);
    const TColor highlight = ToRGBColor(clBtnHighlight);
    ASSERT_NE(shadow, highlight);
    // Ring r: top row and left column in `topLeft`, bottom row and right
    // column (and the bottom-left corner) in `bottomRight`.
    const auto checkRing = [this](int r, TColor topLeft, TColor bottomRight) {
        const int right = 377 - r;
        const int bottom = 124 - r;
        for (int x = r; x < right; ++x) {
            EXPECT_EQ(At(x, r), topLeft) << "top " << x;
        }
        for (int y = r + 1; y < bottom; ++y) {
            EXPECT_EQ(At(r, y), topLeft) << "left " << y;
        }
        for (int y = r; y < bottom; ++y) {
            EXPECT_EQ(At(right, y), bottomRight) << "right " << y;
        }
        for (int x = r; x <= right; ++x) {
            EXPECT_EQ(At(x, bottom), bottomRight) << "bottom " << x;
        }
    };
    checkRing(0, shadow, highlight);
    checkRing(1, highlight, shadow);
    EXPECT_EQ(At(2, 2), clWhite);
    EXPECT_EQ(At(375, 122), clWhite);
}

TEST_F(WindowChartTest, BackWallOutlineIncludesPlotRightAndBottomEdges) {
    Paint();
    for (int x = 11; x <= 367; ++x) {
        EXPECT_EQ(At(x, 5), clBlack) << x;
        EXPECT_EQ(At(x, 120), clBlack) << x;
    }
    for (int y = 5; y <= 120; ++y) {
        EXPECT_EQ(At(11, y), clBlack) << y;
        EXPECT_EQ(At(367, y), clBlack) << y;
    }
    // Not filled, and nothing beyond the outline.
    EXPECT_EQ(At(12, 6), clWhite);
    EXPECT_EQ(At(366, 119), clWhite);
    EXPECT_EQ(At(10, 50), clWhite);
    EXPECT_EQ(At(368, 50), clWhite);
    EXPECT_EQ(At(50, 121), clWhite);
    EXPECT_EQ(At(50, 4), clWhite);
}

TEST_F(WindowChartTest, HiddenGradientFillsWithThePanelColour) {
    chart_.Gradient().SetVisible(false);
    chart_.SetBevelOuter(bvNone);
    chart_.SetBevelInner(bvNone);
    chart_.BackWall().Pen().SetVisible(false);
    Paint();
    EXPECT_EQ(testing_support::InkBounds(screen_.image), (TRect{0, 0, 378, 125}));
    for (int y = 0; y < 125; ++y) {
        for (int x = 0; x < 378; ++x) {
            ASSERT_EQ(At(x, y), clBlack) << x << "," << y;
        }
    }
}

TEST_F(WindowChartTest, GradientPutsStartColourAtTheBottom) {
    chart_.SetBevelOuter(bvNone);
    chart_.SetBevelInner(bvNone);
    chart_.Gradient().SetStartColor(clRed);
    chart_.Gradient().SetEndColor(clBlue);
    Paint();
    EXPECT_EQ(At(0, 124), clRed);
    EXPECT_EQ(At(377, 124), clRed);
    EXPECT_EQ(At(0, 0), clBlue);
}

struct MarginCase : test::NamedCase<MarginCase> {
    TChartMargins margins;
    TRect plot;
};

class NormalizeTest : public WindowChartTest, public testing::WithParamInterface<MarginCase> {};

TEST_P(NormalizeTest, RepairsEmptyOrInvertedPlotRect) {
    chart_.SetMargins(GetParam().margins);
    Paint();
    EXPECT_EQ(chart_.PlotRect(), GetParam().plot);
}

INSTANTIATE_TEST_SUITE_P(Margins, NormalizeTest,
                         testing::Values(
                             // 227 > 151: one pixel wide.
                             MarginCase{"inverted_columns", {60, 4, 60, 4}, {227, 5, 228, 120}},
                             // 189 = 189: as wide as the control.
                             MarginCase{
                                 "meeting_columns", {50, 4, 50, 4}, {189, 5, 189 + 378, 120}},
                             MarginCase{"inverted_rows", {3, 70, 3, 70}, {11, 88, 367, 89}},
                             // Negative margins stop at the panel's top-left, not its bottom-right.
                             MarginCase{"negative", {-10, -10, -10, -10}, {0, 0, 416, 138}}),
                         test::CaseName());

TEST_F(WindowChartTest, SettingTheCurrentValueRequestsNoRepaint) {
    requests_ = 0;
    chart_.SetColor(clBlack);
    chart_.SetBevelOuter(bvLowered);
    chart_.SetMargins({3, 4, 3, 4});
    chart_.SetView3D(false);
    chart_.SetSize(378, 125);
    chart_.SetClipPoints(true);
    chart_.SetAxisVisible(false);
    chart_.Gradient().SetVisible(true);
    chart_.Gradient().SetEndColor(clWhite);
    chart_.Title().SetVisible(true);
    chart_.Title().SetAlignment(taCenter);
    chart_.Title().Font().SetPixelHeight(11);
    chart_.Title().Frame().SetVisible(false);
    chart_.BackWall().Pen().SetColor(clBlack);
    chart_.BackWall().Brush().SetStyle(bsClear);
    chart_.Title().Text().Clear();
    EXPECT_EQ(requests_, 0);
    EXPECT_EQ(chart_.Canvas().BufferStale(), true);  // never painted yet

    Paint();
    chart_.SetColor(clBlack);
    EXPECT_FALSE(chart_.Canvas().BufferStale());
}

TEST_F(WindowChartTest, EveryChangeInvalidatesOnce) {
    requests_ = 0;
    chart_.SetColor(clRed);
    chart_.Gradient().SetEndColor(clYellow);
    chart_.Title().Font().SetColor(clBlue);
    chart_.BackWall().Pen().SetWidth(2);
    chart_.Foot().Frame().SetVisible(true);
    chart_.SetMargins({1, 1, 1, 1});
    EXPECT_EQ(requests_, 6);
}

TEST_F(WindowChartTest, PaintWithNothingChangedCopiesTheBuffer) {
    chart_.Title().Text().Add(WindowTitle);
    Paint();
    EXPECT_EQ(chart_.FramesPainted(), 1);
    const QImage first = screen_.image.copy();
    screen_.image.fill(Qt::red);
    Paint();
    EXPECT_EQ(chart_.FramesPainted(), 1);
    EXPECT_EQ(screen_.image, first);

    chart_.Title().Text().Add("second line");
    Paint();
    EXPECT_EQ(chart_.FramesPainted(), 2);
    EXPECT_NE(screen_.image, first);
}

TEST_F(WindowChartTest, NewSizePaintsAFullFrame) {
    Paint();
    screen_ = WhiteSurface(200, 100);
    chart_.SetSize(200, 100);
    Paint();
    EXPECT_EQ(chart_.FramesPainted(), 2);
    EXPECT_EQ(chart_.Canvas().Buffer().size(), QSize(200, 100));
    EXPECT_EQ(chart_.PanelBounds(), (TRect{0, 0, 200, 100}));
}

TEST_F(WindowChartTest, CanvasRestsAfterTheFrame) {
    Paint();
    TChartCanvas3D& canvas = chart_.Canvas();
    EXPECT_EQ(canvas.Target(), &screen_);
    // The buffer keeps its drawing state for the next frame.
    canvas.BeginFrame(378, 125, 1, false);
    EXPECT_EQ(canvas.Pen().color, clBlack);
    EXPECT_EQ(canvas.Pen().style, psSolid);
    EXPECT_EQ(canvas.Brush().color, clWhite);
    EXPECT_EQ(canvas.Brush().style, bsSolid);
    EXPECT_EQ(canvas.TextBackground(), tbTransparent);
    EXPECT_EQ(canvas.Font().PixelHeight(), 13);
}

// A series whose every point floods the whole control in red.
class FloodSeries : public TChartSeries {
  public:
    void DrawPoint(int /*valueIndex*/) override {
        TChartCanvas3D& canvas = ParentChart()->Canvas();
        canvas.Brush() = {clRed, bsSolid};
        canvas.FillArea({-100, -100, 1000, 1000});
        ++drawn;
    }
    int drawn = 0;
};

TEST_F(WindowChartTest, SeriesAreClippedInsideTheBackWallAboveItsBottomRows) {
    auto& series = chart_.AddSeries(std::make_unique<FloodSeries>());
    series.AppendValue(1, "1", clBlue);
    Paint();
    EXPECT_EQ(series.drawn, 1);
    for (int y = 0; y < 125; ++y) {
        for (int x = 0; x < 378; ++x) {
            const bool inside = x >= 12 && x <= 366 && y >= 6 && y <= 118;
            ASSERT_EQ(At(x, y) == clRed, inside) << x << "," << y;
        }
    }
}

TEST_F(WindowChartTest, WithoutClipPointsSeriesDrawAnywhere) {
    chart_.SetClipPoints(false);
    chart_.AddSeries(std::make_unique<FloodSeries>()).AppendValue(1, "1", clBlue);
    Paint();
    EXPECT_EQ(At(0, 0), clRed);
    EXPECT_EQ(At(377, 124), clRed);
}

TEST_F(WindowChartTest, EmptyAndInactiveSeriesAreNotDrawn) {
    auto& empty = chart_.AddSeries(std::make_unique<FloodSeries>());
    auto& inactive = chart_.AddSeries(std::make_unique<FloodSeries>());
    inactive.AppendValue(1, "1", clBlue);
    inactive.SetActive(false);
    Paint();
    EXPECT_EQ(empty.drawn, 0);
    EXPECT_EQ(inactive.drawn, 0);
    EXPECT_EQ(At(100, 60), clWhite);
}

}  // namespace
}  // namespace tesmera
