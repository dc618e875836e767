// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/axis_layout.h"

#include <algorithm>
#include <cmath>

#include "chart/TChartAxis.h"
#include "chart/TChartCanvas.h"
#include "chart/TCustomAxisPanel.h"
#include "chart/axis_scale.h"
#include "chart/axis_series.h"

namespace tesmera {

namespace {

// Moves the axis' edge of `rect` inwards by `pixels`.
void TakeFrom(TRect& rect, const TCustomChartAxis& axis, int pixels) {
    switch (axis.Place()) {
        case AxisPlace::Bottom:
            rect.bottom -= pixels;
            break;
        case AxisPlace::Top:
            rect.top += pixels;
            break;
        case AxisPlace::Left:
            rect.left += pixels;
            break;
        case AxisPlace::Right:
        case AxisPlace::Depth:
            rect.right -= pixels;
            break;
    }
}

// The widest point label of any series of the chart.
int WidestPointLabel(const TCustomChartAxis& axis, const TChartCanvas& canvas) {
    int widest = 0;
    if (axis.ParentChart() == nullptr) {
        return widest;
    }
    for (const auto& series : axis.ParentChart()->SeriesList()) {
        for (int i = 0; i < series->NumPoints(); ++i) {
            widest = std::max(widest, canvas.MeasureTextWidth(series->PointLabel(i)));
        }
    }
    return widest;
}

// The largest margins the active series of the axis ask for at its start
// (left or top) and end (right or bottom), for the automatic ends only.
std::pair<int, int> SeriesMargins(TCustomAxisPanel& chart, const TCustomChartAxis& axis) {
    int atStart = 0;
    int atEnd = 0;
    for (const auto& series : chart.SeriesList()) {
        if (!series->Active() || !DrawnAgainst(*series, axis)) {
            continue;
        }
        if (axis.IsHorizontal()) {
            const THorizMargins margins = series->HorizMargins();
            atStart = axis.AutomaticMinimum() ? std::max(atStart, margins.left) : atStart;
            atEnd = axis.AutomaticMaximum() ? std::max(atEnd, margins.right) : atEnd;
        } else {
            const TVertMargins margins = series->VertMargins();
            atStart = axis.AutomaticMaximum() ? std::max(atStart, margins.top) : atStart;
            atEnd = axis.AutomaticMinimum() ? std::max(atEnd, margins.bottom) : atEnd;
        }
    }
    return {atStart, atEnd};
}

}  // namespace

int EdgeOf(const TRect& rect, const TCustomChartAxis& axis) {
    switch (axis.Place()) {
        case AxisPlace::Bottom:
            return rect.bottom;
        case AxisPlace::Top:
            return rect.top;
        case AxisPlace::Left:
            return rect.left;
        case AxisPlace::Right:
        case AxisPlace::Depth:
            break;
    }
    return rect.right;
}

bool IsAxisShown(const TCustomChartAxis& axis) {
    const TCustomAxisPanel* chart = axis.ParentChart();
    if ((chart != nullptr && !chart->AxisVisible()) || !axis.Visible() || axis.IsDepth()) {
        return false;
    }
    return AxisHasSeries(axis);
}

AxisTickInputs TickInputsOf(const TCustomChartAxis& axis, const TChartCanvas& canvas) {
    AxisTickInputs inputs{axis.Scale(),
                          axis.Increment(),
                          axis.LabelsSeparation(),
                          axis.RoundFirstLabel(),
                          axis.LabelsOnAxis(),
                          axis.AxisValuesFormat(),
                          axis.LabelSeparators(),
                          {}};
    if (axis.IsHorizontal()) {
        inputs.LabelSize = [&canvas](const QString& text) { return canvas.MeasureTextWidth(text); };
    } else {
        inputs.LabelSize = [&canvas](const QString&) { return canvas.TextLineHeight(); };
    }
    return inputs;
}

double ComputeIncrement(const TCustomChartAxis& axis, const TChartCanvas& canvas) {
    return TickIncrement(TickInputsOf(axis, canvas), axis.AxisLength());
}

int TickSpace(const TCustomChartAxis& axis) {
    int space = axis.Axis().Visible() ? axis.Axis().Width() : 0;
    if (axis.Ticks().Visible()) {
        space += axis.TickLength();
    }
    if (axis.MinorTicks().Visible()) {
        space = std::max(space, axis.MinorTickLength());
    }
    return space;
}

int MaxValueLabelWidth(const TCustomChartAxis& axis, const TChartCanvas& canvas, int axisLength) {
    const AxisTickInputs inputs = TickInputsOf(axis, canvas);
    double low = axis.RangeMin();
    double high = axis.RangeMax();
    if (axis.RoundFirstLabel()) {
        const double increment = TickIncrement(inputs, axisLength);
        low = RoundedToIncrement(low, increment);
        high = RoundedToIncrement(high, increment);
    }
    return std::max(canvas.MeasureTextWidth(TickText(inputs, high)),
                    canvas.MeasureTextWidth(TickText(inputs, low))) +
           canvas.MeasureTextWidth(" ");
}

int LabelSpace(const TCustomChartAxis& axis, TChartCanvas& canvas) {
    if (axis.LabelsSize() != 0) {
        return axis.LabelsSize();
    }
    canvas.SetFont(axis.LabelsFont());
    if (axis.IsHorizontal()) {
        return canvas.TextLineHeight();
    }
    switch (ResolveLabelStyle(axis)) {
        case talValue:
            return MaxValueLabelWidth(axis, canvas, axis.AxisLength());
        case talText:
        case talMark:
            // Marks are never shown on this chart; their text would be the
            // point label.
            return WidestPointLabel(axis, canvas);
        case talAuto:
        case talNone:
            break;
    }
    return 0;
}

void ReserveAxisSpace(TCustomChartAxis& axis, TChartCanvas& canvas, TRect& rect) {
    if (axis.Labels()) {
        TakeFrom(rect, axis, LabelSpace(axis, canvas));
        axis.SetLabelsPos(EdgeOf(rect, axis));
    }
    const int ticks = TickSpace(axis);
    if (ticks > 0) {
        TakeFrom(rect, axis, ticks);
    }
}

void PlaceAxisPixels(TCustomChartAxis& axis, const TRect& plot) {
    const int origin = axis.IsHorizontal() ? plot.left : plot.top;
    const int side = axis.IsHorizontal() ? plot.Width() : plot.Height();
    axis.SetPixels(origin + RoundHalfEven(side * 0.01 * axis.StartPosition()),
                   origin + RoundHalfEven(side * 0.01 * axis.EndPosition()));
}

void ComputeAxisRanges(TCustomAxisPanel& chart) {
    for (TChartAxis* axis : chart.AxisList()) {
        axis->ComputeRange();
    }
}

TRect ReserveAxesSpace(TCustomAxisPanel& chart, TChartCanvas& canvas, const TRect& plot) {
    TRect current = plot;
    for (TChartAxis* axis : chart.AxisList()) {
        if (!IsAxisShown(*axis)) {
            continue;
        }
        TRect reserved = current;
        ReserveAxisSpace(*axis, canvas, reserved);
        const TRect left = reserved.Intersected(current);
        if (!left.IsEmpty()) {
            current = left;
        }
    }
    return current;
}

void PlaceAxesPixels(TCustomAxisPanel& chart, const TRect& plot) {
    for (TChartAxis* axis : chart.AxisList()) {
        PlaceAxisPixels(*axis, plot);
    }
}

void ApplySeriesMargins(TCustomAxisPanel& chart, const TRect& plot) {
    for (TChartAxis* marginAxis :
         {&chart.TopAxis(), &chart.LeftAxis(), &chart.RightAxis(), &chart.BottomAxis()}) {
        TChartAxis& axis = *marginAxis;
        const auto [atStart, atEnd] = SeriesMargins(chart, axis);
        const int start = axis.StartPixel();
        const int end = axis.EndPixel();
        // The old range mapped onto the pixels inside the margins tells which
        // values the full axis ends stand for.
        axis.SetPixels(start + atStart, end - atEnd);
        const double atStartValue = axis.PixelToValue(start);
        const double atEndValue = axis.PixelToValue(end);
        PlaceAxisPixels(axis, plot);
        axis.SetRange(std::min(atStartValue, atEndValue), std::max(atStartValue, atEndValue));
    }
}

}  // namespace tesmera
