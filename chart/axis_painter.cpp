// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/axis_painter.h"

#include <algorithm>
#include <cmath>

#include "chart/TChartAxis.h"
#include "chart/TChartCanvas.h"
#include "chart/TCustomAxisPanel.h"
#include "chart/axis_layout.h"
#include "chart/axis_scale.h"
#include "chart/axis_series.h"

namespace tesmera {

namespace {

// Tick positions kept per axis; more can only come from settings this chart
// does not use (no separation on a wide range), and those get no tick.
constexpr std::size_t TickListCapacity = 2000;

// +1 when the outside of the plot area lies towards larger pixel coordinates.
int OutwardStep(const TCustomChartAxis& axis) {
    return (axis.Place() == AxisPlace::Bottom || axis.Place() == AxisPlace::Right) ? 1 : -1;
}

// Keeps point labels apart: after the first label, a label widened by
// LabelsSeparation * 2 percent is drawn only when its half and the last drawn
// label's half do not overlap.
class SeriesLabelSpacing {
  public:
    explicit SeriesLabelSpacing(int labelsSeparation) : separation_(labelsSeparation) {}

    // True when a label of `size` pixels at `pixel` may be drawn; it then
    // becomes the last drawn label.
    bool Admit(int pixel, int size) {
        int half = size / 2;
        if (separation_ != 0 && anyDrawn_) {
            half = (size + static_cast<int>(size * 0.02 * separation_)) / 2;
            const bool clear = pixel >= previous_ ? pixel - half >= previous_ + previousHalf_
                                                  : pixel + half <= previous_ - previousHalf_;
            if (!clear) {
                return false;
            }
        }
        previous_ = pixel;
        previousHalf_ = half;
        anyDrawn_ = true;
        return true;
    }

