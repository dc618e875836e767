// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/cepstral_peak_prominence.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>

#include "recording/cepstral_peak.h"

namespace tesmera {

namespace {

// The values of ranks `lower` and `upper` (lower ≤ upper ≤ lower + 1) of
// `values`, reordered.
MedianSelection::Middle RanksOf(std::span<double> values, std::size_t lower, std::size_t upper) {
    const auto at = values.begin() + static_cast<std::ptrdiff_t>(upper);
    std::nth_element(values.begin(), at, values.end());
    return {lower == upper ? *at : *std::max_element(values.begin(), at), *at};
}

}  // namespace

// A row's middle values lie in a bracket taken either from the last row's
// (the rows of consecutive frames differ little) or from a sample of a few
// dozen values spread over the row. One pass counts the values below the
// bracket and gathers those within it, so that the exact selection runs on
// a few of the values only; when the bracket misses the middle, the next
// one is tried, and at last the whole row is selected from.
MedianSelection::Middle MedianSelection::Of(std::span<double> values) {
    const std::size_t n = values.size();
    if (n < 4 * SampleSize) {
        return RanksOf(values, (n - 1) / 2, n / 2);
    }
    if (next_) {
        if (const std::optional<Middle> middle = Within(values, *next_)) {
            return *middle;
        }
    }
    if (const std::optional<Middle> middle = Within(values, SampledBracket(values))) {
        return *middle;
    }
    next_.reset();
    return RanksOf(values, (n - 1) / 2, n / 2);
}

// The sample's values a few ranks on either side of its middle: a fifth of
// the row lies between them, give or take.
MedianSelection::Bracket MedianSelection::SampledBracket(std::span<const double> values) {
    for (std::size_t i = 0; i < SampleSize; ++i) {
        sample_[i] = values[i * values.size() / SampleSize];
    }
    const auto low = sample_.begin() + SampleSize / 2 - BracketHalfWidth - 1;
    const auto high = sample_.begin() + SampleSize / 2 + BracketHalfWidth;
    std::nth_element(sample_.begin(), low, sample_.end());
    std::nth_element(low + 1, high, sample_.end());
    return {*low, *high};
}

std::optional<MedianSelection::Middle> MedianSelection::Within(std::span<const double> values,
                                                               Bracket bracket) {
    const std::size_t n = values.size();
    within_.resize(n);
    std::size_t below = 0;
    std::size_t gathered = 0;
    for (const double v : values) {  // without branches: the outcome is a coin toss
        within_[gathered] = v;
        gathered += static_cast<std::size_t>((v >= bracket.Low) & (v <= bracket.High));
        below += static_cast<std::size_t>(v < bracket.Low);
    }
    const std::size_t lower = (n - 1) / 2;
    const std::size_t upper = n / 2;
    if (below > lower || upper >= below + gathered) {
        return std::nullopt;
    }
    const Middle middle = RanksOf(std::span(within_).first(gathered), lower - below, upper - below);
    // The next row's bracket: around this middle, its width scaled towards
    // gathering TargetGathered values.
    const double scale = std::clamp(TargetGathered / static_cast<double>(gathered), 0.5, 2.0);
    const double half = 0.5 * (bracket.High - bracket.Low) * scale;
    next_ = Bracket{middle.Lower - half, middle.Upper + half};
    return middle;
}

namespace {

constexpr double DecibelsPerNeper = 10 / std::numbers::ln10;  // of a power ratio

// The median of the natural logarithms of values whose middle ones are
// `middle`: the logarithm is monotonic, so only those two are taken.
double LogarithmicMedian(MedianSelection::Middle middle) {
    return 0.5 * (std::log(middle.Lower) + std::log(middle.Upper));
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

// Theil's incomplete method on points (i·step, ln powers_[i]), i ≥ 1: the
// median of the slopes from each point of the first half to its partner
// in the second, then the median of the intercepts that slope leaves. Both
// medians are taken of powers, not of their logarithms: the slopes' of the
// power ratios of the pairs, the intercepts' of the powers without the
// line's slope, so that a frame takes four logarithms, not hundreds.
CepstralPeakProminence::Line CepstralPeakProminence::RobustLine() {
    const std::size_t first = 1;  // quefrency 0 is never fitted
    const std::size_t points = powers_.size() - first;
    const std::size_t pairs = points / 2;
    const std::size_t offset = points - pairs;  // the middle point of an odd count pairs with none
    scratch_.resize(points);
    const std::span<double> ratios(scratch_.data(), pairs);
    for (std::size_t i = 0; i < pairs; ++i) {
        const std::size_t a = first + i;
        ratios[i] = powers_[a + offset] / powers_[a];
    }
    Line line;
    line.Slope = LogarithmicMedian(slopeMedian_.Of(ratios)) / (static_cast<double>(offset) * step_);
    RemoveSlope(line.Slope);
    std::copy(overLine_.begin() + first, overLine_.end(), scratch_.begin());
    line.Intercept = LogarithmicMedian(interceptMedian_.Of(scratch_));
    return line;
}

// overLine_[i] = powers_[i] · e^(−slope·i·step), by successive products
// rather than one exponential per point, in two interleaved chains (odd and
// even i): their rounding errors add up to a few parts in 10^14 over a row.
void CepstralPeakProminence::RemoveSlope(double slope) {
    const double perPoint = std::exp(-slope * step_);
    const double perPair = perPoint * perPoint;
    double odd = perPoint;
    double even = perPair;
    overLine_.resize(powers_.size());
    overLine_[0] = powers_[0];
    std::size_t i = 1;
    for (; i + 1 < powers_.size(); i += 2, odd *= perPair, even *= perPair) {
        overLine_[i] = powers_[i] * odd;
        overLine_[i + 1] = powers_[i + 1] * even;
    }
    if (i < powers_.size()) {
        overLine_[i] = powers_[i] * odd;
    }
}

double CepstralPeakProminence::Of(std::span<const double> powers) {
    powers_.resize(powers.size());
    std::ranges::transform(powers, powers_.begin(), [](double p) { return p + 1e-30; });
    const Line line = RobustLine();
    // Only the search range and its neighbours are looked at: their heights
    // above the line, in dB, values below it counting as 0.
    const double belowIntercept = std::exp(-line.Intercept);
    const std::size_t to = std::min(to_, powers_.size() - 1);
    const std::size_t first = from_ > 0 ? from_ - 1 : 0;
    const std::span<double> ratios =
        std::span(overLine_).subspan(first, std::min(to + 2, powers_.size()) - first);
    for (double& ratio : ratios) {
        ratio = std::max(1.0, ratio * belowIntercept);
    }
    heights_.clear();
    for (const double ratio : ratios) {
        heights_.push_back(DecibelsPerNeper * std::log(ratio));
    }
    return HighestPeak(heights_, from_ - first, to - first);
}

}  // namespace tesmera
