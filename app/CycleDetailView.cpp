// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CycleDetailView.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include "report_page/waveform_painting.h"

namespace tesmera {

namespace {

const QColor SelectedShade(255, 236, 150);
const QColor LeftOutShade(225, 225, 225);
const QColor MarkColor(0, 128, 0);
const QColor SelectedMarkColor(255, 0, 0);

// Each wheel notch zooms in or out by this factor (with Ctrl), or scrolls
// by this share of the view (without).
constexpr double ZoomPerNotch = 0.8;
constexpr double ScrollPerNotch = 0.1;
constexpr double AngleOfANotch = 120;  // eighths of a degree

CycleDetailView::CycleLengths LengthsOf(const std::vector<ReportedCycle>& cycles) {
    std::vector<double> lengths;
    lengths.reserve(cycles.size());
    for (const ReportedCycle& cycle : cycles) {
        lengths.push_back(cycle.EndSample - cycle.StartSample);
    }
    const auto [shortest, longest] = std::ranges::minmax(lengths);
    const auto middle = lengths.begin() + static_cast<std::ptrdiff_t>(lengths.size() / 2);
    std::nth_element(lengths.begin(), middle, lengths.end());
    return {shortest, *middle, longest};
}

ViewRange WholeStretch(const VoiceReport& report, std::int32_t rate) {
    const SampleSpan span = StretchSpan(report, rate);
    return {static_cast<double>(span.First), static_cast<double>(span.End)};
}

// A mark across the area at `sample`, in the painter's pen.
void DrawMark(QPainter& painter, const QRect& inner, const SampleAxis& axis, double sample) {
    const int x = static_cast<int>(std::lround(axis.ToX(sample)));
    painter.drawLine(x, inner.top(), x, inner.bottom());
}

}  // namespace

QColor GradeColor(std::int32_t grade) {
    static const QColor colors[] = {QColor(0, 160, 0), QColor(140, 200, 0), QColor(240, 200, 0),
                                    QColor(240, 120, 0), QColor(210, 0, 0)};
    return colors[std::clamp(grade, 1, 5) - 1];
}

CycleDetailView::CycleDetailView(const RecordingModel& model, QWidget* parent)
    : CachedPicture(parent),
      model_(model),
      report_(model.Report),
      cycleLengths_(LengthsOf(model.Report.Cycles)),
      view_(WholeStretch(model.Report, model.SampleRate)) {
    setObjectName(QStringLiteral("CycleDetailView"));
    setAccessibleName(tr("Cycles of the steady stretch"));
    setFocusPolicy(Qt::StrongFocus);
    setMinimumHeight(80 + StripsHeight);
}

SampleAxis CycleDetailView::Axis() const {
    return SampleAxis(view_.First(), view_.End(), 1, width() - 2);
}

void CycleDetailView::ScrollTo(double first) {
    const ViewRange before = view_;
    view_.MoveTo(first);
    ViewMoved(before);
}

void CycleDetailView::ZoomBy(double factor, double anchor) {
    const ViewRange before = view_;
    const double columns = std::max(width() - 2, 1);
    view_.Zoom(factor, anchor, cycleLengths_.Median * columns / MinimumCyclePixels);
    ViewMoved(before);
}

void CycleDetailView::ViewMoved(const ViewRange& before) {
    if (before.First() != view_.First() || before.Span() != view_.Span()) {
        InvalidateLayer();
        emit ViewChanged();
    }
}

void CycleDetailView::SetSelectedCycle(std::size_t index, const QString& about) {
    selected_ = index;
    setAccessibleDescription(tr("%1; Left and Right choose another").arg(about));
    const ViewRange before = view_;
    view_.Reveal(report_.Cycles[index].StartSample, report_.Cycles[index].EndSample);
    ViewMoved(before);
    Invalidate();
}

QRect CycleDetailView::WaveArea(const QRect& area) {
    return area.adjusted(1, 1, -1, -1 - StripsHeight);
}

void CycleDetailView::DrawLayer(QPainter& painter, const QRect& area) {
    const QRect wave = WaveArea(area);
    const SampleAxis axis = Axis();
    painter.setPen(QColor(160, 160, 160));
    painter.drawLine(wave.left(), wave.center().y(), wave.right(), wave.center().y());
    DrawEnvelope(painter, wave, ColumnExtremes(model_.Stretch, model_.StretchFirst, axis),
                 PeakScale(LargestMagnitude(model_.Stretch)), QColor(0, 0, 128));
    DrawMarks(painter, wave, axis);
    DrawStrips(painter, QRect(wave.left(), wave.bottom() + 2, wave.width(), StripsHeight - 2),
               axis);
}

// Under the waveform, each cycle's F0 as a step over the report's range of
// F0, then one row per model with each analysed cycle in its grade's colour
// (left-out cycles stay white), so a change of voice shows where it is.
void CycleDetailView::DrawStrips(QPainter& painter, const QRect& strips, const SampleAxis& axis) {
    const double rate = model_.SampleRate;
    const double lowest = rate / cycleLengths_.Longest;
    const double highest = rate / cycleLengths_.Shortest;
    const QRect f0Row(strips.left(), strips.top(), strips.width(), F0StripHeight - 2);
    painter.fillRect(f0Row, QColor(245, 245, 245));
    const double range = std::max(highest - lowest, 1e-9);
    for (const ReportedCycle& cycle : report_.Cycles) {
        const int left = static_cast<int>(std::lround(axis.ToX(cycle.StartSample)));
        const int right = static_cast<int>(std::lround(axis.ToX(cycle.EndSample)));
        if (right < strips.left() || left > strips.right()) {
            continue;
        }
        const double f0 = rate / (cycle.EndSample - cycle.StartSample);
        const int y = f0Row.bottom() -
                      static_cast<int>(std::lround((f0 - lowest) / range * (f0Row.height() - 1)));
        painter.fillRect(QRect(left, y, std::max(right - left, 1), 2), QColor(0, 0, 128));
        if (!cycle.Scored) {
            continue;
        }
        for (std::size_t m = 0; m < ScoreModelCount; ++m) {
            const int top = strips.top() + F0StripHeight + static_cast<int>(m) * GradeStripHeight;
            painter.fillRect(QRect(left, top, std::max(right - left, 1), GradeStripHeight - 1),
                             GradeColor(cycle.Score[m]));
        }
    }
}

void CycleDetailView::Compose(QPainter& painter, const QRect& area, const QImage& layer) {
    const QRect inner = area.adjusted(1, 1, -1, -1);
    const SampleAxis axis = Axis();
    ShadeCycles(painter, WaveArea(area), axis);
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
        case Qt::Key_Plus:
        case Qt::Key_Equal:
        case Qt::Key_Minus: {
            const ReportedCycle& cycle = report_.Cycles[selected_];
            ZoomBy(event->key() == Qt::Key_Minus ? 1 / ZoomPerNotch : ZoomPerNotch,
                   (cycle.StartSample + cycle.EndSample) / 2);
            break;
        }
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

void CycleDetailView::wheelEvent(QWheelEvent* event) {
    const double notches = event->angleDelta().y() / AngleOfANotch;
    if (event->modifiers() & Qt::ControlModifier) {
        ZoomBy(std::pow(ZoomPerNotch, notches), Axis().ToSample(event->position().x()));
    } else {
        ScrollTo(view_.First() - notches * ScrollPerNotch * view_.Span());
    }
    event->accept();
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