  private:
    int separation_;
    bool anyDrawn_ = false;
    int previous_ = 0;
    int previousHalf_ = 0;
};

}  // namespace

AxisPainter::AxisPainter(TCustomChartAxis& axis, TChartCanvas& canvas, const TRect& plot)
    : axis_(axis), canvas_(canvas), plot_(plot) {
    ticks_.reserve(TickListCapacity);
}

void AxisPainter::Draw() {
    canvas_.SetFont(axis_.LabelsFont());
    axis_.SetAxisLinePos(EdgeOf(plot_, axis_));
    ticks_.clear();
    if (axis_.RangeMax() >= axis_.RangeMin()) {
        switch (ResolveLabelStyle(axis_)) {
            case talValue:
                DrawValueLabels(ValueTicks(TickInputsOf(axis_, canvas_)).Ticks);
                break;
            case talText:
            case talMark:
                DrawSeriesLabels();
                break;
            case talAuto:
            case talNone:
                break;
        }
    }
    DrawAxisLine();
    DrawTicks();
    DrawGrid();
    DrawInnerTicks();
}

void AxisPainter::DrawValueLabels(const std::vector<AxisTick>& labels) {
    for (const AxisTick& label : labels) {
        PlaceLabel(label.Pixel, label.Text, true);
    }
}

void AxisPainter::PlaceLabel(int pixel, const QString& text, bool admitted) {
    if (!axis_.TickOnLabelsOnly()) {
        AddTick(pixel);
    }
    if (axis_.Labels() && admitted) {
        DrawLabel(pixel, text);
        if (axis_.TickOnLabelsOnly()) {
            AddTick(pixel);
        }
    }
}

void AxisPainter::DrawSeriesLabels() {
    std::vector<const TChartSeries*> labelled;
    int first = -1;
    int last = -1;
    for (const auto& series : axis_.ParentChart()->SeriesList()) {
        if (!series->Active() || !DrawnAgainst(*series, axis_) || series->NumPoints() == 0) {
            continue;
        }
        series->ComputeShownRange();
        if (first == -1) {
            first = series->FirstShown();
        }
        last = std::max(last, series->LastShown());
        labelled.push_back(series.get());
    }
    if (first == -1) {
        return;
    }
    SeriesLabelSpacing spacing(axis_.LabelsSeparation());
    for (int i = first; i <= last; ++i) {
        const auto supplier =
            std::find_if(labelled.begin(), labelled.end(),
                         [i](const auto* series) { return i < series->NumPoints(); });
        if (supplier == labelled.end()) {
            continue;
        }
        const double value = axis_.IsHorizontal() ? (*supplier)->PointX(i) : (*supplier)->PointY(i);
        if (value < axis_.RangeMin() || value > axis_.RangeMax()) {
            continue;
        }
        const int pixel = axis_.ValueToPixel(value);
        const QString text = (*supplier)->PointLabel(i);
        const int size =
            axis_.IsHorizontal() ? canvas_.MeasureTextWidth(text) : canvas_.TextLineHeight();
        PlaceLabel(pixel, text, axis_.Labels() && spacing.Admit(pixel, size));
    }
}

void AxisPainter::DrawLabel(int pixel, const QString& text) {
    canvas_.SetFont(axis_.LabelsFont());
    canvas_.Brush().style = bsClear;
    canvas_.SetTextBackground(tbTransparent);
    const int lineHeight = canvas_.TextLineHeight();
    switch (axis_.Place()) {
        case AxisPlace::Bottom:
            canvas_.SetTextAnchor(anchor::Center + anchor::Top);
            canvas_.DrawTextAt(pixel, axis_.LabelsPos(), text);
            break;
        case AxisPlace::Top:
            canvas_.SetTextAnchor(anchor::Center + anchor::Bottom);
            canvas_.DrawTextAt(pixel, axis_.LabelsPos(), text);
            break;
        case AxisPlace::Left:
            canvas_.SetTextAnchor(anchor::Right + anchor::Top);
            canvas_.DrawTextAt(axis_.LabelsPos(), pixel - lineHeight / 2, text);
            break;
        case AxisPlace::Right:
        case AxisPlace::Depth:
            canvas_.SetTextAnchor(anchor::Left + anchor::Top);
            canvas_.DrawTextAt(axis_.LabelsPos(), pixel - lineHeight / 2, text);
            break;
    }
    canvas_.SetTextAnchor(anchor::Left + anchor::Top);
}

void AxisPainter::AddTick(int pixel) {
    if (ticks_.size() < TickListCapacity) {
        ticks_.push_back(pixel);
    }
}

void AxisPainter::DrawAxisLine() {
    if (!axis_.Axis().Visible()) {
        return;
    }
    canvas_.ApplyChartPen(axis_.Axis());
    if (axis_.IsHorizontal()) {
        canvas_.HorizSegment(axis_.StartPixel(), axis_.EndPixel(), axis_.AxisLinePos());
    } else {
        canvas_.VertSegment(axis_.AxisLinePos(), axis_.StartPixel(), axis_.EndPixel());
    }
}

void AxisPainter::DrawTicks() {
    if (!axis_.Ticks().Visible()) {
        return;
    }
    canvas_.ApplyChartPen(axis_.Ticks());
    // One pixel off the axis line, TickLength pixels outward.
    const int out = OutwardStep(axis_);
    const int from = axis_.AxisLinePos() + out;
    for (const int pixel : ticks_) {
        DrawAcross(pixel, from, from + out * axis_.TickLength());
    }
}

void AxisPainter::DrawGrid() {
    if (!axis_.Grid().Visible()) {
        return;
    }
    canvas_.Brush().style = bsClear;
    canvas_.SetTextBackground(tbTransparent);
    canvas_.ApplyChartPen(axis_.Grid());
    if (axis_.Grid().Color() == clDefault) {
        canvas_.Pen().color = clGray;
    }
    const int from = axis_.IsHorizontal() ? plot_.top : plot_.left;
    const int to = axis_.IsHorizontal() ? plot_.bottom : plot_.right;
    if (axis_.GridCentered()) {
        for (std::size_t i = 1; i < ticks_.size(); ++i) {
            DrawAcross(RoundHalfEven((ticks_[i] + ticks_[i - 1]) * 0.5), from, to);
        }
    } else {
        for (const int pixel : ticks_) {
            DrawAcross(pixel, from, to);
        }
    }
    canvas_.SetTextBackground(tbOpaque);
}

void AxisPainter::DrawInnerTicks() {
    if (!axis_.TicksInner().Visible() || axis_.TickInnerLength() == 0) {
        return;
    }
    canvas_.ApplyChartPen(axis_.TicksInner());
    const int in = -OutwardStep(axis_);
    const int from = axis_.AxisLinePos() + in;
    for (const int pixel : ticks_) {
        DrawAcross(pixel, from, from + in * axis_.TickInnerLength());
    }
}

void AxisPainter::DrawAcross(int pixel, int from, int to) {
    if (axis_.IsHorizontal()) {
        canvas_.VertSegment(pixel, from, to);
    } else {
        canvas_.HorizSegment(from, to, pixel);
    }
}

void DrawVisibleAxes(TCustomAxisPanel& chart, TChartCanvas& canvas, const TRect& plot) {
    for (TChartAxis* axis : chart.AxisList()) {
        if (IsAxisShown(*axis)) {
            AxisPainter(*axis, canvas, plot).Draw();
        }
    }
}

}  // namespace tesmera
