// SPDX-License-Identifier: GPL-3.0-or-later
// The peak prominence of one smoothed power cepstrum: how far, in dB, its
// highest point between the quefrencies of the highest and the lowest
// voice searched stands above a straight line fitted to the whole of it.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

namespace tesmera {

// Not thread-safe (it keeps its working rows between calls): use one
// object per thread.
class CepstralPeakProminence {
  public:
    // `quefrencyStep`: seconds between the cepstra's values.
    explicit CepstralPeakProminence(double quefrencyStep);

    // `powers`: a power cepstrum, value i at quefrency i · quefrencyStep.
    // In dB, a straight line is fitted to every value but the first by
    // Theil's incomplete method (the median slope between the first and the
    // second half of the points, then the median intercept); the result is
    // the highest point above that line (values below it count as 0 dB)
    // between the quefrencies 1 / cpps::PeakSearchCeiling and
    // 1 / cpps::PeakSearchFloor: an end of that range, or a local maximum
    // refined by a parabola through it and its neighbours.
    double Of(std::span<const double> powers);

  private:
    struct Line {
        double Slope = 0;
        double Intercept = 0;
    };
    Line RobustLine();

    double step_;
    std::size_t from_;  // the peak search's range, indices
    std::size_t to_;
    std::vector<double> heights_;  // dB
    std::vector<double> scratch_;
};

}  // namespace tesmera
