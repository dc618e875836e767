// SPDX-License-Identifier: GPL-3.0-or-later
// The settings the main window gives the axes and the bar series of its chart.
#pragma once

#include "chart/TBarSeries.h"
#include "chart/TChart.h"

namespace tesmera {

// LeftAxis: solid grid, value labels written "#,##0.00", no minor ticks.
// BottomAxis: solid grid, no minor ticks (its labels resolve to the bars'
// point labels). Everything else keeps the axis defaults.
void ApplyTesmeraAxisSettings(TChart& chart);

// Adds the window's bar series (BarSeries1) to the chart and returns it: blue,
// titled "Series1", marks hidden with an arrow length of 20, positions "X" in
// ascending order and values "Bar" in insertion order, both with multiplier 1.
TBarSeries& AddTesmeraBarSeries(TChart& chart);

}  // namespace tesmera
