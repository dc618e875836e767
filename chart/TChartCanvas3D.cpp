// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/TChartCanvas3D.h"

#include <QPainter>

namespace tesmera {

namespace {

void CopyImage(const QImage& source, QImage& target, int x, int y) {
    QPainter painter(&target);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(x, y, source);
}

}  // namespace

void TChartCanvas3D::BeginFrame(int width, int height, int scale, bool view3D) {
    is3D_ = view3D;
    zoomFactor_ = 1.0;
    if (buffer_.LogicalSize() != QSize(width, height) || buffer_.Scale() != scale) {
        buffer_.image = SurfaceImage({width, height}, scale);
    }
    SetTarget(&buffer_);
}

void TChartCanvas3D::PresentFrame(TCanvasSurface& target, int x, int y) {
    CopyImage(buffer_.image, target.image, x, y);
    bufferStale_ = false;
    SetTarget(&target);
}

void TChartCanvas3D::ShowBufferedFrame(TCanvasSurface& target) const {
    CopyImage(buffer_.image, target.image, 0, 0);
}

void TChartCanvas3D::ClipToSeriesArea(const TRect& plot) {
    ClipTo({plot.left + 1, plot.top + 1, plot.right, plot.bottom - 1});
}

}  // namespace tesmera
