// SPDX-License-Identifier: GPL-3.0-or-later
// The canvas operations that take a depth coordinate. The chart is drawn in
// two dimensions, where every depth is ignored.
#pragma once

#include "chart/TChartCanvas.h"

namespace tesmera {

class TCanvas3D : public TChartCanvas {
  public:
    virtual void HorizSegmentZ(int x0, int x1, int y, int z) = 0;
    virtual void VertSegmentZ(int x, int y0, int y1, int z) = 0;
    // Text at (x, y, z); unscaled while the zoom factor is 1.0, as in 2D.
    void DrawTextAtZ(int x, int y, int /*z*/, const QString& text) { DrawTextAt(x, y, text); }
};

}  // namespace tesmera
