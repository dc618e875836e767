// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/TChartCanvas.h"

#include <vector>

#include <gtest/gtest.h>

#include "chart/TChartCanvas3D.h"
#include "pixel_picture.h"
#include "support/param_name.h"

namespace tesmera {
namespace {

using testing_support::InkBounds;
using testing_support::Picture;
using testing_support::WhiteSurface;

// A canvas drawing on its own white image with a black one-pixel pen.
class CanvasTest : public testing::Test {
  protected:
    void Start(int width, int height) {
        surface_ = WhiteSurface(width, height);
        canvas_.SetTarget(&surface_);
    }
    std::string Drawn() const { return Picture(surface_.image, {{clRed, 'r'}, {clBlue, 'b'}}); }

    TCanvasSurface surface_;
    TChartCanvas3D canvas_;
};

TEST_F(CanvasTest, PaintRectOutlinesAndFillsWithoutRightColumnAndBottomRow) {
    Start(7, 6);
    canvas_.Brush() = {clRed, bsSolid};
    canvas_.PaintRect(1, 1, 5, 5);
    EXPECT_EQ(Drawn(),
              ".......\n"
              ".####..\n"
              ".#rr#..\n"
              ".#rr#..\n"
              ".####..\n"
              ".......\n");
}

TEST_F(CanvasTest, PaintRectWithClearPenFillsOnePixelLess) {
    Start(6, 5);
    canvas_.Brush() = {clRed, bsSolid};
    canvas_.Pen().style = psClear;
    canvas_.PaintRect(1, 1, 5, 4);
    EXPECT_EQ(Drawn(),
              "......\n"
              ".rrr..\n"
              ".rrr..\n"
              "......\n"
              "......\n");
}

TEST_F(CanvasTest, PaintRectWithClearBrushLeavesInsideAndTakesCornersInAnyOrder) {
    Start(5, 5);
    canvas_.Pen().color = clBlue;
    canvas_.Brush().style = bsClear;
    canvas_.PaintRect(4, 4, 0, 1);
    EXPECT_EQ(Drawn(),
              ".....\n"
              "bbbb.\n"
              "b..b.\n"
              "bbbb.\n"
              ".....\n");
}

TEST_F(CanvasTest, ZeroHeightRectCoversNoRowButSegmentStopsBeforeItsEnd) {
    Start(22, 12);
    canvas_.Brush() = {clRed, bsSolid};
    canvas_.PaintRect(10, 10, 20, 10);
    EXPECT_EQ(InkBounds(surface_.image), TRect{});
    canvas_.DrawSegment(10, 10, 20, 10);
    EXPECT_EQ(InkBounds(surface_.image), (TRect{10, 10, 20, 11}));
    EXPECT_EQ(surface_.image.pixel(20, 10), qRgb(255, 255, 255));
}

TEST_F(CanvasTest, LineWithCoincidingEndsDrawsNothing) {
    Start(4, 4);
    canvas_.DrawSegment(2, 2, 2, 2);
    EXPECT_EQ(InkBounds(surface_.image), TRect{});
}

TEST_F(CanvasTest, SlantedLineLeavesItsEndPixel) {
    Start(5, 4);
    canvas_.DrawSegment(0, 0, 4, 2);
    EXPECT_EQ(Drawn(),
              "##...\n"
              "..##.\n"
              ".....\n"
              ".....\n");
}

TEST_F(CanvasTest, JoinedLinesSetEachJointOnce) {
    // Under not-XOR a pixel set twice would turn white again.
    Start(6, 6);
    canvas_.Pen().mode = pmNotXor;
    canvas_.PenMoveTo(1, 1);
    canvas_.PenLineTo(4, 1);
    canvas_.PenLineTo(4, 4);
    canvas_.PenLineTo(1, 4);
    canvas_.PenLineTo(1, 1);
    EXPECT_EQ(Drawn(),
              "......\n"
              ".####.\n"
              ".#..#.\n"
              ".#..#.\n"
              ".####.\n"
              "......\n");
}

TEST_F(CanvasTest, NotXorInvertsPenXorScreenAndTwiceRestores) {
    Start(6, 5);
    surface_.image.setPixelColor(2, 1, ToQColor(clRed));
    canvas_.Pen() = {clBlack, 1, psSolid, pmNotXor, false};
    canvas_.Brush().style = bsClear;
    canvas_.PaintRect(1, 1, 5, 4);
    // Black pen: each pixel becomes the inverse of itself.
    EXPECT_EQ(FromQColor(surface_.image.pixelColor(2, 1)), RGB(0, 255, 255));
    EXPECT_EQ(FromQColor(surface_.image.pixelColor(1, 1)), clBlack);
    canvas_.PaintRect(1, 1, 5, 4);
    EXPECT_EQ(Drawn(),
              "......\n"
              "..r...\n"
              "......\n"
              "......\n"
              "......\n");
}

TEST_F(CanvasTest, NotXorWithWhitePenKeepsTheScreen) {
    Start(3, 2);
    canvas_.Pen() = {clWhite, 1, psSolid, pmNotXor, false};
    canvas_.HorizSegment(0, 3, 0);
    EXPECT_EQ(InkBounds(surface_.image), TRect{});
}

TEST_F(CanvasTest, DottedPenSetsThreeOfEverySix) {
    Start(14, 1);
    canvas_.Pen().style = psDot;
    canvas_.HorizSegment(0, 14, 0);
    EXPECT_EQ(Drawn(), "###...###...##\n");
}

TEST_F(CanvasTest, SmallDotsSetEveryOtherPixel) {
    Start(7, 1);
    TChartPen pen;
    pen.SetSmallDots(true);
    canvas_.ApplyChartPen(pen);
    canvas_.HorizSegment(0, 7, 0);
    EXPECT_EQ(Drawn(), "#.#.#.#\n");
}

TEST_F(CanvasTest, TwoPixelPenStampsSquaresReachingUpAndLeft) {
    Start(6, 6);
    canvas_.ApplyChartPen(TChartAxisPen());
    canvas_.HorizSegment(2, 5, 4);
    canvas_.VertSegment(0, 0, 2);
    EXPECT_EQ(Drawn(),
              "#.....\n"
              "#.....\n"
              "......\n"
              ".####.\n"
              ".####.\n"
              "......\n");
}

TEST_F(CanvasTest, DepthIsIgnored) {
    Start(8, 4);
    canvas_.HorizSegmentZ(1, 6, 1, 37);
    canvas_.VertSegmentZ(7, 0, 3, -5);
    TCanvasSurface plain = WhiteSurface(8, 4);
    canvas_.SetTarget(&plain);
    canvas_.HorizSegment(1, 6, 1);
    canvas_.VertSegment(7, 0, 3);
    EXPECT_EQ(Picture(plain.image), Drawn());
}

// On a scaled screen every logical pixel is a block of image pixels with
// exactly the colour it has unscaled: fills, gradients, clipped wide dotted
// pens and not-XOR lines alike.
TEST(ScaledCanvas, EachLogicalPixelIsABlockOfItsUnscaledColour) {
    const auto draw = [](int scale) {
        TCanvasSurface surface{SurfaceImage({23, 17}, scale), {}};
        TChartCanvas canvas;
        canvas.SetTarget(&surface);
        canvas.FillGradient({2, 2, 20, 15}, clRed, clBlue);
        canvas.ClipTo({1, 1, 21, 16});
        canvas.Pen() = TCanvasPen{clNavy, 3, psDot, pmCopy, false};
        canvas.DrawSegment(0, 3, 22, 12);
        canvas.Pen() = TCanvasPen{clBlack, 1, psSolid, pmNotXor, false};
        canvas.PaintRect(4, 5, 18, 14);
        canvas.DrawSegment(3, 16, 19, 0);
        return surface.image;
    };
    const QImage unscaled = draw(1);
    const int scale = 3;
    const QImage scaled = draw(scale);
    ASSERT_EQ(scaled.size(), unscaled.size() * scale);
    for (int y = 0; y < scaled.height(); ++y) {
        for (int x = 0; x < scaled.width(); ++x) {
            ASSERT_EQ(scaled.pixel(x, y), unscaled.pixel(x / scale, y / scale)) << x << ", " << y;
        }
    }
}

TEST_F(CanvasTest, FarEndsAreDrawnAcrossTheImage) {
    Start(5, 3);
    canvas_.DrawSegment(-2000000000, 1, 2000000000, 1);
    canvas_.DrawSegment(-1000000000, -1000000000, 1000000000, 1000000000);
    EXPECT_EQ(Drawn(),
              "#....\n"
              "#####\n"
              "..#..\n");
}

TEST_F(CanvasTest, FarRectangleOutlinesOnlyWhatShows) {
    Start(4, 4);
    canvas_.Brush().style = bsClear;
    canvas_.PaintRect(-2000000000, 1, 2000000000, 3);
    EXPECT_EQ(Drawn(),
              "....\n"
              "####\n"
              "####\n"
              "....\n");
}

// Row colours of a one-column gradient, bottom row first.
std::vector<TColor> RowsUpwards(const QImage& image) {
    std::vector<TColor> rows;
    for (int y = image.height() - 1; y >= 0; --y) {
        rows.push_back(FromQColor(image.pixelColor(0, y)));
    }
    return rows;
}

// Lengths of the runs of equal neighbours.
std::vector<int> RunLengths(const std::vector<TColor>& rows) {
    std::vector<int> runs;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (i == 0 || rows[i] != rows[i - 1]) {
            runs.push_back(0);
        }
        ++runs.back();
    }
    return runs;
}

TEST_F(CanvasTest, GradientOfEqualColoursIsUniform) {
    Start(3, 125);
    canvas_.FillGradient({0, 0, 3, 125}, clRed, clRed);
    EXPECT_EQ(InkBounds(surface_.image), (TRect{0, 0, 3, 125}));
    EXPECT_EQ(RunLengths(RowsUpwards(surface_.image)), std::vector<int>{125});
    EXPECT_EQ(FromQColor(surface_.image.pixelColor(2, 0)), clRed);
}

TEST_F(CanvasTest, GradientRunsFromStartAtBottomToEndAtTopInOneRowBands) {
    Start(1, 125);
    canvas_.FillGradient({0, 0, 1, 125}, clWhite, clYellow);
    const std::vector<TColor> rows = RowsUpwards(surface_.image);
    EXPECT_EQ(rows.front(), clWhite);
    EXPECT_EQ(rows.back(), clYellow);
    EXPECT_EQ(RunLengths(rows), std::vector<int>(125, 1));
}

TEST_F(CanvasTest, TallGradientUses256BandsOfTwoOrThreeRows) {
    Start(1, 600);
    canvas_.FillGradient({0, 600, 1, 0}, clWhite, clYellow);
    const std::vector<int> runs = RunLengths(RowsUpwards(surface_.image));
    EXPECT_EQ(runs.size(), 256u);
    for (int run : runs) {
        EXPECT_TRUE(run == 2 || run == 3) << run;
    }
}

TEST_F(CanvasTest, GradientOneRowHighTakesTheStartColour) {
    Start(2, 1);
    canvas_.FillGradient({0, 0, 2, 1}, clRed, clBlue);
    EXPECT_EQ(Drawn(), "rr\n");
}

TEST_F(CanvasTest, ClipIntersectsAndClearClipLiftsIt) {
    Start(8, 3);
    canvas_.ClipTo({1, 0, 6, 3});
    canvas_.ClipTo({3, 1, 10, 2});
    canvas_.Brush() = {clRed, bsSolid};
    canvas_.FillArea({0, 0, 8, 3});
    canvas_.ClearClip();
    canvas_.HorizSegment(0, 8, 0);
    EXPECT_EQ(Drawn(),
              "########\n"
              "...rrr..\n"
              "........\n");
}

TEST_F(CanvasTest, InvisiblePenHidesOutlinesAndLinesButNotFills) {
    Start(5, 4);
    TChartPen pen;
    pen.SetVisible(false);
    canvas_.ApplyChartPen(pen);
    canvas_.Brush() = {clBlue, bsSolid};
    canvas_.PaintRect(0, 0, 4, 3);
    canvas_.DrawSegment(0, 3, 5, 3);
    EXPECT_EQ(Drawn(),
              "bbb..\n"
              "bbb..\n"
              ".....\n"
              ".....\n");
}

TEST_F(CanvasTest, FillAreaCoversRectangleWithoutOutline) {
    Start(4, 3);
    canvas_.Brush() = {clRed, bsSolid};
    canvas_.FillArea({3, 2, 1, 0});
    EXPECT_EQ(Drawn(),
              ".rr.\n"
              ".rr.\n"
              "....\n");
}

struct AnchorCase : test::NamedCase<AnchorCase> {
    int flags;
    // Expected ink edges relative to the anchor point (60, 20), given the
    // text's width w and cell height h: which edge lies where.
    bool startsAtX;
    bool endsBeforeX;
    bool centredOnX;
    bool bottomAtY;
};

class TextAnchorTest : public CanvasTest, public testing::WithParamInterface<AnchorCase> {};

TEST_P(TextAnchorTest, PlacesTheTextCellRelativeToThePoint) {
    Start(120, 40);
    canvas_.SetTextBackground(tbOpaque);
    canvas_.SetTextBackColor(clRed);
    canvas_.SetTextAnchor(GetParam().flags);
    const QString text = "Wx";
    const int width = canvas_.MeasureTextWidth(text);
    const int height = canvas_.MeasureTextHeight(text);
    canvas_.DrawTextAt(60, 20, text);
    // With an opaque background the painted cell is the text cell exactly.
    const TRect cell = InkBounds(surface_.image);
    EXPECT_EQ(cell.Width(), width);
    EXPECT_EQ(cell.Height(), height);
    if (GetParam().startsAtX) {
        EXPECT_EQ(cell.left, 60);
    }
    if (GetParam().endsBeforeX) {
        EXPECT_EQ(cell.right, 60);
    }
    if (GetParam().centredOnX) {
        EXPECT_EQ(cell.left, 60 - width / 2);
    }
    EXPECT_EQ(GetParam().bottomAtY ? cell.bottom : cell.top, 20);
}

INSTANTIATE_TEST_SUITE_P(Flags, TextAnchorTest,
                         testing::Values(AnchorCase{"left_top_0", 0, true, false, false, false},
                                         AnchorCase{"right_2", 2, false, true, false, false},
                                         AnchorCase{"centre_6", 6, false, false, true, false},
                                         AnchorCase{"left_bottom_8", 8, true, false, false, true},
                                         AnchorCase{"centre_bottom_14", 14, false, false, true,
                                                    true}),
                         test::CaseName());

TEST_F(CanvasTest, TransparentTextSetsOnlyGlyphPixelsInFontColour) {
    Start(60, 20);
    canvas_.SetTextBackground(tbTransparent);
    TChartFont font("Arial", 11, clBlue);
    canvas_.SetFont(font);
    canvas_.DrawTextAt(2, 2, "W");
    const TRect ink = InkBounds(surface_.image);
    ASSERT_FALSE(ink.IsEmpty());
    EXPECT_LE(ink.Width(), canvas_.MeasureTextWidth("W"));
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 60; ++x) {
            const TColor pixel = FromQColor(surface_.image.pixelColor(x, y));
            EXPECT_TRUE(pixel == clWhite || pixel == clBlue) << x << "," << y;
        }
    }
}

TEST_F(CanvasTest, TextIsClippedLikeLines) {
    Start(60, 20);
    canvas_.ClipTo({0, 0, 0, 0});
    canvas_.SetTextBackground(tbOpaque);
    canvas_.DrawTextAt(2, 2, "W");
    EXPECT_EQ(InkBounds(surface_.image), TRect{});
}

}  // namespace
}  // namespace tesmera
