// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/axis_ticks.h"

#include <algorithm>
#include <cmath>

namespace tesmera {

namespace {

// An axis with this many labels or more draws none (nor ticks or grid).
constexpr double MaxValueLabels = 10000;

// The lowest value label survives the rounding of repeated subtraction: the
// limit lies a little below RangeMin for RangeMin >= 0.
double LowestLabelLimit(double rangeMin) {
    return (rangeMin - 1e-12) / 1.000000000001;
}

// Far from zero an increment can be lost in the value's rounding; the
// stepping then stops instead of repeating the same label for ever.
bool StepDown(double& value, double increment) {
    const double next = value - increment;
    const bool moved = next != value;
    value = next;
    return moved;
}

bool IsKept(const AxisTickInputs& inputs, int pixel) {
    return inputs.LabelsOnAxis ||
           (pixel > inputs.Scale.StartPixel && pixel < inputs.Scale.EndPixel);
}

}  // namespace

QString TickText(const AxisTickInputs& inputs, double value) {
    return FormatAxisValue(value, inputs.Format, inputs.Separators);
}

double TickIncrement(const AxisTickInputs& inputs, int axisLength) {
    const AxisScale& scale = inputs.Scale;
    const int labelSize = std::max(inputs.LabelSize(TickText(inputs, scale.RangeMin)),
                                   inputs.LabelSize(TickText(inputs, scale.RangeMax)));
    return ChooseIncrement({labelSize, axisLength, inputs.LabelsSeparation, inputs.Increment,
                            scale.RangeMax - scale.RangeMin});
}

double RoundedToIncrement(double value, double increment) {
    const double rounded = std::trunc(value / increment) * increment;
    return std::isfinite(rounded) ? rounded : value;
}

AxisTicks ValueTicks(const AxisTickInputs& inputs) {
    const AxisScale& scale = inputs.Scale;
    AxisTicks result{TickIncrement(inputs, scale.Length()), {}};
    const double increment = result.Increment;
    if (scale.RangeMax < scale.RangeMin ||
        std::abs((scale.RangeMax - scale.RangeMin) / increment) >= MaxValueLabels) {
        return result;
    }
    double value = scale.RangeMax;
    if (scale.RangeMin != scale.RangeMax && inputs.RoundFirstLabel) {
        value = RoundedToIncrement(value, increment);
    }
    while (value > scale.RangeMax) {
        if (!StepDown(value, increment)) {
            return result;
        }
    }
    const double limit = LowestLabelLimit(scale.RangeMin);
    while (value >= limit) {
        const int pixel = scale.PixelOf(value);
        if (IsKept(inputs, pixel)) {
            result.Ticks.push_back({value, pixel, TickText(inputs, value)});
        }
        if (!StepDown(value, increment)) {
            return result;
        }
    }
    return result;
}

}  // namespace tesmera
