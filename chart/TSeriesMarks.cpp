// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/TSeriesMarks.h"

#include "chart/TChartSeries.h"

namespace tesmera {

void TSeriesMarks::SetVisible(bool visible) {
    if (visible == visible_) {
        return;
    }
    visible_ = visible;
    owner_.RequestRepaint();
}

}  // namespace tesmera
