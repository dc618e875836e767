// SPDX-License-Identifier: GPL-3.0-or-later
// Bar widths and horizontal placement of a bar series, as plain computations
// on pixels and percentages.
#pragma once

namespace tesmera {

// How several bar series of one chart share the space of a point.
enum class TMultiBar { mbNone, mbSide, mbStacked, mbStacked100 };

// Pixels available to one point: axisLength div pointCount, where a point's
// worth of room is kept free at the ends when sideMargins. 0 when there are no
// points.
int SpacePerPoint(int axisLength, int pointCount, bool sideMargins);

// The bar width that barWidthPercent of the space gives, shared by
// sideBySideCount series and made even (a positive odd width grows by one).
// The percentage is applied in extended precision, with 0.01 as its nearest
// extended value, and rounded half to even.
int BarWidthFromSpace(int barWidthPercent, int space, int sideBySideCount);

// Pixels kept free at each end of the position axis: one bar width per series
// side by side, or half of it (rounded down) without side margins.
int BarSideMargin(int sideBySideCount, int barPixelWidth, bool sideMargins);

struct BarPlacement {
    TMultiBar MultiBar = TMultiBar::mbSide;
    int BarSlot = 1;          // 1-based place among the series side by side
    int SideBySideCount = 1;  // bar series sharing each point
    int BarPixelWidth = 0;
    int OffsetPercent = 0;  // shift in percent of the bar width, -100 .. 100
};

// From a bar's centre column to its left edge, in pixels (negative: leftward).
int BarLeftOffset(const BarPlacement& placement);

}  // namespace tesmera
