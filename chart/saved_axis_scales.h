// SPDX-License-Identifier: GPL-3.0-or-later
// The scales of the four side axes as they were before a zoom or scroll, so
// that the view can be undone in one step.
#pragma once

#include <array>

namespace tesmera {

class TCustomAxisPanel;

struct TAxisScale {
    bool automatic = true;
    bool automaticMinimum = true;
    bool automaticMaximum = true;
    double minimum = 0;
    double maximum = 0;
};

class TSavedAxisScales {
  public:
    // Copies the range settings of the top, bottom, left and right axes.
    void Store(TCustomAxisPanel& chart);
    // Gives each side axis its saved Automatic, AutomaticMinimum and
    // AutomaticMaximum (in this order, so the flags' coupling applies), and the
    // saved range when it was not automatic.
    void Recall(TCustomAxisPanel& chart) const;

  private:
    std::array<TAxisScale, 4> scales_;
};

}  // namespace tesmera
