// SPDX-License-Identifier: GPL-3.0-or-later
// The chart level that owns the series and lays out and draws the axes and
// the series. The series list keeps the order the series were added in,
// which is the order of measuring and drawing.
#pragma once

#include <array>
#include <memory>
#include <type_traits>
#include <vector>

#include "chart/TChartAxis.h"
#include "chart/TChartSeries.h"
#include "chart/TCustomChartPanelExtended.h"
#include "chart/label_format.h"

namespace tesmera {

class TCustomAxisPanel : public TCustomChartPanelExtended {
  public:
    TCustomAxisPanel() = default;
    // Detaches every series before releasing it, so that no series asks a
    // chart that is going away for a repaint.
    ~TCustomAxisPanel() override;

    // The chart takes ownership of `series` and appends it to the series list;
    // the series' ParentChart becomes this chart. A series whose SeriesColor
    // is still clDefault receives a colour not yet used by another series.
    // Returns the added series as its own type, valid as long as the chart.
    template <class Series>
    Series& AddSeries(std::unique_ptr<Series> series) {
        static_assert(std::is_base_of_v<TChartSeries, Series>);
        Series& added = *series;
        AdoptSeries(std::move(series));
        return added;
    }

    int SeriesCount() const { return static_cast<int>(seriesList_.size()); }
    // Throws ListIndexError outside 0 .. SeriesCount() - 1.
    TChartSeries& Series(int index) const;
    const std::vector<std::unique_ptr<TChartSeries>>& SeriesList() const { return seriesList_; }

    bool AxisVisible() const { return axisVisible_; }
    void SetAxisVisible(bool visible) { SetAndNotify(axisVisible_, visible); }
    // True: series are clipped to the plot area.
    bool ClipPoints() const { return clipPoints_; }
    void SetClipPoints(bool clip) { SetAndNotify(clipPoints_, clip); }
    bool View3DWalls() const { return view3DWalls_; }
    void SetView3DWalls(bool walls) { SetAndNotify(view3DWalls_, walls); }
    // 0: no paging.
    int MaxPointsPerPage() const { return maxPointsPerPage_; }
    void SetMaxPointsPerPage(int points) { SetAndNotify(maxPointsPerPage_, points); }
    int Page() const { return page_; }
    void SetPage(int page) { SetAndNotify(page_, page); }
    bool ScaleLastPage() const { return scaleLastPage_; }
    void SetScaleLastPage(bool scale) { SetAndNotify(scaleLastPage_, scale); }

    // The separators of every value label; "." and "," until the owner
    // passes its locale's.
    const NumberSeparators& LabelSeparators() const { return labelSeparators_; }
    void SetLabelSeparators(const NumberSeparators& separators) {
        SetAndNotify(labelSeparators_, separators);
    }

    // The five axes, owned by the chart. Layout and drawing walk them in the
    // order of AxisList: bottom, top, left, right, depth.
    TChartAxis& BottomAxis() { return bottomAxis_; }
    const TChartAxis& BottomAxis() const { return bottomAxis_; }
    TChartAxis& TopAxis() { return topAxis_; }
    const TChartAxis& TopAxis() const { return topAxis_; }
    TChartAxis& LeftAxis() { return leftAxis_; }
    const TChartAxis& LeftAxis() const { return leftAxis_; }
    TChartAxis& RightAxis() { return rightAxis_; }
    const TChartAxis& RightAxis() const { return rightAxis_; }
    TChartAxis& DepthAxis() { return depthAxis_; }
    const TChartAxis& DepthAxis() const { return depthAxis_; }
    std::array<TChartAxis*, 5> AxisList() {
        return {&bottomAxis_, &topAxis_, &leftAxis_, &rightAxis_, &depthAxis_};
    }

  protected:
    // Seams of the frame filled in by the axes. LayoutAxes sets the axis
    // ranges from the series, shrinks PlotRect by the axis labels and ticks
    // and normalises it; ApplySeriesMargins widens the ranges by the series'
    // pixel margins; DrawVisibleAxes draws every shown axis in list order.
    virtual void LayoutAxes();
    virtual void ApplySeriesMargins();
    virtual void DrawVisibleAxes();

    // Draws every active series in list order, each clipped to the plot area
    // while ClipPoints is on.
    void DrawAllSeries();

  private:
    void AdoptSeries(std::unique_ptr<TChartSeries> series);
    TColor FreeSeriesColor() const;
    void DrawOneSeries(TChartSeries& series);

    std::vector<std::unique_ptr<TChartSeries>> seriesList_;
    bool axisVisible_ = true;
    bool clipPoints_ = true;
    bool view3DWalls_ = true;
    int maxPointsPerPage_ = 0;
    int page_ = 1;
    bool scaleLastPage_ = true;
    NumberSeparators labelSeparators_;
    // Declared in list order, so they are also created in that order.
    TChartAxis bottomAxis_{this, AxisPlace::Bottom};
    TChartAxis topAxis_{this, AxisPlace::Top};
    TChartAxis leftAxis_{this, AxisPlace::Left};
    TChartAxis rightAxis_{this, AxisPlace::Right};
    TChartAxis depthAxis_{this, AxisPlace::Depth};
};

}  // namespace tesmera
