// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CycleDetailView.h"

#include <cmath>

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "app/waveform_painting.h"

namespace tesmera {

namespace {

const QColor SelectedShade(255, 236, 150);
const QColor LeftOutShade(225, 225, 225);
const QColor MarkColor(0, 128, 0);
const QColor SelectedMarkColor(255, 0, 0);

// A mark across the area at `sample`, in the painter's pen.
void DrawMark(QPainter& painter, const QRect& inner, const SampleAxis& axis, double sample) {
    const int x = static_cast<int>(std::lround(axis.ToX(sample)));
    painter.drawLine(x, inner.top(), x, inner.bottom());
}

}  // namespace

CycleDetailView::CycleDetailView(const RecordingModel& model, QWidget* parent)
    : CachedPicture(parent), model_(model), report_(model.Report) {
    setObjectName(QStringLiteral("CycleDetailView"));
    setAccessibleName(tr("Cycles of the steady stretch"));
    setFocusPolicy(Qt::StrongFocus);
    setMinimumHeight(120);
}

SampleAxis CycleDetailView::Axis() const {
    const SampleSpan span = StretchSpan(report_, model_.SampleRate);
    return SampleAxis(static_cast<double>(span.First), static_cast<double>(span.End), 1,
                      width() - 2);
}

void CycleDetailView::SetSelectedCycle(std::size_t index, const QString& about) {
    selected_ = index;
    setAccessibleDescription(tr("%1; Left and Right choose another").arg(about));
    Invalidate();
}

void CycleDetailView::DrawLayer(QPainter& painter, const QRect& area) {
    const QRect inner = area.adjusted(1, 1, -1, -1);
    const SampleAxis axis = Axis();
    painter.setPen(QColor(160, 160, 160));
    painter.drawLine(inner.left(), inner.center().y(), inner.right(), inner.center().y());
    DrawEnvelope(painter, inner, ColumnExtremes(model_.Stretch, model_.StretchFirst, axis),
                 PeakScale(LargestMagnitude(model_.Stretch)), QColor(0, 0, 128));
    DrawMarks(painter, inner, axis);
}

void CycleDetailView::Compose(QPainter& painter, const QRect& area, const QImage& layer) {
    const QRect inner = area.adjusted(1, 1, -1, -1);
    const SampleAxis axis = Axis();
    ShadeCycles(painter, inner, axis);
    painter.drawImage(0, 0, layer);
    // The selected cycle's marks over the rest, so a neighbour's never
    // covers them.
    const ReportedCycle& selected = report_.Cycles[selected_];
    painter.setPen(QPen(SelectedMarkColor, 1));
    DrawMark(painter, inner, axis, selected.StartSample);
    DrawMark(painter, inner, axis, selected.EndSample);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(hasFocus() ? QPen(palette().color(QPalette::Highlight), 1)
                              : QPen(QColor(128, 128, 128), 1));
    painter.drawRect(area.adjusted(0, 0, -1, -1));
}

void CycleDetailView::ShadeCycles(QPainter& painter, const QRect& inner, const SampleAxis& axis) {
    for (std::size_t i = 0; i < report_.Cycles.size(); ++i) {
        const ReportedCycle& cycle = report_.Cycles[i];
        const bool leftOut = cycle.Period.empty();
        if (i != selected_ && !leftOut) {
            continue;
        }
        const int left = static_cast<int>(std::lround(axis.ToX(cycle.StartSample)));
        const int right = static_cast<int>(std::lround(axis.ToX(cycle.EndSample)));
        painter.fillRect(QRect(left, inner.top(), std::max(right - left, 1), inner.height()),
                         i == selected_ ? SelectedShade : LeftOutShade);
    }
}

void CycleDetailView::DrawMarks(QPainter& painter, const QRect& inner, const SampleAxis& axis) {
    painter.setPen(QPen(MarkColor, 1));
    for (const ReportedCycle& cycle : report_.Cycles) {
        DrawMark(painter, inner, axis, cycle.StartSample);
    }
    DrawMark(painter, inner, axis, report_.Cycles.back().EndSample);
}

void CycleDetailView::keyPressEvent(QKeyEvent* event) {
    const std::size_t last = report_.Cycles.size() - 1;
    switch (event->key()) {
        case Qt::Key_Left:
            emit CycleChosen(selected_ > 0 ? selected_ - 1 : 0);
            break;
        case Qt::Key_Right:
            emit CycleChosen(std::min(selected_ + 1, last));
            break;
        case Qt::Key_Home:
            emit CycleChosen(0);
            break;
        case Qt::Key_End:
            emit CycleChosen(last);
            break;
        default:
            CachedPicture::keyPressEvent(event);
    }
}

void CycleDetailView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        CachedPicture::mousePressEvent(event);
        return;
    }
    if (const auto index = CycleAt(report_.Cycles, Axis().ToSample(event->position().x()))) {
        emit CycleChosen(*index);
    }
}

void CycleDetailView::focusInEvent(QFocusEvent* event) {
    CachedPicture::focusInEvent(event);
    Invalidate();
}

void CycleDetailView::focusOutEvent(QFocusEvent* event) {
    CachedPicture::focusOutEvent(event);
    Invalidate();
}

}  // namespace tesmera
