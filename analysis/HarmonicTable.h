// SPDX-License-Identifier: GPL-3.0-or-later
// Cosines and sines of the N angles 2πj/N (j = 0..N−1) of one period length,
// in double. Harmonic k at sample i has the angle 2πki/N, which equals the
// angle at j = ki mod N up to whole turns, so one table serves every
// harmonic and every sample.
#pragma once

#include <cstdint>
#include <vector>

namespace tesmera {

class HarmonicTable {
  public:
    // Requires N >= 1.
    explicit HarmonicTable(std::int32_t N);

    std::int32_t Size() const { return N_; }
    // Entry j, 0 <= j < N.
    double Cos(std::int32_t j) const { return cos_[static_cast<std::size_t>(j)]; }
    double Sin(std::int32_t j) const { return sin_[static_cast<std::size_t>(j)]; }
    // The N entries in order, for loops that walk them by position.
    const double* CosData() const { return cos_.data(); }
    const double* SinData() const { return sin_.data(); }

  private:
    std::int32_t N_;
    std::vector<double> cos_;
    std::vector<double> sin_;
};

}  // namespace tesmera
