// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CachedPicture.h"

#include <QPainter>

namespace tesmera {

CachedPicture::CachedPicture(QWidget* parent) : QWidget(parent) {
    // The picture covers the whole widget; nothing underneath needs painting.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

// Pictures have as many pixels as the screen shows for the widget, so that
// text and lines stay crisp on a scaled screen; painters draw on them in
// the widget's own coordinates.
QImage CachedPicture::ScreenImage(QImage::Format format) const {
    const qreal ratio = devicePixelRatioF();
    QImage image(size() * ratio, format);
    image.setDevicePixelRatio(ratio);
    return image;
}

bool CachedPicture::FitsScreen(const QImage& image) const {
    const qreal ratio = devicePixelRatioF();
    return image.devicePixelRatio() == ratio && image.size() == size() * ratio;
}

const QImage& CachedPicture::Layer() {
    if (!FitsScreen(layer_)) {
        layer_ = ScreenImage(QImage::Format_ARGB32_Premultiplied);
        layer_.fill(Qt::transparent);
        QPainter painter(&layer_);
        DrawLayer(painter, rect());
        ++layerDraws_;
    }
    return layer_;
}

const QImage& CachedPicture::Picture() {
    if (stale_ || !FitsScreen(picture_)) {
        const QImage& layer = Layer();
        picture_ = ScreenImage(QImage::Format_RGB32);
        picture_.fill(Qt::white);
        QPainter painter(&picture_);
        Compose(painter, rect(), layer);
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
    painter.drawImage(QPoint(0, 0), Picture());
}

void CachedPicture::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    stale_ = true;
}

}  // namespace tesmera
