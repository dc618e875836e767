// SPDX-License-Identifier: GPL-3.0-or-later
// An image control: shows a picture of its own size. Drawing happens on
// Surface() through a canvas; repaint() shows the result at once.
#pragma once

#include <QImage>
#include <QWidget>

#include "chart/TChartCanvas.h"

namespace tesmera {

class TImage : public QWidget {
    Q_OBJECT
  public:
    explicit TImage(QWidget* parent = nullptr);

    // The drawing surface, created on first use at the control's size.
    TCanvasSurface& Surface();
    const QImage& Picture() const { return surface_.image; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    TCanvasSurface surface_;
};

}  // namespace tesmera
