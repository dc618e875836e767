// SPDX-License-Identifier: GPL-3.0-or-later
// Point annotations of one series. Only Visible takes part in the picture:
// while it is false no mark is drawn and the series asks no room for marks.
#pragma once

#include "chart/colors.h"

namespace tesmera {

class TChartSeries;

enum TSeriesMarksStyle { smsValue, smsPercent, smsLabel, smsLabelPercent, smsLabelValue };

class TSeriesMarks {
  public:
    // `owner` (not owned) is asked to repaint when Visible changes.
    explicit TSeriesMarks(TChartSeries& owner) : owner_(owner) {}
    TSeriesMarks(const TSeriesMarks&) = delete;
    TSeriesMarks& operator=(const TSeriesMarks&) = delete;

    bool Visible() const { return visible_; }
    // Repaints the series only when the value changes.
    void SetVisible(bool visible);

    // Length in pixels of the line from a point to its mark.
    int ArrowLength() const { return arrowLength_; }
    void SetArrowLength(int pixels) { arrowLength_ = pixels; }
    TSeriesMarksStyle Style() const { return style_; }
    void SetStyle(TSeriesMarksStyle style) { style_ = style; }
    TColor BackColor() const { return backColor_; }
    void SetBackColor(TColor color) { backColor_ = color; }
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent) { transparent_ = transparent; }
    // Whether marks are clipped to the plot area.
    bool Clip() const { return clip_; }
    void SetClip(bool clip) { clip_ = clip; }

  private:
    TChartSeries& owner_;
    bool visible_ = false;
    int arrowLength_ = 0;
    TSeriesMarksStyle style_ = smsLabel;
    TColor backColor_ = RGB(255, 255, 128);
    bool transparent_ = false;
    bool clip_ = false;
};

}  // namespace tesmera
