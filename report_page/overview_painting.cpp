// SPDX-License-Identifier: GPL-3.0-or-later
#include "report_page/overview_painting.h"

#include <cmath>

#include <QPainter>

#include "report_page/waveform_painting.h"

namespace tesmera {

namespace {

// Ticks under the waveform with their times in seconds, far enough apart
// for their labels.
void DrawTimeAxis(QPainter& painter, const QRect& area, const SampleAxis& axis,
                  const OverviewSource& source) {
    constexpr int LabelSpacing = 70;
    const double rate = source.SampleRate;
    const TimeTicks ticks =
        TimeAxisTicks(static_cast<double>(source.SampleCount) / rate, axis.Width(), LabelSpacing);
    const int decimals = ticks.Step >= 1 ? 0 : ticks.Step >= 0.1 ? 1 : 2;
    QFont font = painter.font();
    font.setPixelSize(OverviewAxisHeight - 4);
    painter.setFont(font);
    painter.setPen(QColor(64, 64, 64));
    const int top = OverviewWaveArea(area).bottom() + 1;
    for (const double seconds : ticks.Seconds) {
        const int x = static_cast<int>(std::lround(axis.ToX(seconds * rate)));
        painter.drawLine(x, top, x, top + 2);
        const QString label = QString::number(seconds, 'f', decimals) + QStringLiteral(" s");
        painter.drawText(QRect(x + 2, top, LabelSpacing - 4, OverviewAxisHeight),
                         Qt::AlignLeft | Qt::AlignVCenter, label);
    }
}

}  // namespace

QRect OverviewWaveArea(const QRect& area) {
    return area.adjusted(0, 0, 0, -OverviewAxisHeight);
}

QRect OverviewInnerArea(const QRect& area) {
    return OverviewWaveArea(area).adjusted(1, 1, -1, -1);
}

SampleAxis OverviewAxis(const QRect& inner, std::size_t sampleCount) {
    return SampleAxis(0, static_cast<double>(sampleCount), inner.left(), inner.width());
}

void DrawOverview(QPainter& painter, const QRect& area, const OverviewSource& source) {
    const QRect wave = OverviewWaveArea(area);
    const QRect inner = OverviewInnerArea(area);
    const SampleAxis axis = OverviewAxis(inner, source.SampleCount);
    const double rate = source.SampleRate;
    const int stretchLeft = static_cast<int>(axis.ToX(source.StretchStartSeconds * rate));
    const int stretchRight = static_cast<int>(axis.ToX(source.StretchEndSeconds * rate));
    painter.fillRect(QRect(QPoint(stretchLeft, inner.top()), QPoint(stretchRight, inner.bottom())),
                     QColor(204, 228, 255));
    painter.setPen(QColor(160, 160, 160));
    painter.drawLine(inner.left(), inner.center().y(), inner.right(), inner.center().y());
    DrawEnvelope(painter, inner, EnvelopeColumns(source.Envelope, axis),
                 PeakScale(source.Envelope.Peak()), QColor(0, 0, 128));
    painter.setPen(QColor(128, 128, 128));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(wave.adjusted(0, 0, -1, -1));
    DrawTimeAxis(painter, area, axis, source);
}

QImage OverviewPicture(const OverviewSource& source, const QSize& size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    DrawOverview(painter, image.rect(), source);
    return image;
}

}  // namespace tesmera
