// SPDX-License-Identifier: GPL-3.0-or-later
// A thin widget over cached pictures, in two layers: what is costly to draw
// and changes only with the widget's size (a waveform) is drawn once into a
// transparent layer; what changes with the user's choices (a selection, the
// focus frame) is composed around that layer, and painting copies the result.
#pragma once

#include <QImage>
#include <QWidget>

class QPainter;

namespace tesmera {

class CachedPicture : public QWidget {
    Q_OBJECT
  public:
    explicit CachedPicture(QWidget* parent = nullptr);

    // The picture at the widget's current size and the screen's pixel
    // ratio, composed first when stale.
    const QImage& Picture();
    // How many times the layer has been drawn: once per size and view,
    // however often the picture is composed.
    int LayerDraws() const { return layerDraws_; }

  protected:
    // What is composed around the layer has changed: compose the picture
    // anew before the next paint.
    void Invalidate();
    // The layer itself has changed (a zoom, a scroll): draw it anew too.
    void InvalidateLayer();
    // Draws the costly part on a transparent image; `area` is the widget's
    // rectangle.
    virtual void DrawLayer(QPainter& painter, const QRect& area) = 0;
    // Draws the whole picture on white, `layer` (the widget's size, in
    // logical pixels) among the rest.
    virtual void Compose(QPainter& painter, const QRect& area, const QImage& layer) = 0;

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    QImage ScreenImage(QImage::Format format) const;
    bool FitsScreen(const QImage& image) const;
    const QImage& Layer();

    QImage layer_;
    QImage picture_;
    bool stale_ = true;
    int layerDraws_ = 0;
};

}  // namespace tesmera
