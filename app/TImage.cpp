#include "app/TImage.h"

#include <QPainter>

namespace tesmera {

TImage::TImage(QWidget* parent) : QWidget(parent) {
    // The picture covers the whole control; nothing underneath needs painting.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QImage& TImage::Picture() {
    if (picture_.size() != size()) {
        picture_ = QImage(size(), QImage::Format_RGB32);
        picture_.fill(Qt::white);
    }
    return picture_;
}

void TImage::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (picture_.isNull()) {
        painter.fillRect(rect(), Qt::white);
        return;
    }
    // Stretched to the control, which has the picture's size anyway.
    painter.drawImage(rect(), picture_);
}

}  // namespace tesmera
