// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/RecordingOverview.h"

#include <algorithm>
#include <cmath>

#include <QPainter>

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
    setMinimumHeight(60 + OverviewAxisHeight);
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

OverviewSource ModelOverview(const RecordingModel& model) {
    return {model.Envelope, model.SampleCount, model.SampleRate, model.Report.StretchStartSeconds,
            model.Report.StretchEndSeconds};
}

void RecordingOverview::DrawLayer(QPainter& painter, const QRect& area) {
    DrawOverview(painter, area, ModelOverview(model_));
}

void RecordingOverview::Compose(QPainter& painter, const QRect& area, const QImage& layer) {
    painter.drawImage(0, 0, layer);
    const QRect inner = OverviewInnerArea(area);
    const SampleAxis axis = OverviewAxis(inner, model_.SampleCount);
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
