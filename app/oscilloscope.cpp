// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/oscilloscope.h"

#include <cmath>

#include "chart/TChartCanvas.h"
#include "chart/axis_scale.h"

namespace tesmera {

namespace {

// The strip draws with a one-pixel solid pen in copy mode; only the colour
// changes between frame, zero line and traces.
void UsePen(TChartCanvas& canvas, TColor color) {
    canvas.Pen() = TCanvasPen{.color = color};
}

void DrawTrace(TChartCanvas& canvas, TColor color, const OscilloscopeTrace& trace,
               std::int32_t pointCount) {
    const std::vector<QPoint> vertices =
        TraceVertices(canvas.Target()->LogicalSize(), trace, pointCount);
    UsePen(canvas, color);
    canvas.PenMoveTo(vertices.front().x(), vertices.front().y());
    for (auto vertex = vertices.begin() + 1; vertex != vertices.end(); ++vertex) {
        canvas.PenLineTo(vertex->x(), vertex->y());
    }
}

void DrawFrame(TChartCanvas& canvas) {
    const QSize size = canvas.Target()->LogicalSize();
    const int midLine = RoundHalfEven(size.height() / 2.0);
    UsePen(canvas, clNavy);
    canvas.Brush() = TCanvasBrush{.color = clWhite, .style = bsSolid};
    canvas.PaintRect(0, 0, size.width(), size.height());
    UsePen(canvas, clGray);
    canvas.PenMoveTo(1, midLine);
    canvas.PenLineTo(size.width() - 1, midLine);
}

}  // namespace

std::vector<QPoint> TraceVertices(QSize surface, const OscilloscopeTrace& trace,
                                  std::int32_t pointCount) {
    const int width = surface.width();
    const int midLine = RoundHalfEven(surface.height() / 2.0);
    const double step = static_cast<double>(width) / pointCount;
    // A silent trace has scale 0; it is drawn flat on the zero line instead of
    // failing on the division.
    const double k = trace.scale == 0 ? 0.0 : (surface.height() - 4) / (2 * trace.scale);
    // Entries past the buffer read as 0, so a count larger than the buffer
    // can never read beyond it.
    const auto y = [&](std::int32_t i) {
        const double value =
            static_cast<std::size_t>(i) < trace.values.size() ? trace.values[i] : 0.0;
        return midLine - RoundHalfEven(value * k);
    };

    std::vector<QPoint> vertices{{1, y(0)}};
    std::int32_t i = 1;
    while (true) {
        vertices.emplace_back(RoundHalfEven(i * step) + 1, y(i));
        ++i;
        if (i >= pointCount - 1 || RoundHalfEven(i * step) + 1 > width - 1) {
            return vertices;
        }
    }
}

void DrawOscilloscopeFrame(TCanvasSurface& surface) {
    TChartCanvas canvas;
    canvas.SetTarget(&surface);
    DrawFrame(canvas);
}

void DrawOscilloscopeTraces(TCanvasSurface& surface, const OscilloscopeTrace& signal,
                            const OscilloscopeTrace& model, std::int32_t pointCount) {
    TChartCanvas canvas;
    canvas.SetTarget(&surface);
    DrawFrame(canvas);
    DrawTrace(canvas, clRed, model, pointCount);
    DrawTrace(canvas, clBlue, signal, pointCount);
}

}  // namespace tesmera
