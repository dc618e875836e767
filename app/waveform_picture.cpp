// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/waveform_picture.h"

#include <algorithm>
#include <cmath>

namespace tesmera {

SampleAxis::SampleAxis(double first, double end, int left, int width)
    : first_(first), end_(end), left_(left), width_(std::max(width, 1)) {}

double SampleAxis::ToX(double sample) const {
    return left_ + (sample - first_) * width_ / (end_ - first_);
}

double SampleAxis::ToSample(double x) const {
    return first_ + (x - left_) * (end_ - first_) / width_;
}

std::vector<ColumnRange> ColumnExtremes(std::span<const double> samples, const SampleAxis& axis) {
    std::vector<ColumnRange> columns(static_cast<std::size_t>(axis.Width()));
    const auto count = static_cast<double>(samples.size());
    for (std::size_t c = 0; c < columns.size(); ++c) {
        const double x = axis.Left() + static_cast<double>(c);
        double from = std::ceil(axis.ToSample(x));
        double to = std::ceil(axis.ToSample(x + 1));
        if (from >= to) {
            from = std::floor(axis.ToSample(x));
            to = from + 1;
        }
        from = std::max(from, 0.0);
        to = std::min(to, count);
        if (from >= to) {
            continue;
        }
        const auto [low, high] =
            std::minmax_element(samples.begin() + static_cast<std::ptrdiff_t>(from),
                                samples.begin() + static_cast<std::ptrdiff_t>(to));
        columns[c] = {*low, *high};
    }
    return columns;
}

std::optional<std::size_t> CycleAt(std::span<const ReportedCycle> cycles, double sample) {
    // Cycles follow each other in time, so the first that ends after the
    // point is the only candidate.
    const auto after = std::ranges::upper_bound(cycles, sample, {}, &ReportedCycle::EndSample);
    if (after == cycles.end() || sample < after->StartSample) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(after - cycles.begin());
}

}  // namespace tesmera
