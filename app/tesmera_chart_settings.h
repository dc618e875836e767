// SPDX-License-Identifier: GPL-3.0-or-later
// The settings the main window gives its chart when it creates it.
#pragma once

#include "chart/TChart.h"

namespace tesmera {

// Applies the window's chart settings: black panel colour (never filled, as
// the white-to-white gradient covers it), lowered outer and raised inner
// bevel, margins 3, 4, 3, 4, two-dimensional view, title in Arial 11 pixels
// black, back wall brush white but clear, clipped series, visible axes and no
// scaling of a last page, value labels with the
// separators of the current locale, and the axis settings of ApplyTesmeraAxisSettings.
// The control's size (378 x 125) is set by the window.
void ApplyTesmeraChartSettings(TChart& chart);

}  // namespace tesmera
