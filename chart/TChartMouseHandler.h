// SPDX-License-Identifier: GPL-3.0-or-later
// The chart's own reaction to the mouse: a left drag down and to the right
// zooms into the dragged rectangle, a left drag in any other direction undoes
// every zoom and scroll, a right drag scrolls the view with the mouse, and the
// wheel moves the value axes. Only axis ranges change; the series stay as they
// are. Positions are pixels of the control, the geometry that of the last
// painted frame.
#pragma once

#include <array>
#include <functional>
#include <optional>

#include <Qt>

#include "chart/TRect.h"
#include "chart/TZoomPanningRecord.h"
#include "chart/mouse_input.h"
#include "chart/saved_axis_scales.h"

namespace tesmera {

class TChartAxis;
class TChartSeries;
class TCustomChart;

// Optional handlers a program may set; the chart works the same without them.
// A click handler that sets MouseHandled keeps the press from starting a drag.
struct TChartMouseEvents {
    std::function<void()> OnZoom;
    std::function<void()> OnUndoZoom;
    std::function<void()> OnScroll;
    // Before an axis scrolls to low .. high: may change both and refuse the
    // move by clearing `allow`.
    std::function<void(TChartAxis& axis, double& low, bool& allow, double& high)> OnAllowScroll;
    std::function<void(TChartAxis& axis, TMouseButton, TShiftState, int x, int y)> OnClickAxis;
    std::function<void(TChartSeries& series, int valueIndex, TMouseButton, TShiftState, int x,
                       int y)>
        OnClickSeries;
    std::function<void(TMouseButton, TShiftState, int x, int y)> OnClickBackground;
};

class TChartMouseHandler {
  public:
    // `chart` (not owned) outlives the handler.
    explicit TChartMouseHandler(TCustomChart& chart);
    TChartMouseHandler(const TChartMouseHandler&) = delete;
    TChartMouseHandler& operator=(const TChartMouseHandler&) = delete;

    // How the handler reaches its control: `showScreen` puts what the canvas
    // has drawn on the control's screen at once (painting a frame first when
    // the chart has changed); `setCursor` sets the control's cursor.
    void SetShowScreen(std::function<void()> showScreen) { showScreen_ = std::move(showScreen); }
    void SetCursorRequest(std::function<void(Qt::CursorShape)> setCursor) {
        setCursor_ = std::move(setCursor);
    }
    // The cursor the control shows while no drag is going on.
    void SetRestingCursor(Qt::CursorShape cursor) { restingCursor_ = cursor; }

    TChartMouseEvents& Events() { return events_; }
    bool MouseHandled() const { return mouseHandled_; }
    void SetMouseHandled(bool handled) { mouseHandled_ = handled; }
    // False while a zoom or scroll can be undone.
    bool ScalesRestored() const { return scalesRestored_; }
    bool Zoomed() const { return zoomed_; }
    const TZoomPanningRecord& ZoomRecord() const { return zoom_; }
    const TZoomPanningRecord& PanRecord() const { return pan_; }

    // The control's mouse notifications. While a drag is active, further
    // presses are ignored.
    void ChartMouseDown(TMouseButton button, TShiftState shift, int x, int y);
    void ChartMouseMove(TShiftState shift, int x, int y);
    void ChartMouseUp(TMouseButton button, TShiftState shift, int x, int y);
    // One notch: every vertical axis moves by 3 % of its range, up for a turn
    // down. The scales are not saved, so UndoChartZoom does not take it back.
    void ChartMouseWheel(TWheelTurn turn);
    // The resting cursor comes back and a scroll ends.
    void ChartMouseLeave();

    // Back to the scales saved before the first zoom or scroll.
    void UndoChartZoom();
    // Moves the axis range by `delta` and repaints at once. With
    // `checkLimits`, only towards series values beyond the range.
    void ScrollAxis(TChartAxis& axis, bool checkLimits, double delta);

    // A step of every frame: draws the rubber band into the frame while the
    // zoom drag is active, so it survives a repaint.
    void DrawZoomRectangleIfActive();
    // To be called when the control's screen got the buffered frame again
    // without a new frame: the rubber band drawn into that frame may stand
    // elsewhere than the current one.
    void BufferCopiedToScreen();

  private:
    // The range an axis is zoomed to.
    struct ZoomTarget {
        TChartAxis* axis;
        double low;
        double high;
    };
    using ZoomTargets = std::array<ZoomTarget, 4>;

    void HandlePress(TMouseButton button, TShiftState shift, int x, int y);
    bool StartDrag(TMouseButton button, TShiftState shift, int x, int y);
    void MoveZoomCorner(int x, int y);
    void MovePan(int x, int y);
    bool PanAxes(bool horizontal, int newPosition, int lastPosition);
    void ZoomToRectangle();
    ZoomTargets ZoomTargetsOfBand() const;
    // The intermediate ranges of an animated zoom, each painted at once.
    void AnimateZoom(const ZoomTargets& targets);
    void SaveScalesOnce();

    TRect ZoomBand() const;
    // Inverts the outline of `band` (with the not-XOR pen) on the canvas'
    // current target.
    void InvertOutline(const TRect& band);
    void DrawZoomRectangle() { InvertOutline(ZoomBand()); }
    void ShowScreenNow() const;
    void SetCursor(Qt::CursorShape cursor) const;

    TCustomChart& chart_;
    TChartMouseEvents events_;
    std::function<void()> showScreen_;
    std::function<void(Qt::CursorShape)> setCursor_;
    Qt::CursorShape restingCursor_ = Qt::ArrowCursor;
    TZoomPanningRecord zoom_;
    TZoomPanningRecord pan_;
    TSavedAxisScales savedScales_;
    bool scalesRestored_ = true;
    bool zoomed_ = false;
    bool mouseHandled_ = false;
    // The rubber band the last frame drew into the buffer, if any.
    std::optional<TRect> bandInBuffer_;
};

}  // namespace tesmera
