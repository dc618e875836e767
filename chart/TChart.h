// The chart as the window uses it: the end of the class chain. Repaint
// requests are honoured once construction has finished.
#pragma once

#include "chart/TCustomChart.h"

namespace tesmera {

class TChart : public TCustomChart {
  public:
    TChart() { EnableRepaint(); }
};

}  // namespace tesmera
