// SPDX-License-Identifier: GPL-3.0-or-later
// A thin widget over a cached picture: the picture is drawn again only when
// what it shows or the widget's size has changed, and painting copies it.
#pragma once

#include <QImage>
#include <QWidget>

class QPainter;

namespace tesmera {

class CachedPicture : public QWidget {
    Q_OBJECT
  public:
    explicit CachedPicture(QWidget* parent = nullptr);

    // The picture at the widget's current size, drawn first when stale.
    const QImage& Picture();

  protected:
    // What the picture shows has changed: draw it anew before the next paint.
    void Invalidate();
    // Draws the whole picture; `area` is the widget's rectangle.
    virtual void DrawPicture(QPainter& painter, const QRect& area) = 0;

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    QImage picture_;
    bool stale_ = true;
};

}  // namespace tesmera
