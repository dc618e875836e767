// SPDX-License-Identifier: GPL-3.0-or-later
// The arithmetic behind the recording window's pictures: which samples fall
// under which pixel column, and which cycle lies under a point. Kept out of
// the painting so tests can check it without drawing.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

#include "recording/SampleEnvelope.h"
#include "recording/voice_report.h"

namespace tesmera {

// Maps sample positions [first, end) (fractional positions allowed) onto
// pixel columns [left, left + width): position `first` is at the left edge
// of column `left`, position `end` at the right edge of the last column.
class SampleAxis {
  public:
    SampleAxis(double first, double end, int left, int width);

    double ToX(double sample) const;
    double ToSample(double x) const;
    double First() const { return first_; }
    double End() const { return end_; }
    int Left() const { return left_; }
    int Width() const { return width_; }  // at least 1

  private:
    double first_;
    double end_;
    int left_;
    int width_;
};

// The lowest and highest sample under one pixel column.
using ColumnRange = ValueRange;

// One range per column of `axis`, over the whole samples whose positions
// lie in that column, so a signal far longer than the width still shows
// every peak. A column that holds no sample position (a short signal spread
// wide) takes the sample just left of it. `samples` are the positions
// [first, first + samples.size()); positions outside them are left out, and
// a column with none at all is {0, 0}.
std::vector<ColumnRange> ColumnExtremes(std::span<const double> samples, std::size_t first,
                                        const SampleAxis& axis);

// The same columns drawn from an outline: a column takes every bucket that
// holds one of its sample positions. With buckets of one sample it is
// ColumnExtremes of the samples; longer ones can widen a column's range by
// what lies within a bucket's length beyond its edges.
std::vector<ColumnRange> EnvelopeColumns(const SampleEnvelope& envelope, const SampleAxis& axis);

// The index of the cycle whose [StartSample, EndSample) holds `sample`;
// nothing before the first or after the last.
std::optional<std::size_t> CycleAt(std::span<const ReportedCycle> cycles, double sample);

// Ticks of a time axis over `seconds` drawn `width` pixels wide: every
// multiple of the shortest of 1, 2 and 5 times a power of ten that keeps
// them `spacing` pixels apart, from 0; `Step` tells how many decimals a
// label needs.
struct TimeTicks {
    double Step = 1;
    std::vector<double> Seconds;
};
TimeTicks TimeAxisTicks(double seconds, int width, int spacing);

}  // namespace tesmera
