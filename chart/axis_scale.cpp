// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/axis_scale.h"

#include <algorithm>
#include <cmath>

namespace tesmera {

namespace {

// Label counts at or beyond this cannot be rounded to a 32-bit integer.
constexpr double LabelCountLimit = 2147483647.0;

// Offsets at or beyond this from the axis start cannot be rounded to a pixel.
constexpr double PixelOffsetLimit = 2147483647.0;

// Mantissas this close to a rung count as the rung, so that a value that
// carries a little rounding noise (1.0000000000000006e-12) is not mistaken for
// a point between rungs.
constexpr double RungTolerance = 1e-9;

// 10^exponent, correctly rounded for the exponents the ladder meets.
double ScaleByDecade(double rung, int exponent) {
    return exponent >= 0 ? rung * std::pow(10.0, exponent) : rung / std::pow(10.0, -exponent);
}

}  // namespace

int RoundHalfEven(long double value) {
    return static_cast<int>(std::nearbyintl(value));
}

int RoundHalfEven(double value) {
    return static_cast<int>(std::nearbyint(value));
}

int AxisScale::PixelOf(double value) const {
    const double span = RangeMax - RangeMin;
    if (span == 0) {
        return CenterPixel();
    }
    const double offset = (value - RangeMin) * Length() / span;
    if (!(std::abs(offset) < PixelOffsetLimit)) {  // also catches a NaN
        return CenterPixel();
    }
    const int rounded = RoundHalfEven(offset);
    return Horizontal != Inverted ? StartPixel + rounded : EndPixel - rounded;
}

double NextIncrementStep(double x) {
    // The decade is found once instead of scaling x by 10 or 0.1 repeatedly,
    // whose accumulated rounding would keep a value such as 1e-12 on its rung.
    int exponent = static_cast<int>(std::floor(std::log10(x)));
    double mantissa = x / ScaleByDecade(1.0, exponent);
    if (mantissa >= 10.0 - RungTolerance) {
        ++exponent;
        mantissa /= 10.0;
    } else if (mantissa < 1.0) {
        --exponent;
        mantissa *= 10.0;
    }
    if (mantissa < 2.0 - RungTolerance) {
        return ScaleByDecade(2.0, exponent);
    }
    if (mantissa < 5.0 - RungTolerance) {
        return ScaleByDecade(5.0, exponent);
    }
    return ScaleByDecade(1.0, exponent + 1);
}

int MaxLabelCount(int labelSize, int axisLength, int labelsSeparation) {
    if (labelSize <= 0) {
        return 1;
    }
    int spacing = labelSize;
    if (labelsSeparation > 0) {
        spacing += RoundHalfEven(labelsSeparation * 0.01 * labelSize);
    }
    return RoundHalfEven(static_cast<double>(axisLength) / spacing);
}

double ChooseIncrement(const IncrementInputs& inputs) {
    const int maxLabels =
        MaxLabelCount(inputs.LabelSize, inputs.AxisLength, inputs.LabelsSeparation);
    if (maxLabels < 1) {
        return MinimumIncrement;
    }
    double increment = inputs.Increment;
    if (increment <= 0) {
        increment = std::abs(inputs.RangeSpan) >= 1 ? 1.0 : MinimumIncrement;
    }
    if (inputs.LabelsSeparation > 0) {
        int labelCount = maxLabels + 1;
        while (labelCount > maxLabels) {
            const double quotient = inputs.RangeSpan / increment;
            if (std::abs(quotient) < LabelCountLimit) {
                labelCount = RoundHalfEven(quotient);
                if (labelCount > maxLabels) {
                    increment = NextIncrementStep(increment);
                }
            } else {
                increment = NextIncrementStep(increment);
            }
        }
    }
    return std::max(increment, MinimumIncrement);
}

}  // namespace tesmera
