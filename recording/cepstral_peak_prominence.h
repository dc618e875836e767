// SPDX-License-Identifier: GPL-3.0-or-later
// The peak prominence of one smoothed power cepstrum: how far, in dB, its
// highest point between the quefrencies of the highest and the lowest
// voice searched stands above a straight line fitted to the whole of it.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <vector>

namespace tesmera {

// The median of rows of a few hundred values, found in about one pass over
// them, fastest when each row is much like the one before. Not thread-safe
// (it keeps its working row and the last row's middle between calls).
class MedianSelection {
  public:
    // The middle value of an odd count is both Lower and Upper.
    struct Middle {
        double Lower;
        double Upper;
    };
    // The middle values of `values` (not empty), reordering them: exactly
    // those a full sort would put in the middle.
    Middle Of(std::span<double> values);

  private:
    struct Bracket {
        double Low;
        double High;
    };
    Bracket SampledBracket(std::span<const double> values);
    // The middle values of `values` when `bracket` holds them (and the next
    // row's bracket around them), else nothing.
    std::optional<Middle> Within(std::span<const double> values, Bracket bracket);

    static constexpr std::size_t SampleSize = 32;
    static constexpr std::size_t BracketHalfWidth = 3;  // sample ranks
    static constexpr double TargetGathered = 32;
    std::array<double, SampleSize> sample_{};
    std::optional<Bracket> next_;
    std::vector<double> within_;
};

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
    // ln(power) = Slope · quefrency + Intercept, quefrency in seconds.
    struct Line {
        double Slope = 0;
        double Intercept = 0;
    };
    Line RobustLine();
    void RemoveSlope(double slope);

    double step_;
    std::size_t from_;  // the peak search's range, indices
    std::size_t to_;
    std::vector<double> powers_;    // kept from 1e-30 up
    std::vector<double> overLine_;  // powers without the fitted line's slope (RemoveSlope)
    std::vector<double> heights_;   // dB above the line, from the search range's neighbour
    std::vector<double> scratch_;
    MedianSelection slopeMedian_;  // each follows its own median from frame to frame
    MedianSelection interceptMedian_;
};

}  // namespace tesmera
