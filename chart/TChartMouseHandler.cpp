// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/TChartMouseHandler.h"

#include <cstdlib>

#include "chart/TCustomChart.h"
#include "chart/axis_series.h"
#include "chart/chart_hit_test.h"

namespace tesmera {

namespace {

// A zoom drag must cover more than this many pixels in both directions;
// a smaller one is taken for a click.
constexpr int ZoomDragThreshold = 16;
// One wheel notch moves a value axis by this many hundredths of its range.
constexpr int WheelStepPercent = 3;

}  // namespace

TChartMouseHandler::TChartMouseHandler(TCustomChart& chart) : chart_(chart) {}

void TChartMouseHandler::ChartMouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (zoom_.dragActive || pan_.dragActive) {
        return;
    }
    if (!mouseHandled_) {
        HandlePress(button, shift, x, y);
    }
    mouseHandled_ = false;
}

void TChartMouseHandler::HandlePress(TMouseButton button, TShiftState shift, int x, int y) {
    // A click handler may set MouseHandled to keep the press to itself.
    const auto runClick = [this](const auto& event, auto&... args) {
        if (event) {
            event(args...);
        }
        return mouseHandled_;
    };
    bool handled = false;
    const TChartClickedPart clicked = FindClickedPart(chart_, x, y);
    switch (clicked.part) {
        case cpSeries:
            handled = runClick(events_.OnClickSeries, *clicked.series, clicked.pointIndex, button,
                               shift, x, y);
            break;
        case cpAxis:
            handled = runClick(events_.OnClickAxis, *clicked.axis, button, shift, x, y);
            break;
        case cpChartRect:
            handled = runClick(events_.OnClickBackground, button, shift, x, y);
            break;
        case cpNone:
        case cpTitle:
        case cpFoot:
            // No drag starts on the titles or outside the plot area.
            break;
    }
    const bool dragsHere =
        clicked.part == cpSeries || clicked.part == cpAxis || clicked.part == cpChartRect;
    if (dragsHere && !handled) {
        handled = StartDrag(button, shift, x, y);
    }
    if (!handled) {
        runClick(events_.OnClickBackground, button, shift, x, y);
    }
}

bool TChartMouseHandler::StartDrag(TMouseButton button, TShiftState shift, int x, int y) {
    bool started = false;
    if (chart_.AllowZoom() && button == ZoomButton && HoldsAll(shift, ZoomShiftKeys)) {
        SetCursor(Qt::ArrowCursor);
        zoom_.Activate(x, y);
        DrawZoomRectangle();
        ShowScreenNow();
        started = true;
    }
    if (chart_.AllowPanning() != TPanningMode::pmNone && button == PanButton &&
        HoldsAll(shift, PanShiftKeys)) {
        SetCursor(Qt::ArrowCursor);
        pan_.Activate(x, y);
        started = true;
    }
    return started;
}

void TChartMouseHandler::ChartMouseMove(TShiftState /*shift*/, int x, int y) {
    if (zoom_.dragActive) {
        MoveZoomCorner(x, y);
    } else if (pan_.dragActive) {
        MovePan(x, y);
    } else {
        // No series of this chart has a cursor of its own.
        SetCursor(restingCursor_);
    }
}

void TChartMouseHandler::MoveZoomCorner(int x, int y) {
    if (zoom_.IsLastAt(x, y)) {
        return;
    }
    DrawZoomRectangle();  // erases the outline at the old corner
    zoom_.lastX = x;
    zoom_.lastY = y;
    DrawZoomRectangle();
    ShowScreenNow();
}

void TChartMouseHandler::MovePan(int x, int y) {
    if (!chart_.PlotRect().Contains(x, y)) {
        pan_.dragActive = false;
        return;
    }
    if (pan_.IsLastAt(x, y)) {
        return;
    }
    SaveScalesOnce();
    const bool scrolledAcross = PanAxes(true, x, pan_.lastX);
    const bool scrolledAlong = PanAxes(false, y, pan_.lastY);
    pan_.lastX = x;
    pan_.lastY = y;
    if (scrolledAcross || scrolledAlong) {
        if (events_.OnScroll) {
            events_.OnScroll();
        }
        chart_.InvalidateChart();
    }
}

bool TChartMouseHandler::PanAxes(bool horizontal, int newPosition, int lastPosition) {
    if (newPosition == lastPosition) {
        return false;
    }
    const TPanningMode mode = chart_.AllowPanning();
    if (mode != TPanningMode::pmBoth &&
        mode != (horizontal ? TPanningMode::pmHorizontal : TPanningMode::pmVertical)) {
        return false;
    }
    for (TChartAxis* axis : chart_.AxisList()) {
        if (axis->IsDepth() || axis->IsHorizontal() != horizontal) {
            continue;
        }
        // The content follows the mouse: the value under the last position
        // moves to the new one.
        const double shift = axis->PixelToValue(lastPosition) - axis->PixelToValue(newPosition);
        double low = axis->Minimum() + shift;
        double high = axis->Maximum() + shift;
        bool allow = true;
        if (events_.OnAllowScroll) {
            events_.OnAllowScroll(*axis, low, allow, high);
        }
        if (allow) {
            axis->SetAxisRange(low, high);
        }
    }
    return true;
}

