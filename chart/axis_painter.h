// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing one axis of a laid-out chart: its labels, then its line, ticks and
// grid lines across the plot area.
#pragma once

#include <QString>
#include <vector>

#include "chart/TRect.h"
#include "chart/axis_ticks.h"

namespace tesmera {

class TChartCanvas;
class TCustomAxisPanel;
class TCustomChartAxis;

class AxisPainter {
  public:
    // Draws on `canvas` for the axis laid out along `plot` (the final plot
    // area of the frame). Neither is owned.
    AxisPainter(TCustomChartAxis& axis, TChartCanvas& canvas, const TRect& plot);

    // Labels by the resolved label style, then the axis line, the ticks and
    // the grid lines at the labels that were drawn.
    void Draw();

    // The tick positions of the last Draw, along the axis.
    const std::vector<int>& TickList() const { return ticks_; }

  private:
    void DrawValueLabels(const std::vector<AxisTick>& labels);
    void DrawSeriesLabels();
    // The tick at `pixel`, and the label when labels are on and `admitted`;
    // with TickOnLabelsOnly the tick only comes with a drawn label.
    void PlaceLabel(int pixel, const QString& text, bool admitted);
    // A label text anchored at `pixel` along the axis, on the axis' side.
    void DrawLabel(int pixel, const QString& text);
    void AddTick(int pixel);
    void DrawAxisLine();
    void DrawTicks();
    void DrawGrid();
    void DrawInnerTicks();
    // A line across the axis direction at `pixel` along it, from `from` to
    // `to` (exclusive) across it.
    void DrawAcross(int pixel, int from, int to);

    TCustomChartAxis& axis_;
    TChartCanvas& canvas_;
    TRect plot_;
    std::vector<int> ticks_;
};

// Draws every shown axis of the chart in list order.
void DrawVisibleAxes(TCustomAxisPanel& chart, TChartCanvas& canvas, const TRect& plot);

}  // namespace tesmera
