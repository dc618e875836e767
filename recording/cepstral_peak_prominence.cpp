// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/cepstral_peak_prominence.h"

#include <algorithm>
#include <cmath>

#include "recording/cepstral_peak.h"

namespace tesmera {

namespace {

double Median(std::span<double> values) {
    const std::size_t middle = values.size() / 2;
    const auto upper = values.begin() + static_cast<std::ptrdiff_t>(middle);
    std::nth_element(values.begin(), upper, values.end());
    if (values.size() % 2 == 1) {
        return *upper;
    }
    return 0.5 * (*std::max_element(values.begin(), upper) + *upper);
}

// The highest value of `heights` over [from, to] (indices): the end points,
// or a local maximum (higher than the point before, not lower than the one
// after) refined by a parabola through it and its neighbours.
double HighestPeak(std::span<const double> heights, std::size_t from, std::size_t to) {
    double highest = std::max(heights[from], heights[to]);
    for (std::size_t i = std::max<std::size_t>(from, 1); i <= to && i + 1 < heights.size(); ++i) {
        const double before = heights[i - 1];
        const double after = heights[i + 1];
        if (heights[i] > before && heights[i] >= after) {
            const double slope = 0.5 * (after - before);
            const double curvature = 2 * heights[i] - before - after;
            highest = std::max(highest, heights[i] + 0.5 * slope * slope / curvature);
        }
    }
    return highest;
}

}  // namespace

CepstralPeakProminence::CepstralPeakProminence(double quefrencyStep)
    : step_(quefrencyStep),
      from_(static_cast<std::size_t>(std::ceil(1 / cpps::PeakSearchCeiling / quefrencyStep))),
      to_(static_cast<std::size_t>(std::floor(1 / cpps::PeakSearchFloor / quefrencyStep))) {}

// Theil's incomplete method on points (i·step, heights_[i]), i ≥ 1: the
// median of the slopes from each point of the first half to its partner
// in the second, then the median of the intercepts that slope leaves.
CepstralPeakProminence::Line CepstralPeakProminence::RobustLine() {
    const std::size_t first = 1;  // quefrency 0 is never fitted
    const std::size_t points = heights_.size() - first;
    const std::size_t pairs = points / 2;
    const std::size_t offset = points - pairs;  // the middle point of an odd count pairs with none
    scratch_.resize(points);
    const std::span<double> slopes(scratch_.data(), pairs);
    for (std::size_t i = 0; i < pairs; ++i) {
        const std::size_t a = first + i;
        slopes[i] = (heights_[a + offset] - heights_[a]) / (static_cast<double>(offset) * step_);
    }
    Line line;
    line.Slope = Median(slopes);
    for (std::size_t i = 0; i < points; ++i) {
        const std::size_t a = first + i;
        scratch_[i] = heights_[a] - line.Slope * static_cast<double>(a) * step_;
    }
    line.Intercept = Median(scratch_);
    return line;
}

double CepstralPeakProminence::Of(std::span<const double> powers) {
    heights_.resize(powers.size());
    std::ranges::transform(powers, heights_.begin(),
                           [](double p) { return 10 * std::log10(p + 1e-30); });
    const Line line = RobustLine();
    // Only the search range and its neighbours are looked at.
    const std::size_t to = std::min(to_, heights_.size() - 1);
    const std::size_t end = std::min(to + 2, heights_.size());
    for (std::size_t i = from_ > 0 ? from_ - 1 : 0; i < end; ++i) {
        const double background = line.Slope * static_cast<double>(i) * step_ + line.Intercept;
        heights_[i] = std::max(0.0, heights_[i] - background);
    }
    return HighestPeak(heights_, from_, to);
}

}  // namespace tesmera
