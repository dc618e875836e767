// SPDX-License-Identifier: GPL-3.0-or-later
// The background gradient of the chart panel.
#pragma once

#include "chart/TChangeNotifier.h"
#include "chart/colors.h"

namespace tesmera {

// Only the vertical direction is drawn: StartColor at the bottom edge,
// EndColor at the top edge.
enum TGradientDirection { gdTopBottom };

class TChartGradient : public TChangeNotifier {
  public:
    TGradientDirection Direction() const { return direction_; }
    void SetDirection(TGradientDirection direction) { SetAndNotify(direction_, direction); }
    TColor StartColor() const { return startColor_; }
    void SetStartColor(TColor color) { SetAndNotify(startColor_, color); }
    TColor EndColor() const { return endColor_; }
    void SetEndColor(TColor color) { SetAndNotify(endColor_, color); }
    // Hidden: the panel is filled with its Color instead.
    bool Visible() const { return visible_; }
    void SetVisible(bool visible) { SetAndNotify(visible_, visible); }

  private:
    TGradientDirection direction_ = gdTopBottom;
    TColor startColor_ = clWhite;
    TColor endColor_ = clYellow;
    bool visible_ = false;
};

}  // namespace tesmera
