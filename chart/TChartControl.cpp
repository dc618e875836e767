// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/TChartControl.h"

#include <optional>

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

namespace tesmera {

namespace {

// One wheel notch in eighths of a degree.
constexpr int WheelNotch = 120;

std::optional<TMouseButton> ChartButton(Qt::MouseButton button) {
    switch (button) {
        case Qt::LeftButton:
            return mbLeft;
        case Qt::RightButton:
            return mbRight;
        case Qt::MiddleButton:
            return mbMiddle;
        default:
            return std::nullopt;
    }
}

// The modifier keys and the buttons held during the event.
TShiftState ChartShiftState(const QMouseEvent& event) {
    const Qt::KeyboardModifiers keys = event.modifiers();
    const Qt::MouseButtons buttons = event.buttons();
    TShiftState state = 0;
    state |= keys.testFlag(Qt::ShiftModifier) ? ssShift : 0;
    state |= keys.testFlag(Qt::AltModifier) ? ssAlt : 0;
    state |= keys.testFlag(Qt::ControlModifier) ? ssCtrl : 0;
    state |= buttons.testFlag(Qt::LeftButton) ? ssLeft : 0;
    state |= buttons.testFlag(Qt::RightButton) ? ssRight : 0;
    state |= buttons.testFlag(Qt::MiddleButton) ? ssMiddle : 0;
    return state;
}

}  // namespace

TChartControl::TChartControl(QWidget* parent) : QWidget(parent) {
    // Every frame covers the whole control, so the background is never
    // erased first: no flicker between erase and paint.
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Moves without a button pressed are wanted too: they reset the cursor.
    setMouseTracking(true);
    chart_.SetRepaintRequest([this] { update(); });
    TChartMouseHandler& mouse = chart_.Mouse();
    mouse.SetShowScreen([this] { ShowScreen(); });
    mouse.SetCursorRequest([this](Qt::CursorShape shape) { setCursor(shape); });
    mouse.SetRestingCursor(cursor().shape());
    resize(chart_.Width(), chart_.Height());
}

void TChartControl::ShowScreen() {
    showScreenAsIs_ = true;
    repaint();
}

void TChartControl::paintEvent(QPaintEvent* /*event*/) {
    // Moved to a screen of another scale: the whole chart is drawn anew.
    if (FitSurface(screen_, size(), WholePixelRatio(devicePixelRatioF()))) {
        showScreenAsIs_ = false;
    }
    if (!showScreenAsIs_ || chart_.Canvas().BufferStale()) {
        const int framesBefore = chart_.FramesPainted();
        chart_.PaintRequest(screen_);
        if (chart_.FramesPainted() == framesBefore) {
            chart_.Mouse().BufferCopiedToScreen();
        }
    }
    showScreenAsIs_ = false;
    QPainter(this).drawImage(0, 0, screen_.image);
}

void TChartControl::resizeEvent(QResizeEvent* /*event*/) {
    FitSurface(screen_, size(), WholePixelRatio(devicePixelRatioF()));
    chart_.SetSize(width(), height());
}

void TChartControl::mousePressEvent(QMouseEvent* event) {
    // Accepted even for a button the chart ignores, so the press is not
    // passed on to the window and the grab stays here.
    event->accept();
    if (const auto button = ChartButton(event->button())) {
        const QPoint at = event->position().toPoint();
        chart_.Mouse().ChartMouseDown(*button, ChartShiftState(*event), at.x(), at.y());
    }
}

void TChartControl::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
    if (const auto button = ChartButton(event->button())) {
        const QPoint at = event->position().toPoint();
        chart_.Mouse().ChartMouseDown(*button, ChartShiftState(*event) | ssDouble, at.x(), at.y());
    }
}

void TChartControl::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    const QPoint at = event->position().toPoint();
    chart_.Mouse().ChartMouseMove(ChartShiftState(*event), at.x(), at.y());
}

void TChartControl::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (const auto button = ChartButton(event->button())) {
        const QPoint at = event->position().toPoint();
        chart_.Mouse().ChartMouseUp(*button, ChartShiftState(*event), at.x(), at.y());
    }
}

void TChartControl::wheelEvent(QWheelEvent* event) {
    event->accept();
    // A positive delta turns the wheel away from the user (up). Fine-grained
    // wheels send parts of a notch, which count once they add up to one.
    wheelRemainder_ += event->angleDelta().y();
    while (wheelRemainder_ >= WheelNotch) {
        wheelRemainder_ -= WheelNotch;
        chart_.Mouse().ChartMouseWheel(TWheelTurn::Up);
    }
    while (wheelRemainder_ <= -WheelNotch) {
        wheelRemainder_ += WheelNotch;
        chart_.Mouse().ChartMouseWheel(TWheelTurn::Down);
    }
}

void TChartControl::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    chart_.Mouse().ChartMouseLeave();
}

}  // namespace tesmera
