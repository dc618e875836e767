// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/TCustomAxisPanel.h"

#include <algorithm>
#include <array>

#include "chart/axis_layout.h"
#include "chart/axis_painter.h"
#include "chart/chart_errors.h"

namespace tesmera {

namespace {

// Colours handed to series that join the chart without one of their own.
constexpr std::array<TColor, 6> SeriesPalette = {
    clRed, RGB(0, 128, 0), clBlue, RGB(255, 128, 0), RGB(128, 0, 128), clGray};

}  // namespace

TCustomAxisPanel::~TCustomAxisPanel() {
    for (const auto& series : seriesList_) {
        series->SetParentChart(nullptr);
    }
}

TChartSeries& TCustomAxisPanel::Series(int index) const {
    if (index < 0 || index >= SeriesCount()) {
        throw ListIndexError(index);
    }
    return *seriesList_[static_cast<std::size_t>(index)];
}

void TCustomAxisPanel::AdoptSeries(std::unique_ptr<TChartSeries> series) {
    TChartSeries& added = *series;
    if (added.SeriesColor() == clDefault) {
        added.SetSeriesColor(FreeSeriesColor());
    }
    seriesList_.push_back(std::move(series));
    added.SetParentChart(this);
    InvalidateChart();
}

void TCustomAxisPanel::LayoutAxes() {
    ComputeAxisRanges(*this);
    NormalizePlotRect();
    MutablePlotRect() = ReserveAxesSpace(*this, Canvas(), PlotRect());
    NormalizePlotRect();
    PlaceAxesPixels(*this, PlotRect());
}

void TCustomAxisPanel::ApplySeriesMargins() {
    tesmera::ApplySeriesMargins(*this, PlotRect());
}

void TCustomAxisPanel::DrawVisibleAxes() {
    tesmera::DrawVisibleAxes(*this, Canvas(), PlotRect());
}

void TCustomAxisPanel::DrawAllSeries() {
    for (const auto& series : seriesList_) {
        if (series->Active()) {
            DrawOneSeries(*series);
        }
    }
}

void TCustomAxisPanel::DrawOneSeries(TChartSeries& series) {
    series.ComputeShownRange();
    if (series.FirstShown() == -1) {
        return;
    }
    if (clipPoints_) {
        Canvas().ClipToSeriesArea(PlotRect());
    }
    series.DrawPoints();
    Canvas().ClearClip();
}

TColor TCustomAxisPanel::FreeSeriesColor() const {
    const auto used = [this](TColor color) {
        return std::any_of(seriesList_.begin(), seriesList_.end(),
                           [color](const auto& series) { return series->SeriesColor() == color; });
    };
    const auto free = std::find_if_not(SeriesPalette.begin(), SeriesPalette.end(), used);
    if (free != SeriesPalette.end()) {
        return *free;
    }
    return SeriesPalette[seriesList_.size() % SeriesPalette.size()];
}

}  // namespace tesmera
