// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/TImage.h"

#include <QPainter>

namespace tesmera {

TImage::TImage(QWidget* parent) : QWidget(parent) {
    // The picture covers the whole control; nothing underneath needs painting.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

TCanvasSurface& TImage::Surface() {
    FitSurface(surface_, size(), WholePixelRatio(devicePixelRatioF()));
    return surface_;
}

void TImage::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (surface_.image.isNull()) {
        painter.fillRect(rect(), Qt::white);
        return;
    }
    // Stretched to the control, which has the picture's size anyway.
    painter.drawImage(rect(), surface_.image);
}

}  // namespace tesmera
