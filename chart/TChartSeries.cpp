#include "chart/TChartSeries.h"

#include "chart/TCustomAxisPanel.h"

namespace tesmera {

namespace {

// True when `index` names an entry of a list of `size` entries.
bool HasEntry(int index, std::size_t size) {
    return index >= 0 && static_cast<std::size_t>(index) < size;
}

}  // namespace

TChartSeries::TChartSeries()
    : marks_(*this), xValues_(*this, "X", loAscending), yValues_(*this, "Y", loNone) {}

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
    if (active == active_) {
        return;
    }
    active_ = active;
    RequestRepaint();
}

void TChartSeries::SetSeriesColor(TColor color) {
    if (color == seriesColor_) {
        return;
    }
    seriesColor_ = color;
    RequestRepaint();
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

// TODO(axes): map through the resolved axes' ValueToPixel once the chart has
// its axis list; until then a point has no pixel position.
int TChartSeries::PointScreenX(int /*valueIndex*/) const {
    return 0;
}
int TChartSeries::PointScreenY(int /*valueIndex*/) const {
    return 0;
}

void TChartSeries::RequestRepaint() {
    if (parentChart_ != nullptr) {
        parentChart_->InvalidateChart();
    }
}

void TChartSeries::SetTitle(const QString& title) {
    if (title == title_) {
        return;
    }
    title_ = title;
    RequestRepaint();
}

void TChartSeries::SetHorizAxis(THorizAxis axis) {
    if (axis == horizAxis_) {
        return;
    }
    horizAxis_ = axis;
    ResolveAxes();
    RequestRepaint();
}

void TChartSeries::SetVertAxis(TVertAxis axis) {
    if (axis == vertAxis_) {
        return;
    }
    vertAxis_ = axis;
    ResolveAxes();
    RequestRepaint();
}

// TODO(axes): search the position list against the plot area's edges mapped
// by the position axis; until the chart has axes every point counts as shown
// and the clip to the plot area does the rest.
void TChartSeries::ComputeShownRange() {
    SetShownRange(-1, -1);
    if (NumPoints() > 0) {
        SetShownRange(0, NumPoints() - 1);
    }
}

void TChartSeries::SetShownRange(int first, int last) {
    firstShown_ = first;
    lastShown_ = last;
}

void TChartSeries::SetParentChart(TCustomAxisPanel* chart) {
    parentChart_ = chart;
    ResolveAxes();
}

// TODO(axes): bind ResolvedHorizAxis / ResolvedVertAxis to the chart's axis
// objects (empty without a chart) once the chart has its axis list.
void TChartSeries::ResolveAxes() {}

}  // namespace tesmera
