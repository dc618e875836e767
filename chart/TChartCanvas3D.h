// SPDX-License-Identifier: GPL-3.0-or-later
// The canvas the chart draws with, and its off-screen buffer: a frame is drawn
// into the buffer once and copied to the screen in one step; paints that find
// the buffer current only copy it.
#pragma once

#include "chart/TCanvas3D.h"

namespace tesmera {

class TChartCanvas3D : public TCanvas3D {
  public:
    // Depth is ignored: the chart is two-dimensional.
    void HorizSegmentZ(int x0, int x1, int y, int /*z*/) override { HorizSegment(x0, x1, y); }
    void VertSegmentZ(int x, int y0, int y1, int /*z*/) override { VertSegment(x, y0, y1); }

    // True until a frame has been presented, and again after MarkBufferStale.
    bool BufferStale() const { return bufferStale_; }
    virtual void MarkBufferStale() { bufferStale_ = true; }
    // A buffer holding the last presented frame, with nothing changed since.
    bool HasCurrentBuffer() const { return !bufferStale_ && !buffer_.image.isNull(); }

    // Starts a frame of width x height logical pixels, `scale` image pixels
    // to each: the buffer is reused when it has that size and scale and
    // created anew otherwise, and becomes the target.
    virtual void BeginFrame(int width, int height, int scale, bool view3D);
    // Copies the buffer to `target` with its top-left corner at (x, y), marks
    // it current and draws on `target` from now on.
    virtual void PresentFrame(TCanvasSurface& target, int x, int y);
    // Copies the current buffer to `target` at (0, 0).
    virtual void ShowBufferedFrame(TCanvasSurface& target) const;
    // Restricts drawing to the part of the plot area a series may cover:
    // inside the back wall's left, top and right edges, above its two bottom
    // rows (plot.bottom - 1 and plot.bottom, where the axis line lies).
    virtual void ClipToSeriesArea(const TRect& plot);

    const QImage& Buffer() const { return buffer_.image; }
    bool Is3D() const { return is3D_; }
    double ZoomFactor() const { return zoomFactor_; }

  private:
    TCanvasSurface buffer_;
    bool bufferStale_ = true;
    bool is3D_ = false;
    double zoomFactor_ = 1.0;
};

}  // namespace tesmera
