// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/cepstral_peak_smoothing.h"

#include <algorithm>
#include <cmath>

namespace tesmera {

namespace {

// The weights that give the curve's mean over [from, to], an interval
// within [−0.5, count − 0.5]: the constant half samples at both ends, and in
// between, on each stretch [k, k + 1] it covers from k + u0 to k + u1, the
// area of the line from sample k to sample k + 1, shared between them as
// ∫(1 − u) du and ∫u du.
MovingMean::Weights WeightsOver(std::size_t count, double from, double to) {
    MovingMean::Weights weights;
    if (!(to > from)) {
        return weights;
    }
    const double end = static_cast<double>(count - 1);
    const auto firstIndex = static_cast<std::size_t>(std::clamp(std::floor(from), 0.0, end));
    const auto lastIndex = static_cast<std::size_t>(std::clamp(std::ceil(to), 0.0, end));
    weights.First = firstIndex;
    weights.Values.assign(lastIndex - firstIndex + 1, 0.0);
    auto weight = [&](std::size_t index) -> double& { return weights.Values[index - firstIndex]; };

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
    for (double& w : weights.Values) {
        w /= to - from;
    }
    return weights;
}

}  // namespace

MovingMean::MovingMean(std::size_t count, double halfWidth, double lowest, double highest)
    : count_(count),
      halfWidth_(halfWidth),
      first_(std::max(lowest, -0.5)),
      last_(std::min(highest, static_cast<double>(count) - 0.5)) {}

MovingMean::Weights MovingMean::At(std::size_t i) const {
    const auto centre = static_cast<double>(i);
    return WeightsOver(count_, std::max(centre - halfWidth_, first_),
                       std::min(centre + halfWidth_, last_));
}

MovingMeanTable::MovingMeanTable(const MovingMean& mean) {
    const std::size_t count = mean.Count();
    std::vector<MovingMean::Weights> all;
    all.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        all.push_back(mean.At(i));
        stride_ = std::max(stride_, all.back().Values.size());
    }
    firsts_.resize(count);
    weights_.assign(count * stride_, 0.0);
    for (std::size_t i = 0; i < count; ++i) {
        const MovingMean::Weights& w = all[i];
        if (w.Values.empty()) {
            unchanged_.push_back(i);
        }
        firsts_[i] = std::min(w.First, count - stride_);
        std::ranges::copy(w.Values, weights_.begin() + static_cast<std::ptrdiff_t>(
                                                           i * stride_ + w.First - firsts_[i]));
    }
}

// Four positions at a time, each summed in its own register in the order of
// its weights: the same sums as one at a time, without waiting on each
// addition before the next.
void MovingMeanTable::Apply(std::span<const double> values, std::span<double> out) const {
    const std::size_t count = firsts_.size();
    std::size_t i = 0;
    for (; i + 4 <= count; i += 4) {
        const double* w = weights_.data() + i * stride_;
        const double* v0 = values.data() + firsts_[i];
        const double* v1 = values.data() + firsts_[i + 1];
        const double* v2 = values.data() + firsts_[i + 2];
        const double* v3 = values.data() + firsts_[i + 3];
        double s0 = 0;
        double s1 = 0;
        double s2 = 0;
        double s3 = 0;
        for (std::size_t k = 0; k < stride_; ++k) {
            s0 += w[k] * v0[k];
            s1 += w[stride_ + k] * v1[k];
            s2 += w[2 * stride_ + k] * v2[k];
            s3 += w[3 * stride_ + k] * v3[k];
        }
        out[i] = s0;
        out[i + 1] = s1;
        out[i + 2] = s2;
        out[i + 3] = s3;
    }
    for (; i < count; ++i) {
        out[i] = Sum(i, values);
    }
    for (const std::size_t u : unchanged_) {
        out[u] = values[u];
    }
}

double MovingMeanTable::Sum(std::size_t i, std::span<const double> values) const {
    double sum = 0;
    for (std::size_t k = 0; k < stride_; ++k) {
        sum += weights_[i * stride_ + k] * values[firsts_[i] + k];
    }
    return sum;
}

}  // namespace tesmera
