// SPDX-License-Identifier: GPL-3.0-or-later
// The chart as the window uses it: the end of the class chain. Repaint
// requests are honoured once construction has finished.
#pragma once

#include "chart/TChartMouseHandler.h"
#include "chart/TCustomChart.h"

namespace tesmera {

class TChart : public TCustomChart {
  public:
    TChart() { EnableRepaint(); }

    // The mouse zoom, undo and scroll of this chart.
    TChartMouseHandler& Mouse() { return mouse_; }
    const TChartMouseHandler& Mouse() const { return mouse_; }

  protected:
    void DrawZoomRectangleIfActive() override { mouse_.DrawZoomRectangleIfActive(); }

  private:
    TChartMouseHandler mouse_{*this};
};

}  // namespace tesmera
