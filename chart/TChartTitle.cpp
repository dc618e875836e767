// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/TChartTitle.h"

namespace tesmera {

TChartTitle::TChartTitle() : font_(DefaultChartFont()) {
    font_.SetColor(clBlue);
    const auto forward = [this] { Changed(); };
    text_.SetOnChange(forward);
    font_.SetOnChange(forward);
    brush_.SetOnChange(forward);
    frame_.SetOnChange(forward);
}

}  // namespace tesmera
