#include "chart/TChartControl.h"

#include <QPainter>

namespace tesmera {

TChartControl::TChartControl(QWidget* parent) : QWidget(parent) {
    chart_.SetRepaintRequest([this] { update(); });
}

void TChartControl::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setPen(Qt::black);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace tesmera
