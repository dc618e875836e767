// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/RecordingOverview.h"

#include <algorithm>
#include <cmath>

#include <QPainter>

#include "app/waveform_painting.h"

namespace tesmera {

RecordingOverview::RecordingOverview(const RecordingModel& model, QWidget* parent)
    : CachedPicture(parent), model_(model) {
    setObjectName(QStringLiteral("RecordingOverview"));
    setAccessibleName(tr("Whole recording"));
    const double seconds = static_cast<double>(model.SampleCount) / model.SampleRate;
    setAccessibleDescription(tr("%1 s of recording; the steady stretch from %2 s to %3 s is shaded")
                                 .arg(seconds, 0, 'f', 2)
                                 .arg(model.Report.StretchStartSeconds, 0, 'f', 2)
                                 .arg(model.Report.StretchEndSeconds, 0, 'f', 2));
    setMinimumHeight(60 + AxisHeight);
}

void RecordingOverview::SetSelectedCycle(std::size_t index) {
    selected_ = index;
    Invalidate();
}

void RecordingOverview::SetView(double first, double end, bool whole) {
    viewFirst_ = first;
    viewEnd_ = end;
    wholeView_ = whole;
    Invalidate();
}

void RecordingOverview::SetPlayingAt(std::optional<double> sample) {
    if (sample != playing_) {
        playing_ = sample;
        Invalidate();
    }
}

QRect RecordingOverview::WaveArea(const QRect& area) {
    return area.adjusted(0, 0, 0, -AxisHeight);
}

SampleAxis RecordingOverview::Axis(const QRect& inner) const {
    return SampleAxis(0, static_cast<double>(model_.SampleCount), inner.left(), inner.width());
}

void RecordingOverview::DrawLayer(QPainter& painter, const QRect& area) {
    const QRect wave = WaveArea(area);
    const QRect inner = wave.adjusted(1, 1, -1, -1);
    const SampleAxis axis = Axis(inner);
    const double rate = model_.SampleRate;
    const int stretchLeft = static_cast<int>(axis.ToX(model_.Report.StretchStartSeconds * rate));
    const int stretchRight = static_cast<int>(axis.ToX(model_.Report.StretchEndSeconds * rate));
    painter.fillRect(QRect(QPoint(stretchLeft, inner.top()), QPoint(stretchRight, inner.bottom())),
                     QColor(204, 228, 255));
    painter.setPen(QColor(160, 160, 160));
    painter.drawLine(inner.left(), inner.center().y(), inner.right(), inner.center().y());
    DrawEnvelope(painter, inner, EnvelopeColumns(model_.Envelope, axis),
                 PeakScale(model_.Envelope.Peak()), QColor(0, 0, 128));
    painter.setPen(QColor(128, 128, 128));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(wave.adjusted(0, 0, -1, -1));
    DrawTimeAxis(painter, area, axis);
}

// Ticks under the waveform with their times in seconds, far enough apart
// for their labels.
void RecordingOverview::DrawTimeAxis(QPainter& painter, const QRect& area,
                                     const SampleAxis& axis) const {
    constexpr int LabelSpacing = 70;
    const double rate = model_.SampleRate;
    const TimeTicks ticks =
        TimeAxisTicks(static_cast<double>(model_.SampleCount) / rate, axis.Width(), LabelSpacing);
    const int decimals = ticks.Step >= 1 ? 0 : ticks.Step >= 0.1 ? 1 : 2;
    QFont font = painter.font();
    font.setPixelSize(AxisHeight - 4);
    painter.setFont(font);
    painter.setPen(QColor(64, 64, 64));
    const int top = WaveArea(area).bottom() + 1;
    for (const double seconds : ticks.Seconds) {
        const int x = static_cast<int>(std::lround(axis.ToX(seconds * rate)));
        painter.drawLine(x, top, x, top + 2);
        const QString label = QString::number(seconds, 'f', decimals) + QStringLiteral(" s");
        painter.drawText(QRect(x + 2, top, LabelSpacing - 4, AxisHeight),
                         Qt::AlignLeft | Qt::AlignVCenter, label);
    }
}

void RecordingOverview::Compose(QPainter& painter, const QRect& area, const QImage& layer) {
    painter.drawImage(0, 0, layer);
    const QRect inner = WaveArea(area).adjusted(1, 1, -1, -1);
    const SampleAxis axis = Axis(inner);
    if (!wholeView_) {
        // The detail view's part, framed so the user sees where it lies.
        const int left = static_cast<int>(std::lround(axis.ToX(viewFirst_)));
        const int right = std::max(left + 2, static_cast<int>(std::lround(axis.ToX(viewEnd_))));
        painter.setPen(QPen(QColor(0, 0, 0), 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRect(QPoint(left, inner.top()), QPoint(right - 1, inner.bottom())));
    }
    if (selected_ < model_.Report.Cycles.size()) {
        // At least two pixels wide, so even a short cycle stays visible.
        const ReportedCycle& cycle = model_.Report.Cycles[selected_];
        const int left = static_cast<int>(axis.ToX(cycle.StartSample));
        const int right = std::max(left + 2, static_cast<int>(axis.ToX(cycle.EndSample)));
        painter.fillRect(QRect(QPoint(left, inner.top()), QPoint(right - 1, inner.bottom())),
                         QColor(255, 0, 0));
    }
    if (playing_) {
        // Blue, apart from the red selection it may pass over.
        const int x = static_cast<int>(std::lround(axis.ToX(*playing_)));
        painter.fillRect(QRect(x, inner.top(), 2, inner.height()), QColor(0, 0, 220));
    }
}

}  // namespace tesmera
