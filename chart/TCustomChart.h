// The chart level that owns the title and foot blocks.
#pragma once

#include "chart/TChartTitle.h"
#include "chart/TCustomAxisPanel.h"

namespace tesmera {

class TCustomChart : public TCustomAxisPanel {
  public:
    TCustomChart();

    TChartTitle& Title() { return title_; }
    const TChartTitle& Title() const { return title_; }
    TChartTitle& Foot() { return foot_; }
    const TChartTitle& Foot() const { return foot_; }

  private:
    TChartTitle title_;
    TChartTitle foot_;
};

}  // namespace tesmera
