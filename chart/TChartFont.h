// SPDX-License-Identifier: GPL-3.0-or-later
// A font of the chart (title, foot, axis labels). Sizes are whole pixels of
// character height; points convert at 96 pixels per inch, as on the desktop
// the layout was designed for.
#pragma once

#include <QFont>
#include <QString>

#include "chart/TChangeNotifier.h"
#include "chart/colors.h"

namespace tesmera {

class TChartFont : public TChangeNotifier {
  public:
    TChartFont(QString name, int pixelHeight, TColor color);

    const QString& Name() const { return name_; }
    void SetName(const QString& name) { SetAndNotify(name_, name); }
    int PixelHeight() const { return pixelHeight_; }
    void SetPixelHeight(int pixels) { SetAndNotify(pixelHeight_, pixels); }
    // Sets the height from a size in points.
    void SetSize(int points);
    TColor Color() const { return color_; }
    void SetColor(TColor color) { SetAndNotify(color_, color); }

    // Without antialiasing: text pixels are the font colour or untouched, as
    // the chart's pixel rules expect.
    QFont ToQFont() const;

  private:
    QString name_;
    int pixelHeight_;
    TColor color_;
};

// The font every chart font starts as: Arial 8 points, black; on a system
// whose language is Japanese, MS Sans Serif at the application font's size.
TChartFont DefaultChartFont();

}  // namespace tesmera
