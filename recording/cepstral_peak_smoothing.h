// SPDX-License-Identifier: GPL-3.0-or-later
// Moving means for smoothing a cepstrogram along time or quefrency: each
// value becomes the mean of the sampled curve over a window around it.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

namespace tesmera {

// The means of a curve given by `count` samples at positions 0..count−1 (in
// sample units), each over [i − halfWidth, i + halfWidth]. The curve is
// linear between neighbouring samples and constant for half a sample beyond
// the first and the last; it is only defined on [lowest, highest] within
// that, and each mean is the curve's area over the part of the window where
// it is defined, divided by that part's length. A window that meets none of
// it leaves the value as it was.
class MovingMean {
  public:
    MovingMean(std::size_t count, double halfWidth, double lowest, double highest);

    std::size_t Count() const { return spans_.size(); }

    // out[i] = the mean around i of `values` (Count() values each).
    void Apply(std::span<const double> values, std::span<double> out) const;

    // The same across rows, for row i only: `out` (`width` values) is the
    // mean around i of the Count() rows of `width` values in `rows`, column
    // by column.
    void ApplyToRow(std::size_t i, std::span<const double> rows, std::size_t width,
                    std::span<double> out) const;

  private:
    struct Span {
        std::size_t First = 0;
        std::vector<double> Weights;  // of samples First, First + 1, ...
    };
    static Span WeightsOver(std::size_t count, double from, double to);

    std::vector<Span> spans_;
};

}  // namespace tesmera
