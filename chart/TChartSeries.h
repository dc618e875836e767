// SPDX-License-Identifier: GPL-3.0-or-later
// The data a chart plots: one position (X) and one value (Y) per point, with a
// label and a colour, kept in step by ValueIndex (0-based). The chart calls
// the virtual operations in fixed orders; each series kind overrides the
// painting and the ranges it reports to the axes.
#pragma once

#include <array>
#include <vector>

#include <QString>

#include "chart/TChangeNotifier.h"
#include "chart/TChartValueList.h"
#include "chart/TSeriesMarks.h"
#include "chart/axis_choice.h"
#include "chart/colors.h"

namespace tesmera {

class TCustomAxisPanel;
class TChartAxis;

// Pixels a series asks the axes to keep free beyond its first and last point.
struct THorizMargins {
    int left = 0;
    int right = 0;
};
struct TVertMargins {
    int top = 0;
    int bottom = 0;
};

class TChartSeries : protected TChangeNotifier {
  public:
    TChartSeries();
    virtual ~TChartSeries() = default;
    TChartSeries(const TChartSeries&) = delete;
    TChartSeries& operator=(const TChartSeries&) = delete;

    // Draws the points FirstShown .. LastShown (none when LastShown is below
    // FirstShown), in the direction DrawsForward gives.
    virtual void DrawPoints();
    // Draws one point; the base series draws nothing.
    virtual void DrawPoint(int valueIndex);

    // The point's own colour, or SeriesColor when it has clDefault or the
    // index has no entry. A null point answers clNone.
    virtual TColor PointColor(int valueIndex) const;
    // Empty when the point has no label or the index has no entry.
    virtual QString PointLabel(int valueIndex) const;
    // Throw ListIndexError outside 0 .. NumPoints() - 1.
    virtual double PointX(int valueIndex) const { return xValues_.ValueAt(valueIndex); }
    virtual double PointY(int valueIndex) const { return yValues_.ValueAt(valueIndex); }

    bool Active() const { return active_; }
    virtual void SetActive(bool active);
    TColor SeriesColor() const { return seriesColor_; }
    virtual void SetSeriesColor(TColor color);

    // Adds a point whose position is the number of points before it and
    // returns its ValueIndex. Never draws; asks for one later repaint.
    virtual int AppendValue(double value, const QString& label, TColor color);
    // Adds a point at an explicit position, kept in XValues' order; returns
    // its ValueIndex. `color` is stored as given (clDefault, clNone included).
    virtual int AddPoint(double x, double y, const QString& label, TColor color);
    // Removes every point and gives back all point storage.
    virtual void ClearPoints();

    // Ranges reported to the axes; 0 for an empty series.
    virtual double HighestX() const { return xValues_.HighestValue(); }
    virtual double HighestY() const { return yValues_.HighestValue(); }
    virtual double LowestX() const { return xValues_.LowestValue(); }
    virtual double LowestY() const { return yValues_.LowestValue(); }

    // Pixel column / row of a point on the resolved axes. Only while the
    // series belongs to a chart.
    virtual int PointScreenX(int valueIndex) const;
    virtual int PointScreenY(int valueIndex) const;
    // The pixel of a plotted value on the axis that shows MainValueList.
    int ValueToScreen(double value) const;
    // The point whose figure in the last frame covers (x, y), or -1; the base
    // series draws no figures, so it has none.
    virtual int Clicked(int /*x*/, int /*y*/) const { return -1; }

    // The list holding the plotted values (YValues here); the other list
    // holds the positions.
    virtual const TChartValueList& MainValueList() const { return yValues_; }
    // True: points are drawn from the first shown to the last shown.
    virtual bool DrawsForward() const { return true; }
    // Pixels asked of the horizontal / vertical axes; none in the base series.
    virtual THorizMargins HorizMargins() { return {}; }
    virtual TVertMargins VertMargins() { return {}; }

    int NumPoints() const { return xValues_.ValueCount(); }

    // Asks the owning chart for a later repaint; does nothing without a chart.
    void RequestRepaint();

    const QString& Title() const { return title_; }
    void SetTitle(const QString& title) { SetAndNotify(title_, title); }
    THorizAxis HorizAxis() const { return horizAxis_; }
    void SetHorizAxis(THorizAxis axis) { SetAndNotify(horizAxis_, axis); }
    TVertAxis VertAxis() const { return vertAxis_; }
    void SetVertAxis(TVertAxis axis) { SetAndNotify(vertAxis_, axis); }
    // False: points with clDefault take SeriesColor, not a palette colour.
    bool ColorEachPoint() const { return colorEachPoint_; }

    TChartValueList& XValues() { return xValues_; }
    const TChartValueList& XValues() const { return xValues_; }
    TChartValueList& YValues() { return yValues_; }
    const TChartValueList& YValues() const { return yValues_; }
    // XValues then YValues.
    std::array<TChartValueList*, 2> ValueLists() { return {&xValues_, &yValues_}; }

    TSeriesMarks& Marks() { return marks_; }
    const TSeriesMarks& Marks() const { return marks_; }

    // The chart the series belongs to (not owned); null while it has none.
    TCustomAxisPanel* ParentChart() const { return parentChart_; }

    // The axis objects that show X and Y; null while the series has no chart.
    TChartAxis* ResolvedHorizAxis() const;
    TChartAxis* ResolvedVertAxis() const;

    // Finds the points whose position lies inside the plot area of the
    // current frame, at its left and right (or bottom and top) edges.
    void ComputeShownRange();
    // The points inside the plot area in the current paint; -1 when none.
    int FirstShown() const { return firstShown_; }
    int LastShown() const { return lastShown_; }

  protected:
    void SetShownRange(int first, int last);

  private:
    friend class TCustomAxisPanel;
    // Called by the chart when the series joins it (chart) or leaves it (null).
    void SetParentChart(TCustomAxisPanel* chart) { parentChart_ = chart; }

    bool active_ = true;
    TColor seriesColor_ = clDefault;
    bool colorEachPoint_ = false;
    std::vector<TColor> pointColors_;
    int firstShown_ = -1;
    int lastShown_ = -1;
    TSeriesMarks marks_;
    TCustomAxisPanel* parentChart_ = nullptr;
    TChartValueList xValues_;
    // An empty text is an absent label.
    std::vector<QString> labels_;
    TChartValueList yValues_;
    THorizAxis horizAxis_ = aBottomAxis;
    TVertAxis vertAxis_ = aLeftAxis;
    QString title_;
};

}  // namespace tesmera
