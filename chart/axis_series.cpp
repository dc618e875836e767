// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/axis_series.h"

#include <algorithm>

#include "chart/TChartSeries.h"
#include "chart/TCustomAxisPanel.h"

namespace tesmera {

namespace {

const std::vector<std::unique_ptr<TChartSeries>>& SeriesOf(const TCustomChartAxis& axis) {
    static const std::vector<std::unique_ptr<TChartSeries>> none;
    return axis.ParentChart() != nullptr ? axis.ParentChart()->SeriesList() : none;
}

bool AnyActiveSeriesOf(const TCustomChartAxis& axis) {
    const auto& list = SeriesOf(axis);
    return std::any_of(list.begin(), list.end(), [&axis](const auto& series) {
        return series->Active() && DrawnAgainst(*series, axis);
    });
}

bool PlotsYValues(const TChartSeries& series) {
    return &series.MainValueList() == &series.YValues();
}

}  // namespace

bool DrawnAgainst(const TChartSeries& series, const TCustomChartAxis& axis) {
    switch (axis.Place()) {
        case AxisPlace::Bottom:
            return series.HorizAxis() == aBottomAxis || series.HorizAxis() == aBothHorizAxis;
        case AxisPlace::Top:
            return series.HorizAxis() == aTopAxis || series.HorizAxis() == aBothHorizAxis;
        case AxisPlace::Left:
            return series.VertAxis() == aLeftAxis || series.VertAxis() == aBothVertAxis;
        case AxisPlace::Right:
            return series.VertAxis() == aRightAxis || series.VertAxis() == aBothVertAxis;
        case AxisPlace::Depth:
            return false;
    }
    return false;
}

double SeriesExtreme(const TCustomChartAxis& axis, bool lowest) {
    const bool anyActive = AnyActiveSeriesOf(axis);
    bool found = false;
    double extreme = 0;
    for (const auto& series : SeriesOf(axis)) {
        if (series->NumPoints() == 0 || !DrawnAgainst(*series, axis) ||
            (anyActive && !series->Active())) {
            continue;
        }
        const double reported = axis.IsHorizontal()
                                    ? (lowest ? series->LowestX() : series->HighestX())
                                    : (lowest ? series->LowestY() : series->HighestY());
        if (!found || (lowest ? reported < extreme : reported > extreme)) {
            extreme = reported;
            found = true;
        }
    }
    return extreme;
}

bool AxisHasSeries(const TCustomChartAxis& axis) {
    const auto& list = SeriesOf(axis);
    const bool anyActive =
        std::any_of(list.begin(), list.end(), [](const auto& series) { return series->Active(); });
    return !anyActive || AnyActiveSeriesOf(axis);
}

TAxisLabelStyle ResolveLabelStyle(const TCustomChartAxis& axis) {
    if (axis.LabelStyle() != talAuto) {
        return axis.LabelStyle();
    }
    TAxisLabelStyle resolved = talNone;
    for (const auto& series : SeriesOf(axis)) {
        if (!series->Active() || !DrawnAgainst(*series, axis)) {
            continue;
        }
        const bool plotsAcross = axis.IsHorizontal() == PlotsYValues(*series);
        if (plotsAcross && series->NumPoints() > 0 && !series->PointLabel(0).isEmpty()) {
            return talText;
        }
        resolved = talValue;
    }
    return resolved;
}

}  // namespace tesmera
