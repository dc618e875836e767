// SPDX-License-Identifier: GPL-3.0-or-later
// The lag at which a correlation peaks. Found cheaply for the cycle marks,
// whose correlation peaks are many samples wide: a coarse grid, a climb to
// the neighbouring peak sample by sample, and a parabola through the peak
// and its neighbours. Found precisely for the harmonicity, whose figure
// rests on the peak's height to a millionth: the top of a windowed sinc
// interpolation of every lag.
#pragma once

#include <cstddef>
#include <functional>
#include <span>
#include <vector>

namespace tesmera {

// Σ a[i]·b[i], in four interleaved partial sums so the processor can
// overlap the additions.
double DotProduct(const double* a, const double* b, std::size_t count);

// Running sums of squares: Of(first, count) = Σ x[first .. first + count − 1]².
class SquareSums {
  public:
    explicit SquareSums(std::span<const double> x);
    double Of(std::size_t first, std::size_t count) const {
        return sums_[first + count] - sums_[first];
    }

  private:
    std::vector<double> sums_;
};

struct LagPeak {
    double Lag;    // refined between integer lags
    double Value;  // the parabola's top
};

// The highest value of `correlation` over the integer lags lowest..highest
// (inclusive; lowest <= highest), first tried every `step` lags, then at
// every lag within `step` of the best of those, then climbed to the peak one
// lag at a time (never outside lowest − 1 .. highest + 1) and refined by a
// parabola. When the values still rise
// beyond an end of the range, that end is returned unrefined.
LagPeak FindLagPeak(std::ptrdiff_t lowest, std::ptrdiff_t highest, std::ptrdiff_t step,
                    const std::function<double(std::ptrdiff_t lag)>& correlation);

// The value between the samples y[0..n-1] (y[k] at position k) at `x`: a
// sinc interpolation under a raised-cosine window reaching `depth` samples
// to each side, the depth shortened to what both ends of y allow; at depth 1
// a straight line, at depth 2 a cubic through four samples. Outside
// [0, n − 1] the nearest end's sample; at an integer x the sample itself.
double SincInterpolation(std::span<const double> y, double x, std::size_t depth);

// The interpolation depth that makes SincInterpolation exact to about 1e-9
// on a correlation of several hundred lags (it is shortened near the ends).
constexpr std::size_t DeepSincDepth = 700;

// The top of the SincInterpolation of y at `depth` between peak − 1 and
// peak + 1, for a local maximum y[peak] (0 < peak < n − 1): Brent's search,
// to within `tolerance` plus 1.5e-8 of the position (relative), which
// puts the top's value within rounding of the interpolation's.
LagPeak SincPeak(std::span<const double> y, std::size_t peak, std::size_t depth = DeepSincDepth,
                 double tolerance = 1e-10);

}  // namespace tesmera
