// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/RecorderWaveform.h"

#include <algorithm>
#include <cmath>

#include <QPainter>

namespace tesmera {

RecorderWaveform::RecorderWaveform(double seconds, QWidget* parent)
    : QWidget(parent), seconds_(seconds) {
    setObjectName(QStringLiteral("RecorderWaveform"));
    setAccessibleName(tr("Input waveform"));
    setMinimumHeight(80);
}

void RecorderWaveform::Append(std::span<const double> block) {
    for (const double sample : block) {
        open_.Low = openCount_ == 0 ? sample : std::min(open_.Low, sample);
        open_.High = openCount_ == 0 ? sample : std::max(open_.High, sample);
        if (++openCount_ == sliceLength_) {
            slices_.push_back(open_);
            openCount_ = 0;
            if (slices_.size() > Slices) {
                slices_.pop_front();
            }
        }
    }
    update();
}

void RecorderWaveform::Restart(int rate) {
    sliceLength_ = std::max<std::size_t>(1, static_cast<std::size_t>(rate * seconds_ / Slices));
    slices_.clear();
    openCount_ = 0;
    update();
}

void RecorderWaveform::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect area = rect();
    painter.fillRect(area, palette().base());
    const double middle = area.center().y();
    const double half = area.height() / 2.0 - 1;
    painter.setPen(palette().mid().color());
    painter.drawLine(area.left(), static_cast<int>(middle), area.right(), static_cast<int>(middle));
    painter.setPen(palette().text().color());
    // The newest slice at the right edge, one slice per column at most.
    const double step = std::max(1.0, static_cast<double>(area.width()) / Slices);
    double x = area.right();
    for (auto slice = slices_.rbegin(); slice != slices_.rend() && x >= area.left(); ++slice) {
        const auto top =
            static_cast<int>(std::lround(middle - std::clamp(slice->High, -1.0, 1.0) * half));
        const auto bottom =
            static_cast<int>(std::lround(middle - std::clamp(slice->Low, -1.0, 1.0) * half));
        painter.drawLine(static_cast<int>(x), top, static_cast<int>(x), bottom);
        x -= step;
    }
}

}  // namespace tesmera
