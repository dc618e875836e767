// The chart level that owns the series: the series list, in the order the
// series were added, which is the order of measuring and drawing.
#pragma once

#include <array>
#include <memory>
#include <type_traits>
#include <vector>

#include "chart/TChartAxis.h"
#include "chart/TChartSeries.h"
#include "chart/TCustomChartPanel.h"

namespace tesmera {

class TCustomAxisPanel : public TCustomChartPanel {
  public:
    TCustomAxisPanel() = default;
    // Detaches every series before releasing it, so that the series do not
    // ask a chart that is going away for a repaint.
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

    // False hides every axis with its labels and grid.
    bool AxisVisible() const { return axisVisible_; }
    void SetAxisVisible(bool visible) {
        if (visible != axisVisible_) {
            axisVisible_ = visible;
            InvalidateChart();
        }
    }

    // The five axes, owned by the chart. Layout and drawing walk them in the
    // order of AxisList: bottom, top, left, right, depth.
    TChartAxis& BottomAxis() { return bottomAxis_; }
    TChartAxis& TopAxis() { return topAxis_; }
    TChartAxis& LeftAxis() { return leftAxis_; }
    TChartAxis& RightAxis() { return rightAxis_; }
    TChartAxis& DepthAxis() { return depthAxis_; }
    std::array<TChartAxis*, 5> AxisList() {
        return {&bottomAxis_, &topAxis_, &leftAxis_, &rightAxis_, &depthAxis_};
    }

  private:
    void AdoptSeries(std::unique_ptr<TChartSeries> series);
    TColor FreeSeriesColor() const;

    std::vector<std::unique_ptr<TChartSeries>> seriesList_;
    bool axisVisible_ = true;
    // Declared in list order, so they are also created in that order.
    TChartAxis bottomAxis_{this, AxisPlace::Bottom};
    TChartAxis topAxis_{this, AxisPlace::Top};
    TChartAxis leftAxis_{this, AxisPlace::Left};
    TChartAxis rightAxis_{this, AxisPlace::Right};
    TChartAxis depthAxis_{this, AxisPlace::Depth};
};

}  // namespace tesmera
