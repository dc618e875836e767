// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing steps shared by the recording window's pictures.
#pragma once

#include <span>

#include <QColor>
#include <QRect>

#include "report_page/waveform_picture.h"

class QPainter;

namespace tesmera {

// One vertical stroke per column from its low to its high value, centred
// on the area's middle row; `scale` (> 0) is the value at the area's edges.
void DrawEnvelope(QPainter& painter, const QRect& area, std::span<const ColumnRange> columns,
                  double scale, const QColor& color);

// The value at a picture's edges for values whose largest magnitude is
// `peak`: the peak, or 1 for silence, so a picture fills its height.
double PeakScale(double peak);

// The largest magnitude of `samples`; 0 for none.
double LargestMagnitude(std::span<const double> samples);

}  // namespace tesmera
