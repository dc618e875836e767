// SPDX-License-Identifier: GPL-3.0-or-later
// A wall of the chart. Only the back wall is drawn in two dimensions: the
// outline around the plot area, filled unless its brush is clear.
#pragma once

#include "chart/TChangeNotifier.h"
#include "chart/TChartBrush.h"
#include "chart/TChartPen.h"

namespace tesmera {

class TChartWall : public TChangeNotifier {
  public:
    TChartWall();

    TChartBrush& Brush() { return brush_; }
    const TChartBrush& Brush() const { return brush_; }
    TChartPen& Pen() { return pen_; }
    const TChartPen& Pen() const { return pen_; }
    // clDefault: no fill of its own.
    TColor Color() const { return color_; }
    void SetColor(TColor color) { SetAndNotify(color_, color); }
    // Darker side faces and thickness: three-dimensional view only.
    bool Dark3D() const { return dark3D_; }
    void SetDark3D(bool dark) { SetAndNotify(dark3D_, dark); }
    int Size() const { return size_; }
    void SetSize(int size) { SetAndNotify(size_, size); }

  private:
    TChartBrush brush_;
    TChartPen pen_;
    TColor color_ = clDefault;
    bool dark3D_ = true;
    int size_ = 0;
};

}  // namespace tesmera
