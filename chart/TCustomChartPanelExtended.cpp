// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/TCustomChartPanelExtended.h"

namespace tesmera {

TCustomChartPanelExtended::TCustomChartPanelExtended() {
    gradient_.SetOnChange([this] { InvalidateChart(); });
}

void TCustomChartPanelExtended::FillPanelBackground(const TRect& rect) {
    if (!gradient_.Visible()) {
        TCustomChartPanel::FillPanelBackground(rect);
        return;
    }
    Canvas().FillGradient(rect, gradient_.StartColor(), gradient_.EndColor());
}

}  // namespace tesmera
