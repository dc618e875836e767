// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/RecorderLevelMeter.h"

#include <algorithm>
#include <cmath>

#include <QPainter>

namespace tesmera {

RecorderLevelMeter::RecorderLevelMeter(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("LevelMeter"));
    setMinimumHeight(14);
}

void RecorderLevelMeter::Show(const InputLevel& level) {
    level_ = level;
    update();
}

int RecorderLevelMeter::Position(double dbfs, int width) {
    const double share = (std::clamp(dbfs, MeterFloorDbfs, 0.0) - MeterFloorDbfs) / -MeterFloorDbfs;
    return static_cast<int>(std::lround(share * width));
}

void RecorderLevelMeter::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect area = rect();
    painter.fillRect(area, palette().base());
    const QColor bar = level_.Clipped ? QColor(200, 0, 0) : QColor(0, 150, 60);
    painter.fillRect(
        QRect(area.left(), area.top(), Position(level_.LevelDbfs, area.width()), area.height()),
        bar);
    const int peak = area.left() + Position(level_.PeakHeldDbfs, area.width() - 2);
    painter.fillRect(QRect(peak, area.top(), 2, area.height()), palette().text());
    painter.setPen(palette().mid().color());
    painter.drawRect(area.adjusted(0, 0, -1, -1));
}

}  // namespace tesmera
