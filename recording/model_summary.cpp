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

double Median(std::span<const double> values) {
    const std::vector<double> sorted = Sorted(values);
    return SortedQuantile(sorted, 0.5);
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
    const double share = position - static_cast<double>(below);
    return sorted[below] + share * (sorted[above] - sorted[below]);
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
        const double first = Median(ModelColumn(cycles.first(half), m));
        const double second = Median(ModelColumn(cycles.last(half), m));
        if (std::fabs(first - second) > SteadyMedianDifference) {
            comparison.Agree = false;
        } else {
            comparison.StraddleBorder[m] = ScoreOfValue(first) != ScoreOfValue(second);
        }
    }
    return comparison;
}

}  // namespace tesmera
