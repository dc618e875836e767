// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/TChartSeries.h"

#include <utility>

#include "chart/TCustomAxisPanel.h"
#include "chart/shown_range.h"

namespace tesmera {

namespace {

// True when `index` names an entry of a list of `size` entries.
bool HasEntry(int index, std::size_t size) {
    return index >= 0 && static_cast<std::size_t>(index) < size;
}

}  // namespace

TChartSeries::TChartSeries()
    : marks_(*this), xValues_(*this, "X", loAscending), yValues_(*this, "Y", loNone) {
    SetOnChange([this] { RequestRepaint(); });
}

void TChartSeries::DrawPoints() {
    if (lastShown_ < firstShown_) {
        return;
    }
    if (DrawsForward()) {
        for (int i = firstShown_; i <= lastShown_; ++i) {
            DrawPoint(i);
        }
    } else {
        for (int i = lastShown_; i >= firstShown_; --i) {
            DrawPoint(i);
        }
    }
}

void TChartSeries::DrawPoint(int /*valueIndex*/) {}

TColor TChartSeries::PointColor(int valueIndex) const {
    if (!HasEntry(valueIndex, pointColors_.size())) {
        return seriesColor_;
    }
    const TColor stored = pointColors_[static_cast<std::size_t>(valueIndex)];
    // With ColorEachPoint off (the only mode in use) clDefault follows the series.
    return stored == clDefault ? seriesColor_ : stored;
}

QString TChartSeries::PointLabel(int valueIndex) const {
    if (!HasEntry(valueIndex, labels_.size())) {
        return {};
    }
    return labels_[static_cast<std::size_t>(valueIndex)];
}

void TChartSeries::SetActive(bool active) {
    SetAndNotify(active_, active);
}

void TChartSeries::SetSeriesColor(TColor color) {
    SetAndNotify(seriesColor_, color);
}

int TChartSeries::AppendValue(double value, const QString& label, TColor color) {
    const double position = NumPoints();
    if (&MainValueList() == &yValues_) {
        return AddPoint(position, value, label, color);
    }
    return AddPoint(value, position, label, color);
}

int TChartSeries::AddPoint(double x, double y, const QString& label, TColor color) {
    xValues_.SetPendingValue(x);
    yValues_.SetPendingValue(y);
    const int index = xValues_.InsertOrdered(x);
    yValues_.InsertValueAt(index, y);
    pointColors_.insert(pointColors_.begin() + index, color);
    labels_.insert(labels_.begin() + index, label);
    if (active_) {
        RequestRepaint();
    }
    return index;
}

void TChartSeries::ClearPoints() {
    for (TChartValueList* list : ValueLists()) {
        list->RemoveAllValues();
    }
    std::vector<TColor>().swap(pointColors_);
    std::vector<QString>().swap(labels_);
    if (active_) {
        RequestRepaint();
    }
}

int TChartSeries::PointScreenX(int valueIndex) const {
    return ResolvedHorizAxis()->ValueToPixel(PointX(valueIndex));
}

int TChartSeries::PointScreenY(int valueIndex) const {
    return ResolvedVertAxis()->ValueToPixel(PointY(valueIndex));
}

int TChartSeries::ValueToScreen(double value) const {
    const bool plotsY = &MainValueList() == &yValues_;
    return (plotsY ? ResolvedVertAxis() : ResolvedHorizAxis())->ValueToPixel(value);
}

void TChartSeries::RequestRepaint() {
    if (parentChart_ != nullptr) {
        parentChart_->InvalidateChart();
    }
}

void TChartSeries::ComputeShownRange() {
    const bool plotsY = &MainValueList() == &yValues_;
    const TChartValueList& positions = plotsY ? xValues_ : yValues_;
    const TChartAxis& axis = *(plotsY ? ResolvedHorizAxis() : ResolvedVertAxis());
    const TRect& plot = parentChart_->PlotRect();
    // The plot area's edges at the low and high end of the position axis.
    int lowEdge = axis.IsHorizontal() ? plot.left : plot.bottom;
    int highEdge = axis.IsHorizontal() ? plot.right : plot.top;
    if (axis.Inverted()) {
        std::swap(lowEdge, highEdge);
    }
    const ShownRange shown =
        FindShownRange(positions, axis.PixelToValue(lowEdge), axis.PixelToValue(highEdge));
    SetShownRange(shown.First, shown.Last);
}

void TChartSeries::SetShownRange(int first, int last) {
    firstShown_ = first;
    lastShown_ = last;
}

TChartAxis* TChartSeries::ResolvedHorizAxis() const {
    if (parentChart_ == nullptr) {
        return nullptr;
    }
    return horizAxis_ == aTopAxis ? &parentChart_->TopAxis() : &parentChart_->BottomAxis();
}

TChartAxis* TChartSeries::ResolvedVertAxis() const {
    if (parentChart_ == nullptr) {
        return nullptr;
    }
    return vertAxis_ == aRightAxis ? &parentChart_->RightAxis() : &parentChart_->LeftAxis();
}

}  // namespace tesmera
