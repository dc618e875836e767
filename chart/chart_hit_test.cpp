// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/chart_hit_test.h"

#include <algorithm>

#include "chart/TCustomChart.h"
#include "chart/axis_layout.h"

namespace tesmera {

namespace {

// Pixels beyond the axis line that still count as the axis.
constexpr int AxisLineSlack = 3;

TChartClickedPart FindClickedSeries(const TCustomChart& chart, int x, int y) {
    const auto& list = chart.SeriesList();
    for (auto series = list.rbegin(); series != list.rend(); ++series) {
        if (!(*series)->Active()) {
            continue;
        }
        const int index = (*series)->Clicked(x, y);
        if (index != -1) {
            return {cpSeries, series->get(), index, nullptr};
        }
    }
    return {};
}

TChartClickedPart FindClickedAxis(TCustomChart& chart, int x, int y) {
    for (TChartAxis* axis : chart.AxisList()) {
        if (IsAxisShown(*axis) && AxisTickBand(*axis).Contains(x, y)) {
            return {cpAxis, nullptr, -1, axis};
        }
    }
    return {};
}

bool TitleContains(const TChartTitle& title, int x, int y) {
    return title.Visible() && title.TitleRect().Contains(x, y);
}

bool HasActiveSeries(const TCustomChart& chart) {
    const auto& list = chart.SeriesList();
    return std::any_of(list.begin(), list.end(),
                       [](const auto& series) { return series->Active(); });
}

}  // namespace

TRect AxisTickBand(const TCustomChartAxis& axis) {
    const int line = axis.AxisLinePos();
    const int labels = axis.LabelsPos();
    const int nearEdge = line <= labels ? line - AxisLineSlack : labels;
    const int farEdge = line <= labels ? labels : line + AxisLineSlack;
    if (axis.IsHorizontal()) {
        return {axis.StartPixel(), nearEdge, axis.EndPixel(), farEdge};
    }
    return {nearEdge, axis.StartPixel(), farEdge, axis.EndPixel()};
}

TChartClickedPart FindClickedPart(TCustomChart& chart, int x, int y) {
    if (const TChartClickedPart series = FindClickedSeries(chart, x, y); series.part != cpNone) {
        return series;
    }
    if (const TChartClickedPart axis = FindClickedAxis(chart, x, y); axis.part != cpNone) {
        return axis;
    }
    if (TitleContains(chart.Title(), x, y)) {
        return {cpTitle};
    }
    if (TitleContains(chart.Foot(), x, y)) {
        return {cpFoot};
    }
    if (chart.PlotRect().Contains(x, y) && HasActiveSeries(chart)) {
        return {cpChartRect};
    }
    return {};
}

}  // namespace tesmera
