#include "chart/TCustomChartPanel.h"

namespace tesmera {

void TCustomChartPanel::InvalidateChart() {
    if (!repaintEnabled_) {
        return;
    }
    bufferStale_ = true;
    if (repaintRequest_) {
        repaintRequest_();
    }
}

}  // namespace tesmera
