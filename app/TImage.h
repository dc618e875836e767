// An image control: shows a picture of its own size. Drawing happens on
// Picture(); Repaint() shows the result at once.
#pragma once

#include <QImage>
#include <QWidget>

namespace tesmera {

class TImage : public QWidget {
    Q_OBJECT
  public:
    explicit TImage(QWidget* parent = nullptr);

    // The drawing surface, created on first use at the control's size.
    QImage& Picture();
    const QImage& Picture() const { return picture_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QImage picture_;
};

}  // namespace tesmera
