// SPDX-License-Identifier: GPL-3.0-or-later
// Brushes of the chart's objects. clDefault as colour means "no colour of its
// own": each user says what that gives (usually no fill).
#pragma once

#include "chart/TChangeNotifier.h"
#include "chart/colors.h"

namespace tesmera {

// bsClear leaves the inside of figures untouched.
enum TBrushStyle { bsSolid, bsClear };

class TChartBrush : public TChangeNotifier {
  public:
    TColor Color() const { return color_; }
    void SetColor(TColor color) { SetAndNotify(color_, color); }
    TBrushStyle Style() const { return style_; }
    void SetStyle(TBrushStyle style) { SetAndNotify(style_, style); }

  private:
    TColor color_ = clDefault;
    TBrushStyle style_ = bsSolid;
};

}  // namespace tesmera
