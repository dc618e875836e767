// A block of text lines drawn above (title) or below (foot) the plot area.
#pragma once

#include "chart/TChangeNotifier.h"
#include "chart/TChartStrings.h"

namespace tesmera {

class TChartTitle : public TChangeNotifier {
  public:
    TChartTitle();

    // Every change of the lines notifies the owner of the title.
    TChartStrings& Text() { return text_; }
    const TChartStrings& Text() const { return text_; }

    bool Visible() const { return visible_; }
    void SetVisible(bool visible) { SetAndNotify(visible_, visible); }

  private:
    TChartStrings text_;
    bool visible_ = true;
};

}  // namespace tesmera
