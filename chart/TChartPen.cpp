// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/TChartPen.h"

namespace tesmera {

TChartPen::TChartPen(TColor color, int width, TPenStyle style, bool visible)
    : color_(color), width_(width), style_(style), visible_(visible) {}

}  // namespace tesmera
