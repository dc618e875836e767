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
    // The mean around one position: Σ Values[k] · sample[First + k]; no
    // values when it is the sample itself.
    struct Weights {
        std::size_t First = 0;
        std::vector<double> Values;
    };

    MovingMean(std::size_t count, double halfWidth, double lowest, double highest);

    std::size_t Count() const { return count_; }
    // Computed on each call, so that a curve of any length costs no memory.
    Weights At(std::size_t i) const;

  private:
    std::size_t count_;
    double halfWidth_;
    double first_;  // where the curve is defined, in sample units
    double last_;
};

// A moving mean's weights at every position, computed once for a curve
// length that many curves share.
class MovingMeanTable {
  public:
    explicit MovingMeanTable(const MovingMean& mean);

    // out[i] = the mean around i of `values` (the mean's Count() values each).
    void Apply(std::span<const double> values, std::span<double> out) const;

  private:
    // Every position's weights padded with zeros to one length, `stride_`,
    // starting at firsts_[i] (moved back near the end so that they stay
    // inside the curve): the inner loop then has a fixed length.
    std::size_t stride_ = 0;
    std::vector<std::size_t> firsts_;
    std::vector<double> weights_;         // stride_ per position
    std::vector<std::size_t> unchanged_;  // positions whose window met none of the curve

    double Sum(std::size_t i, std::span<const double> values) const;
};

}  // namespace tesmera
