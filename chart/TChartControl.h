// SPDX-License-Identifier: GPL-3.0-or-later
// The chart's window: a child widget that owns the chart and shows its
// frames. It keeps the picture it shows (the screen) as an image: a paint
// request copies the chart's buffer onto it, or has the chart paint a new
// frame when something changed, and then puts it on the widget. Mouse and
// wheel events go to the chart's mouse handler.
#pragma once

#include <QWidget>

#include "chart/TChart.h"
#include "chart/TChartCanvas.h"

namespace tesmera {

class TChartControl : public QWidget {
    Q_OBJECT
  public:
    // Starts at the chart's default size, 400 x 250.
    explicit TChartControl(QWidget* parent = nullptr);

    TChart& Chart() { return chart_; }
    const TChart& Chart() const { return chart_; }

    // What the control shows. Figures drawn onto it directly (the rubber band
    // of a mouse zoom, through the chart's canvas, which draws here between
    // frames) last until the next paint request.
    TCanvasSurface& Screen() { return screen_; }
    // Puts the screen on the widget at once, as it is, without a new frame
    // unless the chart has changed.
    void ShowScreen();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // The widget that gets a press keeps the mouse until the release, so a
    // drag that ends outside the control still ends here.
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    TChart chart_;
    TCanvasSurface screen_;
    bool showScreenAsIs_ = false;
    // Wheel rotation (eighths of a degree) not yet counted as a notch.
    int wheelRemainder_ = 0;
};

}  // namespace tesmera