void TChartMouseHandler::ChartMouseUp(TMouseButton button, TShiftState /*shift*/, int x, int y) {
    if (zoom_.dragActive && button == ZoomButton) {
        zoom_.dragActive = false;
        DrawZoomRectangle();  // erases the outline
        ShowScreenNow();
        zoom_.lastX = x;
        zoom_.lastY = y;
        const int dx = zoom_.lastX - zoom_.anchorX;
        const int dy = zoom_.lastY - zoom_.anchorY;
        if (std::abs(dx) > ZoomDragThreshold && std::abs(dy) > ZoomDragThreshold) {
            if (dx > 0 && dy > 0) {
                ZoomToRectangle();
            } else {
                UndoChartZoom();
            }
            chart_.InvalidateChart();
        }
    }
    pan_.dragActive = false;
}

TChartMouseHandler::ZoomTargets TChartMouseHandler::ZoomTargetsOfBand() const {
    const TRect band = ZoomBand().Ordered();
    // Rows grow downwards, so a vertical axis' low value is at the bottom row.
    const auto vertical = [&band](TChartAxis& axis) {
        return ZoomTarget{&axis, axis.PixelToValue(band.bottom), axis.PixelToValue(band.top)};
    };
    const auto horizontal = [&band](TChartAxis& axis) {
        return ZoomTarget{&axis, axis.PixelToValue(band.left), axis.PixelToValue(band.right)};
    };
    return {vertical(chart_.LeftAxis()), vertical(chart_.RightAxis()), horizontal(chart_.TopAxis()),
            horizontal(chart_.BottomAxis())};
}

void TChartMouseHandler::ZoomToRectangle() {
    const ZoomTargets targets = ZoomTargetsOfBand();
    SaveScalesOnce();
    if (chart_.AnimatedZoom()) {
        AnimateZoom(targets);
    }
    for (const ZoomTarget& target : targets) {
        target.axis->SetAxisRange(target.low, target.high);
    }
    zoomed_ = true;
    if (events_.OnZoom) {
        events_.OnZoom();
    }
}

void TChartMouseHandler::AnimateZoom(const ZoomTargets& targets) {
    // Each step starts from the range on screen and covers a fixed share of
    // the way still left.
    std::array<double, 4> low{};
    std::array<double, 4> high{};
    for (std::size_t i = 0; i < targets.size(); ++i) {
        low[i] = targets[i].axis->RangeMin();
        high[i] = targets[i].axis->RangeMax();
    }
    for (int step = 1; step < chart_.AnimatedZoomSteps(); ++step) {
        for (std::size_t i = 0; i < targets.size(); ++i) {
            low[i] += (targets[i].low - low[i]) / AnimatedZoomFactor;
            high[i] += (targets[i].high - high[i]) / AnimatedZoomFactor;
            targets[i].axis->SetAxisRange(low[i], high[i]);
        }
        ShowScreenNow();
    }
}

void TChartMouseHandler::UndoChartZoom() {
    if (!scalesRestored_) {
        savedScales_.Recall(chart_);
        scalesRestored_ = true;
    }
    if (events_.OnUndoZoom) {
        events_.OnUndoZoom();
    }
    chart_.InvalidateChart();
    zoomed_ = false;
}

void TChartMouseHandler::SaveScalesOnce() {
    if (scalesRestored_) {
        savedScales_.Store(chart_);
        scalesRestored_ = false;
    }
}

void TChartMouseHandler::ChartMouseWheel(TWheelTurn turn) {
    for (TChartAxis* axis : chart_.AxisList()) {
        if (axis->IsHorizontal()) {
            continue;
        }
        // Width times 3 and then times 0.01: a folded 0.03 rounds differently.
        const double step = (axis->Maximum() - axis->Minimum()) * WheelStepPercent * 0.01;
        ScrollAxis(*axis, false, turn == TWheelTurn::Down ? step : -step);
    }
}

void TChartMouseHandler::ScrollAxis(TChartAxis& axis, bool checkLimits, double delta) {
    if (checkLimits) {
        const bool allowed = delta > 0   ? SeriesExtreme(axis, false) > axis.Maximum()
                             : delta < 0 ? SeriesExtreme(axis, true) < axis.Minimum()
                                         : false;
        if (!allowed) {
            return;
        }
    }
    axis.SetAutomatic(false);
    axis.SetMaximum(axis.Maximum() + delta);
    axis.SetMinimum(axis.Minimum() + delta);
    ShowScreenNow();
}

void TChartMouseHandler::ChartMouseLeave() {
    SetCursor(restingCursor_);
    pan_.dragActive = false;
}

void TChartMouseHandler::DrawZoomRectangleIfActive() {
    bandInBuffer_.reset();
    if (zoom_.dragActive) {
        DrawZoomRectangle();
        bandInBuffer_ = ZoomBand();
    }
}

void TChartMouseHandler::BufferCopiedToScreen() {
    if (bandInBuffer_) {
        InvertOutline(*bandInBuffer_);
    }
    if (zoom_.dragActive) {
        DrawZoomRectangle();
    }
}

TRect TChartMouseHandler::ZoomBand() const {
    return {zoom_.anchorX, zoom_.anchorY, zoom_.lastX, zoom_.lastY};
}

void TChartMouseHandler::InvertOutline(const TRect& band) {
    TChartCanvas3D& canvas = chart_.Canvas();
    // Against a white panel the pen would invert nothing; black inverts all.
    const TColor color = ToRGBColor(chart_.Color()) == clWhite ? clBlack : chart_.Color();
    canvas.Pen() = {color, 1, psSolid, pmNotXor, false};
    canvas.Brush().style = bsClear;
    canvas.PaintRect(band);
    canvas.Pen().mode = pmCopy;
}

void TChartMouseHandler::ShowScreenNow() const {
    if (showScreen_) {
        showScreen_();
    }
}

void TChartMouseHandler::SetCursor(Qt::CursorShape cursor) const {
    if (setCursor_) {
        setCursor_(cursor);
    }
}

}  // namespace tesmera
