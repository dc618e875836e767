// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/shown_range.h"

#include "chart/TChartValueList.h"

namespace tesmera {

ShownRange FindShownRange(const TChartValueList& positions, double low, double high) {
    const int count = positions.ValueCount();
    if (count == 0) {
        return {};
    }
    const int last = count - 1;
    if (positions.Order() == loNone) {
        return {0, last};
    }
    ShownRange shown{0, -1};
    while (positions.ValueAt(shown.First) < low) {
        if (++shown.First > last) {
            return {};
        }
    }
    if (positions.LastValue() <= high) {
        shown.Last = last;
        return shown;
    }
    shown.Last = shown.First;
    while (positions.ValueAt(shown.Last) < high) {
        if (++shown.Last > last) {
            shown.Last = last;
            break;
        }
    }
    if (positions.ValueAt(shown.Last) > high) {
        --shown.Last;
    }
    return shown;
}

}  // namespace tesmera
