// SPDX-License-Identifier: GPL-3.0-or-later
// Pens of the chart's objects (walls, axes, grid, bars). Every change of a
// setting notifies the owner; the canvas takes a pen over with ApplyChartPen.
#pragma once

#include "chart/TChangeNotifier.h"
#include "chart/colors.h"

namespace tesmera {

enum TPenStyle { psSolid, psDot, psClear };
// pmNotXor: each pixel becomes the inverse of (pen colour XOR screen colour),
// so drawing the same figure twice restores the screen.
enum TPenMode { pmCopy, pmNotXor };

class TChartPen : public TChangeNotifier {
  public:
    TChartPen() = default;
    TChartPen(TColor color, int width, TPenStyle style, bool visible);

    TColor Color() const { return color_; }
    void SetColor(TColor color) { SetAndNotify(color_, color); }
    // Pixels across the line.
    int Width() const { return width_; }
    void SetWidth(int width) { SetAndNotify(width_, width); }
    TPenStyle Style() const { return style_; }
    void SetStyle(TPenStyle style) { SetAndNotify(style_, style); }
    TPenMode Mode() const { return mode_; }
    void SetMode(TPenMode mode) { SetAndNotify(mode_, mode); }
    // An invisible pen draws nothing, whatever its style.
    bool Visible() const { return visible_; }
    void SetVisible(bool visible) { SetAndNotify(visible_, visible); }
    // With width 1: every other pixel along a line.
    bool SmallDots() const { return smallDots_; }
    void SetSmallDots(bool smallDots) { SetAndNotify(smallDots_, smallDots); }

  private:
    TColor color_ = clBlack;
    int width_ = 1;
    TPenStyle style_ = psSolid;
    TPenMode mode_ = pmCopy;
    bool visible_ = true;
    bool smallDots_ = false;
};

// Frames that exist but are not drawn unless someone turns them on.
class TChartHiddenPen : public TChartPen {
  public:
    TChartHiddenPen() : TChartPen(clBlack, 1, psSolid, false) {}
};

// Grid lines.
class TDottedGrayPen : public TChartPen {
  public:
    TDottedGrayPen() : TChartPen(clGray, 1, psDot, true) {}
};

// Ticks.
class TDarkGrayPen : public TChartPen {
  public:
    TDarkGrayPen() : TChartPen(clGray, 1, psSolid, true) {}
};

// Axis lines.
class TChartAxisPen : public TChartPen {
  public:
    TChartAxisPen() : TChartPen(clBlack, 2, psSolid, true) {}
};

}  // namespace tesmera
