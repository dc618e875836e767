// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/RecordingOverview.h"

#include <algorithm>

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
    setMinimumHeight(60);
}

void RecordingOverview::SetSelectedCycle(std::size_t index) {
    selected_ = index;
    Invalidate();
}

SampleAxis RecordingOverview::Axis(const QRect& inner) const {
    return SampleAxis(0, static_cast<double>(model_.SampleCount), inner.left(), inner.width());
}

void RecordingOverview::DrawLayer(QPainter& painter, const QRect& area) {
    const QRect inner = area.adjusted(1, 1, -1, -1);
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
    painter.drawRect(area.adjusted(0, 0, -1, -1));
}

void RecordingOverview::Compose(QPainter& painter, const QRect& area, const QImage& layer) {
    painter.drawImage(0, 0, layer);
    if (selected_ < model_.Report.Cycles.size()) {
        // At least two pixels wide, so even a short cycle stays visible.
        const QRect inner = area.adjusted(1, 1, -1, -1);
        const SampleAxis axis = Axis(inner);
        const ReportedCycle& cycle = model_.Report.Cycles[selected_];
        const int left = static_cast<int>(axis.ToX(cycle.StartSample));
        const int right = std::max(left + 2, static_cast<int>(axis.ToX(cycle.EndSample)));
        painter.fillRect(QRect(QPoint(left, inner.top()), QPoint(right - 1, inner.bottom())),
                         QColor(255, 0, 0));
    }
}

}  // namespace tesmera
