#include "chart/TChartControl.h"

#include <QPainter>

namespace tesmera {

TChartControl::TChartControl(QWidget* parent) : QWidget(parent) {
    // Every frame covers the whole control, so the background is never
    // erased first: no flicker between erase and paint.
    setAttribute(Qt::WA_OpaquePaintEvent);
    chart_.SetRepaintRequest([this] { update(); });
    resize(chart_.Width(), chart_.Height());
}

void TChartControl::ShowScreen() {
    showScreenAsIs_ = true;
    repaint();
}

void TChartControl::paintEvent(QPaintEvent* /*event*/) {
    if (!showScreenAsIs_ || chart_.Canvas().BufferStale()) {
        chart_.PaintRequest(screen_);
    }
    showScreenAsIs_ = false;
    QPainter(this).drawImage(0, 0, screen_.image);
}

void TChartControl::resizeEvent(QResizeEvent* /*event*/) {
    if (screen_.image.size() != size()) {
        screen_.image = QImage(size(), QImage::Format_RGB32);
    }
    chart_.SetSize(width(), height());
}

}  // namespace tesmera
