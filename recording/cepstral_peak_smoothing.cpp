// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/cepstral_peak_smoothing.h"

#include <algorithm>
#include <cmath>

namespace tesmera {

MovingMean::MovingMean(std::size_t count, double halfWidth, double lowest, double highest) {
    const double first = std::max(lowest, -0.5);
    const double last = std::min(highest, static_cast<double>(count) - 0.5);
    spans_.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const auto centre = static_cast<double>(i);
        spans_.push_back(WeightsOver(count, std::max(centre - halfWidth, first),
                                     std::min(centre + halfWidth, last)));
    }
}

// The weights that give the curve's mean over [from, to], an interval
// within [−0.5, count − 0.5]: the constant half samples at both ends, and in
// between, on each stretch [k, k + 1] it covers from k + u0 to k + u1, the
// area of the line from sample k to sample k + 1, shared between them as
// ∫(1 − u) du and ∫u du.
MovingMean::Span MovingMean::WeightsOver(std::size_t count, double from, double to) {
    Span span;
    if (!(to > from)) {
        return span;
    }
    const double end = static_cast<double>(count - 1);
    const auto firstIndex = static_cast<std::size_t>(std::clamp(std::floor(from), 0.0, end));
    const auto lastIndex = static_cast<std::size_t>(std::clamp(std::ceil(to), 0.0, end));
    span.First = firstIndex;
    span.Weights.assign(lastIndex - firstIndex + 1, 0.0);
    auto weight = [&](std::size_t index) -> double& { return span.Weights[index - firstIndex]; };

    if (from < 0) {
        weight(0) += std::min(to, 0.0) - from;  // the constant half sample on the left
    }
    if (to > end) {
        weight(lastIndex) += to - std::max(from, end);  // and on the right
    }
    for (std::size_t k = firstIndex; k < lastIndex; ++k) {
        const auto left = static_cast<double>(k);
        const double u0 = std::max(from, left) - left;
        const double u1 = std::min(to, left + 1) - left;
        if (u1 > u0) {
            const double rising = 0.5 * (u1 * u1 - u0 * u0);
            weight(k) += (u1 - u0) - rising;
            weight(k + 1) += rising;
        }
    }
    for (double& w : span.Weights) {
        w /= to - from;
    }
    return span;
}

void MovingMean::Apply(std::span<const double> values, std::span<double> out) const {
    for (std::size_t i = 0; i < spans_.size(); ++i) {
        const Span& span = spans_[i];
        if (span.Weights.empty()) {
            out[i] = values[i];
            continue;
        }
        double sum = 0;
        for (std::size_t k = 0; k < span.Weights.size(); ++k) {
            sum += span.Weights[k] * values[span.First + k];
        }
        out[i] = sum;
    }
}

void MovingMean::ApplyToRow(std::size_t i, std::span<const double> rows, std::size_t width,
                            std::span<double> out) const {
    const Span& span = spans_[i];
    if (span.Weights.empty()) {
        std::ranges::copy(rows.subspan(i * width, width), out.begin());
        return;
    }
    std::ranges::fill(out.first(width), 0.0);
    for (std::size_t k = 0; k < span.Weights.size(); ++k) {
        const double w = span.Weights[k];
        const double* source = rows.data() + (span.First + k) * width;
        for (std::size_t j = 0; j < width; ++j) {
            out[j] += w * source[j];
        }
    }
}

}  // namespace tesmera
