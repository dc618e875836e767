// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/TChartMouseHandler.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "support/param_name.h"
#include "window_chart_control.h"

namespace tesmera {
namespace {

using testing_support::AxisView;
using testing_support::BarValues;
using testing_support::WindowChartControlTest;

using ChartMouseTest = WindowChartControlTest;

bool AllSideAxesAutomatic(TChart& chart) {
    for (TChartAxis* axis :
         {&chart.LeftAxis(), &chart.RightAxis(), &chart.TopAxis(), &chart.BottomAxis()}) {
        if (!axis->Automatic() || !axis->AutomaticMinimum() || !axis->AutomaticMaximum()) {
            return false;
        }
    }
    return true;
}

// --- Left drags from (100, 40): what the release point makes of them.

enum class DragOutcome { Zoom, Undo, Nothing };

struct LeftDragCase : test::NamedCase<LeftDragCase> {
    int toX;
    int toY;
    DragOutcome outcome;
};

class LeftDragTest : public ChartMouseTest, public testing::WithParamInterface<LeftDragCase> {};

TEST_P(LeftDragTest, ZoomsUndoesOrIgnores) {
    const LeftDragCase& drag = GetParam();
    const auto before = ShownRanges();
    const int framesBefore = Chart().FramesPainted();
    Drag(Qt::LeftButton, 100, 40, drag.toX, drag.toY);

    EXPECT_FALSE(Mouse().ZoomRecord().dragActive);
    switch (drag.outcome) {
        case DragOutcome::Zoom:
            EXPECT_TRUE(Mouse().Zoomed());
            EXPECT_FALSE(Mouse().ScalesRestored());
            EXPECT_FALSE(AllSideAxesAutomatic(Chart()));
            EXPECT_NE(ShownRanges(), before);
            break;
        case DragOutcome::Undo:
            // Nothing to undo: the view stays automatic and is only repainted.
            EXPECT_TRUE(Mouse().ScalesRestored());
            EXPECT_TRUE(AllSideAxesAutomatic(Chart()));
            EXPECT_EQ(Chart().FramesPainted(), framesBefore + 1);
            EXPECT_EQ(ShownRanges(), before);
            break;
        case DragOutcome::Nothing:
            EXPECT_TRUE(Mouse().ScalesRestored());
            EXPECT_TRUE(AllSideAxesAutomatic(Chart()));
            EXPECT_EQ(Chart().FramesPainted(), framesBefore);
            break;
    }
}

INSTANTIATE_TEST_SUITE_P(
    From100x40, LeftDragTest,
    testing::Values(LeftDragCase{"DownRight17x17", 117, 57, DragOutcome::Zoom},
                    LeftDragCase{"DownRight16Across", 116, 80, DragOutcome::Nothing},
                    LeftDragCase{"DownRight16Down", 160, 56, DragOutcome::Nothing},
                    LeftDragCase{"UpLeft", 83, 23, DragOutcome::Undo},
                    LeftDragCase{"UpRight", 140, 23, DragOutcome::Undo},
                    LeftDragCase{"DownLeft", 60, 80, DragOutcome::Undo}),
    test::CaseName());

TEST_F(ChartMouseTest, ZoomShowsTheValuesUnderTheDraggedRectangle) {
    TChartAxis& left = Chart().LeftAxis();
    TChartAxis& bottom = Chart().BottomAxis();
    const AxisView leftTarget{left.PixelToValue(80), left.PixelToValue(40)};
    const AxisView bottomTarget{bottom.PixelToValue(100), bottom.PixelToValue(200)};
    Drag(Qt::LeftButton, 100, 40, 200, 80);

    EXPECT_DOUBLE_EQ(left.Minimum(), leftTarget.rangeMin);
    EXPECT_DOUBLE_EQ(left.Maximum(), leftTarget.rangeMax);
    EXPECT_DOUBLE_EQ(bottom.Minimum(), bottomTarget.rangeMin);
    EXPECT_DOUBLE_EQ(bottom.Maximum(), bottomTarget.rangeMax);
    // No widening by the bar margins once the range is fixed.
    EXPECT_DOUBLE_EQ(bottom.RangeMin(), bottomTarget.rangeMin);
    EXPECT_DOUBLE_EQ(bottom.RangeMax(), bottomTarget.rangeMax);
    // The hidden axes get a fixed empty range.
    EXPECT_FALSE(Chart().TopAxis().Automatic());
    EXPECT_DOUBLE_EQ(Chart().TopAxis().Maximum() - Chart().TopAxis().Minimum(), 1e-10);
}

TEST_F(ChartMouseTest, ReverseDragAfterAZoomRestoresTheAutomaticView) {
    const auto automaticView = ShownRanges();
    Drag(Qt::LeftButton, 100, 40, 200, 80);
    ASSERT_NE(ShownRanges(), automaticView);
    Drag(Qt::LeftButton, 200, 80, 100, 40);
    EXPECT_TRUE(AllSideAxesAutomatic(Chart()));
    EXPECT_TRUE(Mouse().ScalesRestored());
    EXPECT_FALSE(Mouse().Zoomed());
    EXPECT_EQ(ShownRanges(), automaticView);
}

TEST_F(ChartMouseTest, TwoZoomsAndOneUndoReturnToTheViewBeforeTheFirst) {
    const auto automaticView = ShownRanges();
    Drag(Qt::LeftButton, 100, 40, 250, 90);
    const auto firstZoom = ShownRanges();
    Drag(Qt::LeftButton, 120, 50, 200, 80);
    ASSERT_NE(ShownRanges(), firstZoom);
    Drag(Qt::LeftButton, 200, 80, 120, 50);
    EXPECT_EQ(ShownRanges(), automaticView);
    EXPECT_TRUE(AllSideAxesAutomatic(Chart()));
}

TEST_F(ChartMouseTest, ReleaseOutsideTheControlEndsTheZoom) {
    Press(Qt::LeftButton, 100, 40);
    MoveTo(117, 57);
    // Below and right of the control, over the window: the control keeps the
    // mouse until the release.
    Release(Qt::LeftButton, 420, 200);
    Settle();
    EXPECT_FALSE(Mouse().ZoomRecord().dragActive);
    EXPECT_TRUE(Mouse().Zoomed());
}

TEST_F(ChartMouseTest, PressesDuringADragAreIgnored) {
    Press(Qt::LeftButton, 100, 40);
    Press(Qt::RightButton, 150, 60);
    EXPECT_TRUE(Mouse().ZoomRecord().dragActive);
    EXPECT_FALSE(Mouse().PanRecord().dragActive);
    Release(Qt::RightButton, 150, 60);
    EXPECT_TRUE(Mouse().ZoomRecord().dragActive);
    Release(Qt::LeftButton, 100, 40);
    EXPECT_FALSE(Mouse().ZoomRecord().dragActive);
}

TEST_F(ChartMouseTest, PressOnTheTitleStartsNothing) {
    const TRect& title = Chart().Title().TitleRect();
    const int x = (title.left + title.right) / 2;
    const int y = (title.top + title.bottom) / 2;
    ASSERT_LT(y, Chart().PlotRect().top);
    for (const Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
        Press(button, x, y);
        EXPECT_FALSE(Mouse().ZoomRecord().dragActive);
        EXPECT_FALSE(Mouse().PanRecord().dragActive);
        Release(button, x, y);
    }
}

TEST_F(ChartMouseTest, RefillAfterAZoomReplacesTheBarsButKeepsTheRanges) {
    Drag(Qt::LeftButton, 100, 40, 200, 80);
    const auto zoomed = ShownRanges();
    Refill(BarValues, 0.5);
    Settle();
    EXPECT_EQ(ShownRanges(), zoomed);
    EXPECT_EQ(bars_.NumPoints(), 20);
    EXPECT_DOUBLE_EQ(bars_.YValues().ValueAt(0), 2000);
    EXPECT_FALSE(Mouse().ScalesRestored());
}

// --- Scrolling with the right button.

TEST_F(ChartMouseTest, TwoLeftDragsMoveTheViewByTwentyPixelsWorth) {
    TChartAxis& bottom = Chart().BottomAxis();
    const double minimumBefore = bottom.Minimum();
    const auto left = ShownRanges()[0];
    // Each step moves by its pixels at the scale of the frame it started
    // from; the first frame's range was still widened by the bar margins.
    const double firstStep = 10 * bottom.RangeSpan() / bottom.AxisLength();
    Press(Qt::RightButton, 200, 60);
    MoveTo(190, 60);
    Settle();
    const double secondStep = 10 * bottom.RangeSpan() / bottom.AxisLength();
    MoveTo(180, 60);
    Release(Qt::RightButton, 180, 60);
    Settle();
    EXPECT_NEAR(bottom.Minimum(), minimumBefore + firstStep + secondStep, 1e-9);
    EXPECT_NEAR(bottom.Maximum() - bottom.Minimum(), bottom.RangeSpan(), 1e-9);
    EXPECT_EQ(ShownRanges()[0], left);  // no vertical movement
    EXPECT_FALSE(Mouse().ScalesRestored());
}

TEST_F(ChartMouseTest, RightDragsMirrorLeftDrags) {
    TChartAxis& bottom = Chart().BottomAxis();
    const double minimumBefore = bottom.Minimum();
    Drag(Qt::RightButton, 200, 60, 190, 60);
    const double movedLeft = bottom.Minimum() - minimumBefore;
    Drag(Qt::LeftButton, 250, 90, 150, 40);  // undo
    Drag(Qt::RightButton, 190, 60, 200, 60);
    EXPECT_GT(movedLeft, 0);
    EXPECT_NEAR(bottom.Minimum() - minimumBefore, -movedLeft, 1e-9);
}

TEST_F(ChartMouseTest, DraggingDownShowsLargerValues) {
    TChartAxis& left = Chart().LeftAxis();
    const double maximumBefore = left.Maximum();
    Drag(Qt::RightButton, 150, 50, 150, 60);
    EXPECT_GT(left.Maximum(), maximumBefore);
}

TEST_F(ChartMouseTest, RightDragLeavingThePlotAreaEndsTheScroll) {
    Press(Qt::RightButton, 200, 60);
    MoveTo(190, 60);
    const double minimum = Chart().BottomAxis().Minimum();
    MoveTo(2, 60);  // over the left bevel
    EXPECT_FALSE(Mouse().PanRecord().dragActive);
    MoveTo(150, 60);
    Release(Qt::RightButton, 150, 60);
    EXPECT_DOUBLE_EQ(Chart().BottomAxis().Minimum(), minimum);
}

TEST_F(ChartMouseTest, MouseLeavingTheControlEndsTheScrollAndRestoresTheCursor) {
    Mouse().SetRestingCursor(Qt::CrossCursor);
    Press(Qt::RightButton, 200, 60);
    EXPECT_EQ(control_->cursor().shape(), Qt::ArrowCursor);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(control_, &leave);
    EXPECT_FALSE(Mouse().PanRecord().dragActive);
    EXPECT_EQ(control_->cursor().shape(), Qt::CrossCursor);
    Release(Qt::RightButton, 200, 60);
}

TEST_F(ChartMouseTest, RefusedScrollLeavesTheAxisButCountsAsScrolled) {
    int scrolls = 0;
    Mouse().Events().OnScroll = [&scrolls] { ++scrolls; };
    Mouse().Events().OnAllowScroll = [](TChartAxis& axis, double&, bool& allow, double&) {
        allow = !axis.IsHorizontal();
    };
    const double minimum = Chart().BottomAxis().Minimum();
    Drag(Qt::RightButton, 200, 60, 190, 60);
    EXPECT_DOUBLE_EQ(Chart().BottomAxis().Minimum(), minimum);
    EXPECT_TRUE(Chart().BottomAxis().Automatic());
    EXPECT_EQ(scrolls, 1);
}

TEST_F(ChartMouseTest, HorizontalPanningKeepsTheValueAxis) {
    Chart().SetAllowPanning(TPanningMode::pmHorizontal);
    Drag(Qt::RightButton, 200, 60, 190, 70);
    EXPECT_TRUE(Chart().LeftAxis().Automatic());
    EXPECT_FALSE(Chart().BottomAxis().Automatic());
}

// --- The wheel.

struct WheelCase : test::NamedCase<WheelCase> {
    std::vector<int> angles;
    double shareOfRange;  // how far the value range moves up
};

class WheelTest : public ChartMouseTest, public testing::WithParamInterface<WheelCase> {};

TEST_P(WheelTest, MovesTheValueRangeByThreePercentPerNotch) {
    TChartAxis& left = Chart().LeftAxis();
    const double minimum = left.Minimum();
    const double maximum = left.Maximum();
    for (const int angle : GetParam().angles) {
        Wheel(angle);
    }
    const double shift = (maximum - minimum) * GetParam().shareOfRange;
    EXPECT_NEAR(left.Minimum(), minimum + shift, 1e-9);
    EXPECT_NEAR(left.Maximum(), maximum + shift, 1e-9);
    EXPECT_TRUE(Mouse().ScalesRestored());  // nothing saved for an undo
}

INSTANTIATE_TEST_SUITE_P(Notches, WheelTest,
                         testing::Values(WheelCase{"OneDown", {-120}, 0.03},
                                         WheelCase{"OneUp", {120}, -0.03},
                                         WheelCase{"TwoHalvesDown", {-60, -60}, 0.03},
                                         WheelCase{"HalfANotch", {-60}, 0.0},
                                         WheelCase{"TwoDown", {-240}, 0.06}),
                         test::CaseName());

TEST_F(ChartMouseTest, WheelRepaintsAtOnce) {
    const int framesBefore = Chart().FramesPainted();
    Wheel(-120);
    EXPECT_GT(Chart().FramesPainted(), framesBefore);
    EXPECT_FALSE(Chart().Canvas().BufferStale());
}

// Three hundredths of the width, taken as width * 3 * 0.01: for a width of 30
// that is 0.9 exactly, where width * 0.03 would fall one unit short of it.
TEST_F(ChartMouseTest, WheelStepIsThreeHundredthsOfTheWidth) {
    TChartAxis& left = Chart().LeftAxis();
    left.SetAxisRange(0, 30);
    Mouse().ChartMouseWheel(TWheelTurn::Down);
    EXPECT_EQ(left.Minimum(), 0.9);
}

// --- Scrolling one axis with the limit check.

struct LimitCase : test::NamedCase<LimitCase> {
    double low;
    double high;
    double delta;
    bool moves;
};

class ScrollLimitTest : public ChartMouseTest, public testing::WithParamInterface<LimitCase> {};

TEST_P(ScrollLimitTest, MovesOnlyTowardsSeriesValuesOutsideTheRange) {
    TChartAxis& left = Chart().LeftAxis();
    left.SetAxisRange(GetParam().low, GetParam().high);
    Mouse().ScrollAxis(left, true, GetParam().delta);
    const double shift = GetParam().moves ? GetParam().delta : 0;
    EXPECT_DOUBLE_EQ(left.Minimum(), GetParam().low + shift);
    EXPECT_DOUBLE_EQ(left.Maximum(), GetParam().high + shift);
}

// The bars span 0 .. 4000.
INSTANTIATE_TEST_SUITE_P(Bars0To4000, ScrollLimitTest,
                         testing::Values(LimitCase{"UpWithBarsAbove", 1000, 2000, 50, true},
                                         LimitCase{"UpAtTheTop", 3000, 4000, 50, false},
                                         LimitCase{"DownWithBarsBelow", 1000, 2000, -50, true},
                                         LimitCase{"DownAtTheBottom", 0, 2000, -50, false},
                                         LimitCase{"Zero", 1000, 2000, 0, false}),
                         test::CaseName());

// --- Click handlers and the switches.

TEST_F(ChartMouseTest, HandledClickStartsNoDrag) {
    int clicks = 0;
    Mouse().Events().OnClickBackground = [this, &clicks](TMouseButton, TShiftState, int, int) {
        ++clicks;
        Mouse().SetMouseHandled(true);
    };
    Press(Qt::LeftButton, 300, 30);  // plot area above the small bars
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(Mouse().ZoomRecord().dragActive);
    EXPECT_FALSE(Mouse().MouseHandled());
    Release(Qt::LeftButton, 300, 30);
}

TEST_F(ChartMouseTest, SwitchedOffDragsDoNotStart) {
    Chart().SetAllowZoom(false);
    Chart().SetAllowPanning(TPanningMode::pmNone);
    for (const Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
        Press(button, 150, 60);
        EXPECT_FALSE(Mouse().ZoomRecord().dragActive);
        EXPECT_FALSE(Mouse().PanRecord().dragActive);
        Release(button, 150, 60);
    }
}

TEST_F(ChartMouseTest, AnimatedZoomPaintsTheStepsAndEndsAtTheTarget) {
    Drag(Qt::LeftButton, 100, 40, 200, 80);
    const auto target = ShownRanges();
    Drag(Qt::LeftButton, 200, 80, 100, 40);
    Chart().SetAnimatedZoom(true);
    const int framesBefore = Chart().FramesPainted();
    Drag(Qt::LeftButton, 100, 40, 200, 80);
    // Seven steps between, then the final frame.
    EXPECT_EQ(Chart().FramesPainted(), framesBefore + 8);
    EXPECT_EQ(ShownRanges(), target);
}

}  // namespace
}  // namespace tesmera
