// SPDX-License-Identifier: GPL-3.0-or-later
// The oscilloscope strip: one voice period as a blue trace over a red model
// trace and a grey zero line, each trace scaled by its own peak so it fills
// the height whatever the signal's level.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include <QPoint>
#include <QSize>

#include "chart/TChartCanvas.h"

namespace tesmera {

struct OscilloscopeTrace {
    std::span<const double> values;
    double scale;  // largest absolute value of the trace; 0 draws it flat
};

// The points a trace joins on a surface of the given size: the first is at
// x = 1, each further one Round(i * W / pointCount) + 1 to the right, until the
// last joinable point (index pointCount - 2) or the right edge. Rounding goes
// to the nearest integer, halves to even.
std::vector<QPoint> TraceVertices(QSize surface, const OscilloscopeTrace& trace,
                                  std::int32_t pointCount);

// The white surface with its navy border and the grey zero line.
void DrawOscilloscopeFrame(TCanvasSurface& surface);

// Both draw with the chart canvas, so the strip follows the same pixel rules
// as the chart: a line leaves its end pixel unset, a rectangle excludes its
// right column and bottom row.

// The frame, then the model trace in red, then the signal trace in blue.
// Points are spread over the width at W / pointCount pixels each; the last
// point of the period is never joined. Only entries inside values are read,
// however large pointCount is.
void DrawOscilloscopeTraces(TCanvasSurface& surface, const OscilloscopeTrace& signal,
                            const OscilloscopeTrace& model, std::int32_t pointCount);

}  // namespace tesmera
