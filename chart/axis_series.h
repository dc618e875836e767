// SPDX-License-Identifier: GPL-3.0-or-later
// What an axis learns from the series of its chart: which series are drawn
// against it, the value range they cover and how it labels itself.
#pragma once

#include "chart/TChartAxis.h"

namespace tesmera {

class TChartSeries;

// True when the series' axis choice for the axis' direction names this axis,
// or both axes of that direction. The depth axis has no series.
bool DrawnAgainst(const TChartSeries& series, const TCustomChartAxis& axis);

// The smallest (lowest) or largest value that the series of the axis report:
// X values for a horizontal axis, Y values for a vertical one. Empty series do
// not count; inactive ones count only while no active series is drawn against
// the axis. 0 when no series counts.
double SeriesExtreme(const TCustomChartAxis& axis, bool lowest);

// True when an active series is drawn against the axis, or when the chart has
// no active series at all. Settings (Visible, the chart's AxisVisible) are
// checked by the caller.
bool AxisHasSeries(const TCustomChartAxis& axis);

// talAuto resolved: talText when the first active series of the axis that
// plots across it has a labelled first point, otherwise talValue (talNone
// with no series at all). Other styles are returned unchanged.
TAxisLabelStyle ResolveLabelStyle(const TCustomChartAxis& axis);

}  // namespace tesmera
