// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/TChartAxis.h"

#include <cmath>
#include <initializer_list>
#include <utility>

#include "chart/TCustomAxisPanel.h"
#include "chart/axis_scale.h"
#include "chart/axis_series.h"

namespace tesmera {

namespace {

// The picture of value labels unless an axis sets its own.
const QString DefaultAxisValuesFormat = QStringLiteral("#,##0.###");

// A fixed range narrower than this is widened to it, so that the axis never
// maps a zoomed range of zero width.
constexpr double MinimumFixedSpan = 1e-10;

}  // namespace

TCustomChartAxis::TCustomChartAxis(TCustomAxisPanel* chart, AxisPlace place)
    : chart_(chart),
      place_(place),
      visible_(place != AxisPlace::Depth),
      axisValuesFormat_(DefaultAxisValuesFormat) {
    const auto repaint = [this] { InvalidateChart(); };
    SetOnChange(repaint);
    labelsFont_.SetOnChange(repaint);
    const std::initializer_list<TChartPen*> pens = {&axisPen_, &ticks_, &ticksInner_, &minorTicks_,
                                                    &grid_};
    for (TChartPen* pen : pens) {
        pen->SetOnChange(repaint);
    }
}

void TCustomChartAxis::InvalidateChart() const {
    if (chart_ != nullptr) {
        chart_->InvalidateChart();
    }
}

void TCustomChartAxis::SetAutomatic(bool automatic) {
    SetAndNotify(automatic_, automatic);
    SetAndNotify(automaticMinimum_, automatic);
    SetAndNotify(automaticMaximum_, automatic);
}

void TCustomChartAxis::SetAutomaticMinimum(bool automatic) {
    SetAndNotify(automaticMinimum_, automatic);
    if (!automatic) {
        SetAndNotify(automatic_, false);
    } else if (automaticMaximum_) {
        SetAndNotify(automatic_, true);
    }
}

void TCustomChartAxis::SetAutomaticMaximum(bool automatic) {
    SetAndNotify(automaticMaximum_, automatic);
    if (!automatic) {
        SetAndNotify(automatic_, false);
    } else if (automaticMinimum_) {
        SetAndNotify(automatic_, true);
    }
}

void TCustomChartAxis::SetAxisRange(double low, double high) {
    SetAutomatic(false);
    if (low > high) {
        std::swap(low, high);
    }
    if (high - low < MinimumFixedSpan) {
        high = low + MinimumFixedSpan;
    }
    SetMinimum(low);
    SetMaximum(high);
}

void TCustomChartAxis::ComputeRange() {
    if (automatic_ || automaticMaximum_) {
        maximum_ = SeriesExtreme(*this, false);
    }
    if (automatic_ || automaticMinimum_) {
        minimum_ = SeriesExtreme(*this, true);
    }
    SetRange(minimum_, maximum_);
}

void TCustomChartAxis::SetRange(double rangeMin, double rangeMax) {
    rangeMin_ = rangeMin;
    rangeMax_ = rangeMax;
    rangeSpan_ = rangeMax - rangeMin;
}

void TCustomChartAxis::SetPixels(int startPixel, int endPixel) {
    startPixel_ = startPixel;
    endPixel_ = endPixel;
}

AxisScale TCustomChartAxis::Scale() const {
    return {rangeMin_, rangeMax_, startPixel_, endPixel_, IsHorizontal(), inverted_};
}

double TCustomChartAxis::PixelToValue(int pixel) const {
    if (AxisLength() <= 0) {
        return 0;
    }
    const int distance = inverted_ ? endPixel_ - pixel : pixel - startPixel_;
    const double along = distance * rangeSpan_ / AxisLength();
    return IsHorizontal() ? rangeMin_ + along : rangeMax_ - along;
}

NumberSeparators TCustomChartAxis::LabelSeparators() const {
    return chart_ != nullptr ? chart_->LabelSeparators() : NumberSeparators{};
}

QString TCustomChartAxis::LabelText(double value) const {
    return FormatAxisValue(value, axisValuesFormat_, LabelSeparators());
}

}  // namespace tesmera
