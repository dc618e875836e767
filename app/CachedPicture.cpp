// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CachedPicture.h"

#include <QPainter>

namespace tesmera {

CachedPicture::CachedPicture(QWidget* parent) : QWidget(parent) {
    // The picture covers the whole widget; nothing underneath needs painting.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

const QImage& CachedPicture::Layer() {
    if (layer_.size() != size()) {
        layer_ = QImage(size(), QImage::Format_ARGB32_Premultiplied);
        layer_.fill(Qt::transparent);
        QPainter painter(&layer_);
        DrawLayer(painter, layer_.rect());
        ++layerDraws_;
    }
    return layer_;
}

const QImage& CachedPicture::Picture() {
    if (stale_ || picture_.size() != size()) {
        const QImage& layer = Layer();
        picture_ = QImage(size(), QImage::Format_RGB32);
        picture_.fill(Qt::white);
        QPainter painter(&picture_);
        Compose(painter, picture_.rect(), layer);
        stale_ = false;
    }
    return picture_;
}

void CachedPicture::Invalidate() {
    stale_ = true;
    update();
}

void CachedPicture::InvalidateLayer() {
    layer_ = QImage();
    Invalidate();
}

void CachedPicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, Picture());
}

void CachedPicture::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    stale_ = true;
}

}  // namespace tesmera
