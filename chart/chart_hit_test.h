// SPDX-License-Identifier: GPL-3.0-or-later
// Which part of the chart lies under a mouse position, by the geometry of the
// last painted frame.
#pragma once

#include "chart/TRect.h"

namespace tesmera {

class TChartAxis;
class TChartSeries;
class TCustomChart;
class TCustomChartAxis;

enum TChartClickedPartStyle { cpNone, cpAxis, cpSeries, cpTitle, cpFoot, cpChartRect };

struct TChartClickedPart {
    TChartClickedPartStyle part = cpNone;
    // Set for cpSeries: the series and the index of the point hit.
    TChartSeries* series = nullptr;
    int pointIndex = -1;
    // Set for cpAxis.
    TChartAxis* axis = nullptr;
};

// The first match of: a point of an active series (the last series first), the
// tick band of a shown axis (in axis-list order), the title, the foot, the
// plot area while there is an active series. The chart has no legend to hit.
TChartClickedPart FindClickedPart(TCustomChart& chart, int x, int y);

// The band an axis answers clicks in: across the axis from its labels to its
// line, widened by 3 pixels beyond the line; along it from StartPixel to
// EndPixel. Right and bottom edges are exclusive.
TRect AxisTickBand(const TCustomChartAxis& axis);

}  // namespace tesmera
