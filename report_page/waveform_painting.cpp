// SPDX-License-Identifier: GPL-3.0-or-later
#include "report_page/waveform_painting.h"

#include <algorithm>
#include <cmath>

#include <QPainter>

namespace tesmera {

void DrawEnvelope(QPainter& painter, const QRect& area, std::span<const ColumnRange> columns,
                  double scale, const QColor& color) {
    const double middle = area.top() + area.height() / 2.0;
    const double half = area.height() / 2.0 - 1;
    painter.setPen(QPen(color, 1));
    for (std::size_t c = 0; c < columns.size(); ++c) {
        const int x = area.left() + static_cast<int>(c);
        const int top = static_cast<int>(std::lround(middle - columns[c].High / scale * half));
        const int bottom = static_cast<int>(std::lround(middle - columns[c].Low / scale * half));
        painter.drawLine(x, top, x, bottom);
    }
}

double PeakScale(double peak) {
    return peak > 0 ? peak : 1;
}

double LargestMagnitude(std::span<const double> samples) {
    double peak = 0;
    for (const double v : samples) {
        peak = std::max(peak, std::fabs(v));
    }
    return peak;
}

}  // namespace tesmera
