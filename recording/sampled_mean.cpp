// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/sampled_mean.h"

#include <cmath>

namespace tesmera {

namespace {

// Sample k (from 1) of the range holds the position `x` at index
// (x − First) / Step + 1; its cell reaches half a step to either side.
double IndexOf(const SampledAxis& axis, double x) {
    return (x - axis.First) / axis.Step + 1;
}

std::ptrdiff_t Rounded(double index) {
    return static_cast<std::ptrdiff_t>(std::floor(index + 0.5));
}

}  // namespace

std::optional<double> MeanOverRange(const SampledAxis& axis, std::size_t count,
                                    const SampleValue& value, double from, double to) {
    from = std::fmax(from, axis.DomainStart);
    to = std::fmin(to, axis.DomainEnd);
    if (!(to > from)) {
        return std::nullopt;
    }
    const double n = static_cast<double>(count);
    const double low = IndexOf(axis, from);
    const double high = IndexOf(axis, to);
    if (!(high >= 0.5 && low < n + 0.5)) {
        return std::nullopt;
    }
    // Cells from 1 to count; 0 and count + 1 stand for "beyond the samples".
    const std::ptrdiff_t first = low < 0.5 ? 0 : Rounded(low);
    const std::ptrdiff_t last =
        high >= n + 0.5 ? static_cast<std::ptrdiff_t>(count) + 1 : Rounded(high);
    const auto at = [&](std::ptrdiff_t i) { return value(static_cast<std::size_t>(i - 1)); };
    double sum = 0;
    double weight = 0;
    for (std::ptrdiff_t i = first + 1; i < last; ++i) {
        sum += at(i);
        weight += 1;
    }
    if (first == last) {
        weight += high - low;
        sum += (high - low) * at(first);
    } else {
        if (first >= 1) {
            const double share = static_cast<double>(first) - low + 0.5;
            weight += share;
            sum += share * at(first);
        }
        if (last <= static_cast<std::ptrdiff_t>(count)) {
            const double share = high - static_cast<double>(last) + 0.5;
            weight += share;
            sum += share * at(last);
        }
    }
    if (weight <= 0) {
        return std::nullopt;
    }
    return sum / weight;
}

SampleSpan SamplesInside(const SampledAxis& axis, double from, double to) {
    return {static_cast<std::ptrdiff_t>(std::ceil((from - axis.First) / axis.Step)),
            static_cast<std::ptrdiff_t>(std::floor((to - axis.First) / axis.Step))};
}

std::optional<double> MeanOverDomain(const SampledAxis& axis, std::size_t count,
                                     const SampleValue& value) {
    return MeanOverRange(axis, count, value, axis.DomainStart, axis.DomainEnd);
}

}  // namespace tesmera
