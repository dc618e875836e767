// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/model_summary.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace tesmera {

namespace {

// Half-width of the median's 95 % interval in ranks, per √n: 1.96 / 2.
constexpr double MedianRankReach = 0.98;

std::vector<double> Sorted(std::span<const double> values) {
    std::vector<double> sorted(values.begin(), values.end());
    std::ranges::sort(sorted);
    return sorted;
}

// The value at `position` between the order statistics `below` and the
// next one up, `above`.
double Interpolated(double below, double above, double position) {
    return below + (position - std::floor(position)) * (above - below);
}

std::vector<double> ModelColumn(std::span<const CycleValues> cycles, std::size_t model) {
    std::vector<double> column;
    for (const CycleValues& cycle : cycles) {
        column.push_back(cycle[model]);
    }
    return column;
}

}  // namespace

double SortedQuantile(std::span<const double> sorted, double q) {
    const double position = (static_cast<double>(sorted.size()) - 1) * q;
    const auto below = static_cast<std::size_t>(std::floor(position));
    const std::size_t above = std::min(below + 1, sorted.size() - 1);
    return Interpolated(sorted[below], sorted[above], position);
}

double MedianInPlace(std::span<double> values) {
    const double position = (static_cast<double>(values.size()) - 1) * 0.5;
    const auto below = static_cast<std::size_t>(std::floor(position));
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(below);
    std::nth_element(values.begin(), middle, values.end());
    // Everything after the middle is at least as large: the next order
    // statistic is the least of it.
    const double above =
        middle + 1 == values.end() ? *middle : *std::min_element(middle + 1, values.end());
    return Interpolated(*middle, above, position);
}

ModelSummary SummariseModel(std::span<const double> values) {
    ModelSummary summary;
    if (values.empty()) {
        return summary;
    }
    const std::vector<double> sorted = Sorted(values);
    const double n = static_cast<double>(sorted.size());
    summary.MedianValue = SortedQuantile(sorted, 0.5);
    summary.Score = ScoreOfValue(summary.MedianValue);
    summary.Iqr = SortedQuantile(sorted, 0.75) - SortedQuantile(sorted, 0.25);
    std::array<std::size_t, ReportGradeCount> counts{};
    for (const double value : sorted) {
        ++counts[static_cast<std::size_t>(ScoreOfValue(value) - 1)];
    }
    for (std::size_t g = 0; g < ReportGradeCount; ++g) {
        summary.GradeShares[g] = static_cast<double>(counts[g]) / n;
    }
    const double reach = MedianRankReach * std::sqrt(n);
    const double lowRank = std::clamp(std::round(n / 2 - reach), 1.0, n);
    const double highRank = std::clamp(std::round(1 + n / 2 + reach), 1.0, n);
    summary.Borderline = ScoreOfValue(sorted[static_cast<std::size_t>(lowRank) - 1]) !=
                         ScoreOfValue(sorted[static_cast<std::size_t>(highRank) - 1]);
    return summary;
}

HalvesComparison CompareHalves(std::span<const CycleValues> cycles) {
    HalvesComparison comparison;
    if (cycles.size() < SteadyCycleCount) {
        return comparison;
    }
    comparison.Agree = true;
    const std::size_t half = cycles.size() / 2;
    for (std::size_t m = 0; m < ScoreModelCount; ++m) {
        std::vector<double> firstHalf = ModelColumn(cycles.first(half), m);
        std::vector<double> secondHalf = ModelColumn(cycles.last(half), m);
        const double first = MedianInPlace(firstHalf);
        const double second = MedianInPlace(secondHalf);
        if (std::fabs(first - second) > SteadyMedianDifference) {
            comparison.Agree = false;
        } else {
            comparison.StraddleBorder[m] = ScoreOfValue(first) != ScoreOfValue(second);
        }
    }
    return comparison;
}

}  // namespace tesmera
