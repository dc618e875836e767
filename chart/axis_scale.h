// SPDX-License-Identifier: GPL-3.0-or-later
// The arithmetic behind an axis scale: pixel rounding and the choice of the
// distance between value labels. Plain functions, so that they can be tested
// without a chart.
#pragma once

namespace tesmera {

// Where an axis puts its range: RangeMin at StartPixel of a horizontal axis
// and at EndPixel of a vertical one (pixel rows grow downwards), the other way
// round when Inverted. Pixels are along the axis direction.
struct AxisScale {
    double RangeMin = 0;
    double RangeMax = 0;
    int StartPixel = 0;
    int EndPixel = 0;
    bool Horizontal = true;
    bool Inverted = false;

    int Length() const { return EndPixel - StartPixel; }
    int CenterPixel() const { return (StartPixel + EndPixel) / 2; }
    // The pixel of a value. A range of zero width, or a value too far out to
    // count in 32 bits, maps to CenterPixel.
    int PixelOf(double value) const;
};

// The smallest label increment an axis uses; also the increment of a range
// that has no room for a single label.
constexpr double MinimumIncrement = 1e-12;

// Nearest integer, a half going to the even neighbour (2.5 gives 2): the rule
// for every chart size and position converted to whole pixels.
int RoundHalfEven(long double value);
// The same for a double, which needs no extended-precision rounding: the
// result equals that of the value widened, at a fraction of the cost for the
// thousands of trace points drawn per repaint.
int RoundHalfEven(double value);

// The next rung above x > 0 on the 1-2-5 ladder (1, 2, 5, 10, 20, ...): 1e-12
// gives 2e-12, 3 gives 5. The result is always larger than x.
double NextIncrementStep(double x);

// How many labels of labelSize pixels, widened by labelsSeparation percent,
// fit on an axis of axisLength pixels (1 when the size is not positive).
int MaxLabelCount(int labelSize, int axisLength, int labelsSeparation);

struct IncrementInputs {
    int LabelSize = 0;         // pixels along the axis taken by one label
    int AxisLength = 0;        // pixels
    int LabelsSeparation = 0;  // percent of LabelSize kept free between labels
    double Increment = 0;      // the axis' own setting; 0 means automatic
    double RangeSpan = 0;      // RangeMax - RangeMin
};

// The distance between consecutive value labels: the axis' Increment (or 1, or
// MinimumIncrement for a span below 1) climbed up the 1-2-5 ladder until the
// labels fit. Without a separation the start value is used unchanged.
double ChooseIncrement(const IncrementInputs& inputs);

}  // namespace tesmera
