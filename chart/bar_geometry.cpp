// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/bar_geometry.h"

#include "chart/axis_scale.h"

namespace tesmera {

int SpacePerPoint(int axisLength, int pointCount, bool sideMargins) {
    if (pointCount <= 0) {
        return 0;
    }
    const int slots = sideMargins ? pointCount + 1 : pointCount;
    return axisLength / slots;
}

int BarWidthFromSpace(int barWidthPercent, int space, int sideBySideCount) {
    // The product is formed as (percent * 0.01) * space in 80-bit precision: for
    // a few percentages it lands just below an exact half and rounds down.
    const long double percentOfSpace = (barWidthPercent * 0.01L) * space;
    const int width = RoundHalfEven(percentOfSpace) / sideBySideCount;
    return (width > 0 && width % 2 != 0) ? width + 1 : width;
}

int BarSideMargin(int sideBySideCount, int barPixelWidth, bool sideMargins) {
    const int margin = sideBySideCount * barPixelWidth;
    return sideMargins ? margin : margin / 2;
}

int BarLeftOffset(const BarPlacement& placement) {
    int offset = 0;
    if (placement.MultiBar == TMultiBar::mbSide) {
        offset = RoundHalfEven((placement.BarSlot - placement.SideBySideCount * 0.5 - 1) *
                               placement.BarPixelWidth);
    } else {
        offset = -(placement.BarPixelWidth / 2);
    }
    if (placement.OffsetPercent != 0) {
        offset += RoundHalfEven(placement.OffsetPercent * placement.BarPixelWidth * 0.01);
    }
    return offset;
}

}  // namespace tesmera
