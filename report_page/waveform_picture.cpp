// SPDX-License-Identifier: GPL-3.0-or-later
#include "report_page/waveform_picture.h"

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

namespace {

// One range per column of `axis`: `range(from, to)` over the whole sample
// positions [from, to) the column holds within [first, end).
template <typename Range>
std::vector<ColumnRange> EachColumn(const SampleAxis& axis, double first, double end,
                                    const Range& range) {
    std::vector<ColumnRange> columns(static_cast<std::size_t>(axis.Width()));
    for (std::size_t c = 0; c < columns.size(); ++c) {
        const double x = axis.Left() + static_cast<double>(c);
        double from = std::ceil(axis.ToSample(x));
        double to = std::ceil(axis.ToSample(x + 1));
        if (from >= to) {
            from = std::floor(axis.ToSample(x));
            to = from + 1;
        }
        from = std::max(from, first);
        to = std::min(to, end);
        if (from < to) {
            columns[c] = range(static_cast<std::size_t>(from), static_cast<std::size_t>(to));
        }
    }
    return columns;
}

}  // namespace

std::vector<ColumnRange> ColumnExtremes(std::span<const double> samples, std::size_t first,
                                        const SampleAxis& axis) {
    const auto start = static_cast<double>(first);
    return EachColumn(axis, start, start + static_cast<double>(samples.size()),
                      [&](std::size_t from, std::size_t to) {
                          const auto [low, high] =
                              std::ranges::minmax(samples.subspan(from - first, to - from));
                          return ColumnRange{low, high};
                      });
}

std::vector<ColumnRange> EnvelopeColumns(const SampleEnvelope& envelope, const SampleAxis& axis) {
    const std::span<const ValueRange> buckets = envelope.Buckets();
    const std::size_t length = envelope.BucketLength();
    return EachColumn(axis, 0, static_cast<double>(envelope.SampleCount()),
                      [&](std::size_t from, std::size_t to) {
                          ColumnRange merged = buckets[from / length];
                          for (const ValueRange& b : buckets.subspan(
                                   from / length + 1, (to - 1) / length - from / length)) {
                              merged.Low = std::min(merged.Low, b.Low);
                              merged.High = std::max(merged.High, b.High);
                          }
                          return merged;
                      });
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

TimeTicks TimeAxisTicks(double seconds, int width, int spacing) {
    TimeTicks ticks;
    if (!(seconds > 0) || width <= 0) {
        return ticks;
    }
    const double shortest = seconds * spacing / width;
    double decade = std::pow(10.0, std::floor(std::log10(shortest)));
    ticks.Step = 10 * decade;
    for (const double multiple : {1.0, 2.0, 5.0, 10.0}) {
        if (multiple * decade >= shortest) {
            ticks.Step = multiple * decade;
            break;
        }
    }
    // A tick on the very end counts even when rounding puts it a hair past.
    const double last = seconds * (1 + 1e-9);
    for (long long i = 0; static_cast<double>(i) * ticks.Step <= last; ++i) {
        ticks.Seconds.push_back(static_cast<double>(i) * ticks.Step);
    }
    return ticks;
}

}  // namespace tesmera
