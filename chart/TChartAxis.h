// SPDX-License-Identifier: GPL-3.0-or-later
// One axis of the chart: it maps values to pixels along one edge of the plot
// area, takes its range from the series drawn against it and chooses the
// distance between its value labels. The settings are the axis' published
// properties; the working fields are recomputed in every frame by the layout.
#pragma once

#include <QString>

#include "chart/TChangeNotifier.h"
#include "chart/TChartFont.h"
#include "chart/TChartPen.h"
#include "chart/axis_scale.h"
#include "chart/label_format.h"

namespace tesmera {

class TCustomAxisPanel;

// Which edge of the plot area an axis runs along; fixed at creation.
enum class AxisPlace { Bottom, Top, Left, Right, Depth };

// How an axis labels itself: automatic, no labels, its values, the series'
// mark texts or the series' point labels.
enum TAxisLabelStyle { talAuto, talNone, talValue, talMark, talText };

class TCustomChartAxis : protected TChangeNotifier {
  public:
    // `chart` (not owned, may be null for a free-standing axis) is asked to
    // repaint when a setting changes, and supplies the series of the axis.
    TCustomChartAxis(TCustomAxisPanel* chart, AxisPlace place);
    virtual ~TCustomChartAxis() = default;
    TCustomChartAxis(const TCustomChartAxis&) = delete;
    TCustomChartAxis& operator=(const TCustomChartAxis&) = delete;

    TCustomAxisPanel* ParentChart() const { return chart_; }
    AxisPlace Place() const { return place_; }
    bool IsHorizontal() const { return place_ == AxisPlace::Bottom || place_ == AxisPlace::Top; }
    bool IsOtherSide() const {
        return place_ == AxisPlace::Top || place_ == AxisPlace::Right || place_ == AxisPlace::Depth;
    }
    bool IsDepth() const { return place_ == AxisPlace::Depth; }

    // --- Range settings. Setting Automatic sets both AutomaticMinimum and
    // AutomaticMaximum; turning either of those off turns Automatic off, and
    // turning one on turns Automatic on when the other is already on.
    bool Automatic() const { return automatic_; }
    void SetAutomatic(bool automatic);
    bool AutomaticMinimum() const { return automaticMinimum_; }
    void SetAutomaticMinimum(bool automatic);
    bool AutomaticMaximum() const { return automaticMaximum_; }
    void SetAutomaticMaximum(bool automatic);
    // Written back by every layout while the matching automatic flag is on.
    double Minimum() const { return minimum_; }
    void SetMinimum(double minimum) { SetAndNotify(minimum_, minimum); }
    double Maximum() const { return maximum_; }
    void SetMaximum(double maximum) { SetAndNotify(maximum_, maximum); }
    // A fixed range (the zoom): the automatic flags go off, the values are put
    // in order and kept at least 1e-10 apart.
    void SetAxisRange(double low, double high);
    // The distance between value labels to start the search from; 0 is
    // automatic.
    double Increment() const { return increment_; }
    void SetIncrement(double increment) { SetAndNotify(increment_, increment); }
    // Larger values towards the left (horizontal) or the bottom (vertical).
    bool Inverted() const { return inverted_; }
    void SetInverted(bool inverted) { SetAndNotify(inverted_, inverted); }
    bool Visible() const { return visible_; }
    void SetVisible(bool visible) { SetAndNotify(visible_, visible); }
    // Where the axis starts and ends, in percent of the plot area's side.
    double StartPosition() const { return startPosition_; }
    void SetStartPosition(double percent) { SetAndNotify(startPosition_, percent); }
    double EndPosition() const { return endPosition_; }
    void SetEndPosition(double percent) { SetAndNotify(endPosition_, percent); }

    // --- Label settings.
    bool Labels() const { return labels_; }
    void SetLabels(bool labels) { SetAndNotify(labels_, labels); }
    // Labels whose position lies outside the axis ends are drawn too.
    bool LabelsOnAxis() const { return labelsOnAxis_; }
    void SetLabelsOnAxis(bool onAxis) { SetAndNotify(labelsOnAxis_, onAxis); }
    // Free room between labels, in percent of a label's size; 0 turns the
    // increment search off.
    int LabelsSeparation() const { return labelsSeparation_; }
    void SetLabelsSeparation(int percent) { SetAndNotify(labelsSeparation_, percent); }
    // Pixels kept for the labels across the axis; 0 measures them.
    int LabelsSize() const { return labelsSize_; }
    void SetLabelsSize(int pixels) { SetAndNotify(labelsSize_, pixels); }
    TAxisLabelStyle LabelStyle() const { return labelStyle_; }
    void SetLabelStyle(TAxisLabelStyle style) { SetAndNotify(labelStyle_, style); }
    // The picture of value labels, e.g. "#,##0.00".
    const QString& AxisValuesFormat() const { return axisValuesFormat_; }
    void SetAxisValuesFormat(const QString& format) { SetAndNotify(axisValuesFormat_, format); }
    // The first value label sits on a whole multiple of the increment.
    bool RoundFirstLabel() const { return roundFirstLabel_; }
    void SetRoundFirstLabel(bool round) { SetAndNotify(roundFirstLabel_, round); }

    // The font of the labels.
    TChartFont& LabelsFont() { return labelsFont_; }
    const TChartFont& LabelsFont() const { return labelsFont_; }

