// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/RecordingOverview.h"

#include <QPainter>

#include "app/waveform_painting.h"

namespace tesmera {

RecordingOverview::RecordingOverview(const MonoRecording& recording, const VoiceReport& report,
                                     QWidget* parent)
    : CachedPicture(parent), recording_(recording), report_(report) {
    setObjectName(QStringLiteral("RecordingOverview"));
    setAccessibleName(tr("Whole recording"));
    const double seconds = static_cast<double>(recording.Samples.size()) / recording.SampleRate;
    setAccessibleDescription(tr("%1 s of recording; the steady stretch from %2 s to %3 s is shaded")
                                 .arg(seconds, 0, 'f', 2)
                                 .arg(report.StretchStartSeconds, 0, 'f', 2)
                                 .arg(report.StretchEndSeconds, 0, 'f', 2));
    setMinimumHeight(60);
}

void RecordingOverview::SetSelectedCycle(std::size_t index) {
    selected_ = index;
    Invalidate();
}

void RecordingOverview::DrawPicture(QPainter& painter, const QRect& area) {
    const QRect inner = area.adjusted(1, 1, -1, -1);
    const SampleAxis axis(0, static_cast<double>(recording_.Samples.size()), inner.left(),
                          inner.width());
    const double rate = recording_.SampleRate;
    const int stretchLeft = static_cast<int>(axis.ToX(report_.StretchStartSeconds * rate));
    const int stretchRight = static_cast<int>(axis.ToX(report_.StretchEndSeconds * rate));
    painter.fillRect(QRect(QPoint(stretchLeft, inner.top()), QPoint(stretchRight, inner.bottom())),
                     QColor(204, 228, 255));
    painter.setPen(QColor(160, 160, 160));
    painter.drawLine(inner.left(), inner.center().y(), inner.right(), inner.center().y());
    DrawEnvelope(painter, inner, ColumnExtremes(recording_.Samples, axis),
                 PeakScale(recording_.Samples), QColor(0, 0, 128));
    if (selected_ < report_.Cycles.size()) {
        // At least two pixels wide, so even a short cycle stays visible.
        const ReportedCycle& cycle = report_.Cycles[selected_];
        const int left = static_cast<int>(axis.ToX(cycle.StartSample));
        const int right = std::max(left + 2, static_cast<int>(axis.ToX(cycle.EndSample)));
        painter.fillRect(QRect(QPoint(left, inner.top()), QPoint(right - 1, inner.bottom())),
                         QColor(255, 0, 0));
    }
    painter.setPen(QColor(128, 128, 128));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(area.adjusted(0, 0, -1, -1));
}

}  // namespace tesmera
