// SPDX-License-Identifier: GPL-3.0-or-later
// The lag at which a correlation peaks, found cheaply: a coarse grid, a
// climb to the neighbouring peak sample by sample, and a parabola through
// the peak and its neighbours. Shared by the cycle marks and the
// harmonicity, whose correlation peaks are many samples wide.
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
// (inclusive; lowest <= highest), first tried every `step` lags, then
// climbed to the peak one lag at a time (never outside lowest − 1 ..
// highest + 1) and refined by a parabola. When the values still rise
// beyond an end of the range, that end is returned unrefined.
LagPeak FindLagPeak(std::ptrdiff_t lowest, std::ptrdiff_t highest, std::ptrdiff_t step,
                    const std::function<double(std::ptrdiff_t lag)>& correlation);

}  // namespace tesmera