    // --- Lines. Changes of a pen repaint the chart.
    // The axis line along the plot area's edge.
    TChartAxisPen& Axis() { return axisPen_; }
    const TChartAxisPen& Axis() const { return axisPen_; }
    // Ticks outside the plot area, at the labels.
    TDarkGrayPen& Ticks() { return ticks_; }
    const TDarkGrayPen& Ticks() const { return ticks_; }
    // Ticks on the plot side of the axis line.
    TDarkGrayPen& TicksInner() { return ticksInner_; }
    const TDarkGrayPen& TicksInner() const { return ticksInner_; }
    TDarkGrayPen& MinorTicks() { return minorTicks_; }
    const TDarkGrayPen& MinorTicks() const { return minorTicks_; }
    // Grid lines across the plot area; clDefault draws them gray.
    TDottedGrayPen& Grid() { return grid_; }
    const TDottedGrayPen& Grid() const { return grid_; }

    // --- Tick and grid settings (lengths in pixels).
    int TickLength() const { return tickLength_; }
    void SetTickLength(int pixels) { SetAndNotify(tickLength_, pixels); }
    int TickInnerLength() const { return tickInnerLength_; }
    void SetTickInnerLength(int pixels) { SetAndNotify(tickInnerLength_, pixels); }
    int MinorTickLength() const { return minorTickLength_; }
    void SetMinorTickLength(int pixels) { SetAndNotify(minorTickLength_, pixels); }
    // Ticks and grid lines only where a label is actually drawn.
    bool TickOnLabelsOnly() const { return tickOnLabelsOnly_; }
    void SetTickOnLabelsOnly(bool only) { SetAndNotify(tickOnLabelsOnly_, only); }
    // Grid lines midway between the label positions instead of on them.
    bool GridCentered() const { return gridCentered_; }
    void SetGridCentered(bool centered) { SetAndNotify(gridCentered_, centered); }

    // --- Working fields of the current frame.
    double RangeMin() const { return rangeMin_; }
    double RangeMax() const { return rangeMax_; }
    double RangeSpan() const { return rangeSpan_; }
    // Sets RangeMin, RangeMax and RangeSpan as given (no reordering).
    void SetRange(double rangeMin, double rangeMax);
    // Pixel coordinates of the axis ends along its direction: left and right
    // for a horizontal axis, top and bottom for a vertical one.
    int StartPixel() const { return startPixel_; }
    int EndPixel() const { return endPixel_; }
    int AxisLength() const { return endPixel_ - startPixel_; }
    int CenterPixel() const { return (startPixel_ + endPixel_) / 2; }
    void SetPixels(int startPixel, int endPixel);
    // Across the axis: where its line runs and where its labels are anchored.
    int AxisLinePos() const { return axisLinePos_; }
    void SetAxisLinePos(int pixel) { axisLinePos_ = pixel; }
    int LabelsPos() const { return labelsPos_; }
    void SetLabelsPos(int pixel) { labelsPos_ = pixel; }

    // The range of the frame: while automatic, Minimum and/or Maximum are
    // taken from the series again (and kept, without a repaint request); then
    // RangeMin and RangeMax are set to them.
    void ComputeRange();

    // The range and pixels of the frame, with the axis' direction.
    AxisScale Scale() const;
    // The pixel of a value by Scale().
    int ValueToPixel(double value) const { return Scale().PixelOf(value); }
    // The value at a pixel; 0 while the axis has no length.
    double PixelToValue(int pixel) const;

    // The separators of the parent chart; "." and "," on a free-standing axis.
    NumberSeparators LabelSeparators() const;
    // The label text of a value by AxisValuesFormat and LabelSeparators.
    QString LabelText(double value) const;

  protected:
    void InvalidateChart() const;

  private:
    TCustomAxisPanel* chart_;
    AxisPlace place_;

    bool automatic_ = true;
    bool automaticMinimum_ = true;
    bool automaticMaximum_ = true;
    double minimum_ = 0;
    double maximum_ = 0;
    double increment_ = 0;
    bool inverted_ = false;
    bool visible_;
    double startPosition_ = 0;
    double endPosition_ = 100;

    bool labels_ = true;
    bool labelsOnAxis_ = true;
    int labelsSeparation_ = 10;
    int labelsSize_ = 0;
    TAxisLabelStyle labelStyle_ = talAuto;
    QString axisValuesFormat_;
    bool roundFirstLabel_ = true;
    TChartFont labelsFont_ = DefaultChartFont();

    TChartAxisPen axisPen_;
    TDarkGrayPen ticks_;
    TDarkGrayPen ticksInner_;
    TDarkGrayPen minorTicks_;
    TDottedGrayPen grid_;

    int tickLength_ = 4;
    int tickInnerLength_ = 0;
    int minorTickLength_ = 2;
    bool tickOnLabelsOnly_ = true;
    bool gridCentered_ = false;

    double rangeMin_ = 0;
    double rangeMax_ = 0;
    double rangeSpan_ = 0;
    int startPixel_ = 0;
    int endPixel_ = 0;
    int axisLinePos_ = 0;
    int labelsPos_ = 0;
};

// The axis class the chart creates for each of its five axes.
class TChartAxis : public TCustomChartAxis {
  public:
    using TCustomChartAxis::TCustomChartAxis;
};

}  // namespace tesmera
