// SPDX-License-Identifier: GPL-3.0-or-later
// Bar series: every point is a vertical bar standing on the series' origin
// value and reaching the point's value, centred on the point's position.
#pragma once

#include <vector>

#include "base/TesmeraError.h"
#include "chart/TChartBrush.h"
#include "chart/TChartPen.h"
#include "chart/TChartSeries.h"
#include "chart/TRect.h"
#include "chart/bar_geometry.h"

namespace tesmera {

// An invalid bar setting, refused before it is stored.
class BarException : public TesmeraError {
  public:
    using TesmeraError::TesmeraError;
};

enum class TBarStyle {
    bsRectangle,
    bsPyramid,
    bsInvPyramid,
    bsCilinder,
    bsEllipse,
    bsArrow,
    bsRectGradient
};

class TCustomBarSeries : public TChartSeries {
  public:
    // Bars stand on YOrigin when UseYOrigin, so the value range includes it.
    double HighestY() const override;
    double LowestY() const override;
    // The bar's left edge: its centre, shifted to its slot among the series
    // side by side and by OffsetPercent.
    // The bar's top (for values above the origin) is the base class'
    // PointScreenY.
    int PointScreenX(int valueIndex) const override;
    // Backwards when the position axis is inverted, so bars are still drawn
    // from left to right.
    bool DrawsForward() const override;
    // Computes BarPixelWidth for this frame, then asks BarSideMargin pixels at
    // both ends of the position axis.
    THorizMargins HorizMargins() override;
    // No room for marks while they are hidden (or the series is empty).
    TVertMargins VertMargins() override;

    // Draws the bar of one point (nothing for a null point), from its value
    // down (or up) to the origin row.
    void DrawPoint(int valueIndex) override;
    // The lowest shown point whose bar, edges included, covers (x, y); -1
    // when there is none or nothing was shown.
    int Clicked(int x, int y) const override;

    // Sets BarPixelWidth from the position axis' length and the point count.
    void ComputeBarWidth();
    // With mbSide: the number of active series of this kind in the chart;
    // otherwise 1.
    int SideBySideCount() const;
    // With mbSide: 1 + the active series of this kind before this one.
    int BarSlot() const;
    int BarSideMargin() const;
    // The pixel row where the bar of a point starts: the row of YOrigin, or
    // the bottom of the value axis without UseYOrigin.
    int OriginPixel(int valueIndex) const;

    bool AutoBarSize() const { return autoBarSize_; }
    void SetAutoBarSize(bool automatic) { SetAndNotify(autoBarSize_, automatic); }
    TBarStyle BarStyle() const { return barStyle_; }
    void SetBarStyle(TBarStyle style) { SetAndNotify(barStyle_, style); }
    int BarWidthPercent() const { return barWidthPercent_; }
    // Throws BarException outside 1 .. 100 and keeps the old value.
    void SetBarWidthPercent(int percent);
    int OffsetPercent() const { return offsetPercent_; }
    // Throws BarException outside -100 .. 100 and keeps the old value.
    void SetOffsetPercent(int percent);
    TMultiBar MultiBar() const { return multiBar_; }
    // Also given to every other series of this kind in the chart.
    void SetMultiBar(TMultiBar multiBar);
    bool SideMargins() const { return sideMargins_; }
    // Also given to every other series of this kind in the chart.
    void SetSideMargins(bool sideMargins);
    bool UseYOrigin() const { return useYOrigin_; }
    void SetUseYOrigin(bool use) { SetAndNotify(useYOrigin_, use); }
    double YOrigin() const { return yOrigin_; }
    void SetYOrigin(double origin) { SetAndNotify(yOrigin_, origin); }
    // A fixed bar width in pixels (odd widths allowed); 0 computes it.
    int CustomBarWidth() const { return customBarWidth_; }
    void SetCustomBarWidth(int pixels) { SetAndNotify(customBarWidth_, pixels); }

    // Outline and fill of the bars; changes repaint the series.
    TChartPen& BarPen() { return barPen_; }
    const TChartPen& BarPen() const { return barPen_; }
    TChartBrush& BarBrush() { return barBrush_; }
    const TChartBrush& BarBrush() const { return barBrush_; }

    // The bar width of the current frame; valid after HorizMargins.
    int BarPixelWidth() const { return barPixelWidth_; }
    // The bar being drawn; meaningful only inside DrawPoint.
    const TRect& CurrentBarRect() const { return currentBarRect_; }
    TColor CurrentBarColor() const { return currentBarColor_; }

  protected:
    TCustomBarSeries();

    // True when `other` is a series of this kind: the same bar class, one
    // derived from it or one it derives from.
    virtual bool IsSameKind(const TChartSeries& other) const = 0;

    // Paints CurrentBarRect; startRow and endRow are its top and bottom rows in
    // order, for shapes that are not plain rectangles.
    virtual void PaintBar(int valueIndex, int startRow, int endRow) = 0;
    // Loads BarPen and a brush of `color` in BarBrush's style into the chart's
    // canvas.
    void PrepareBarPenBrush(TColor color);
    // Paints a rectangle with the prepared pen and brush. A bar without width
    // or height is a line in its colour; one narrower than the pen is an
    // outline in its colour.
    void PaintBarRect(TColor color, const TRect& rect);

    TRect currentBarRect_;
    TColor currentBarColor_ = clDefault;

  private:
    // The active series of this kind in the chart, in list order.
    std::vector<TCustomBarSeries*> SeriesOfThisKind() const;
    int PointCountForWidth() const;
    // Stores a setting that all series of this kind in the chart share.
    template <class T>
    void SetShared(T TCustomBarSeries::*field, const T& value);

    bool autoBarSize_ = false;
    TBarStyle barStyle_ = TBarStyle::bsRectangle;
    int barWidthPercent_ = 70;
    TMultiBar multiBar_ = TMultiBar::mbSide;
    int offsetPercent_ = 0;
    bool sideMargins_ = true;
    bool useYOrigin_ = true;
    double yOrigin_ = 0;
    int customBarWidth_ = 0;
    int barPixelWidth_ = 0;
    TChartPen barPen_;
    TChartBrush barBrush_;
};

class TBarSeries : public TCustomBarSeries {
  public:
    TBarSeries() = default;

  protected:
    bool IsSameKind(const TChartSeries& other) const override;
    // Every style is drawn as the plain rectangle: the chart is
    // two-dimensional, where a cylinder looks the same, and no other shape is
    // used.
    void PaintBar(int valueIndex, int startRow, int endRow) override;
};

}  // namespace tesmera
