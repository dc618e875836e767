// SPDX-License-Identifier: GPL-3.0-or-later
// Laying out the chart's axes in a frame: their ranges, the room their labels
// and ticks take from the plot area, their pixel positions, and the widening
// of their ranges by the series' pixel margins.
#pragma once

#include "chart/TRect.h"
#include "chart/axis_ticks.h"

namespace tesmera {

class TChartCanvas;
class TCustomAxisPanel;
class TCustomChartAxis;

// The coordinate of the side of `rect` the axis runs along: bottom, top,
// left or right (also for the depth axis).
int EdgeOf(const TRect& rect, const TCustomChartAxis& axis);

// The chart's AxisVisible and the axis' Visible are on, and the axis has
// series (or the chart has no active series at all). The depth axis is never
// shown: the chart is two-dimensional.
bool IsAxisShown(const TCustomChartAxis& axis);

// The axis' range, pixels and label settings as tick inputs. Labels are
// measured in the canvas' current font, which the callers set to the axis'
// LabelsFont; the canvas must outlive the result.
AxisTickInputs TickInputsOf(const TCustomChartAxis& axis, const TChartCanvas& canvas);

// The distance between value labels for the axis' current range and length.
double ComputeIncrement(const TCustomChartAxis& axis, const TChartCanvas& canvas);

// Pixels across the axis taken by its line and ticks.
int TickSpace(const TCustomChartAxis& axis);
// Pixels across the axis taken by its labels (LabelsSize when set). Sets the
// canvas font to LabelsFont. The axis still has the pixels of the previous
// frame, whose length sets the increment of the value labels measured.
int LabelSpace(const TCustomChartAxis& axis, TChartCanvas& canvas);
// The wider of the labels at the ends of the range, plus one blank, with the
// increment of an axis of `axisLength` pixels.
int MaxValueLabelWidth(const TCustomChartAxis& axis, const TChartCanvas& canvas, int axisLength);

// Takes the room of the axis' labels and ticks from `rect` on the axis' side
// and anchors the labels at the new edge (LabelsPos).
void ReserveAxisSpace(TCustomChartAxis& axis, TChartCanvas& canvas, TRect& rect);

// StartPixel and EndPixel along the plot area's side, by StartPosition and
// EndPosition.
void PlaceAxisPixels(TCustomChartAxis& axis, const TRect& plot);

// Every axis, in list order, takes its range from the series.
void ComputeAxisRanges(TCustomAxisPanel& chart);
// The plot area left once every shown axis, in list order, has taken its
// room. A reservation that would leave nothing is ignored.
TRect ReserveAxesSpace(TCustomAxisPanel& chart, TChartCanvas& canvas, const TRect& plot);
// Every axis gets its pixels along the final plot area.
void PlaceAxesPixels(TCustomAxisPanel& chart, const TRect& plot);

// Widens the ranges of the top, left, right and bottom axes (in that order)
// so that the series' margins stay free at the ends, on the same pixels.
void ApplySeriesMargins(TCustomAxisPanel& chart, const TRect& plot);

}  // namespace tesmera
