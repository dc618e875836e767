// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/TChartWall.h"

namespace tesmera {

TChartWall::TChartWall() {
    const auto forward = [this] { Changed(); };
    brush_.SetOnChange(forward);
    pen_.SetOnChange(forward);
}

}  // namespace tesmera
