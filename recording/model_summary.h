// SPDX-License-Identifier: GPL-3.0-or-later
// What many cycles of one voice say through one score model: the median raw
// value and its grade, the spread, the share of cycles at each grade, and
// whether the median is too uncertain to name one grade.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "analysis/scores.h"

namespace tesmera {

constexpr std::size_t ReportGradeCount = 5;  // grades 1..5

struct ModelSummary {
    double MedianValue = 0;
    std::int32_t Score = 0;  // ScoreOfValue(MedianValue); 0 without cycles
    double Iqr = 0;          // third quartile − first quartile
    // Share of the cycles whose own score is 1..5 (indices 0..4); they sum to 1.
    std::array<double, ReportGradeCount> GradeShares{};
    // The 95 % confidence interval of the median touches two grades.
    bool Borderline = false;
};

// Quantile q (0..1) of `sorted` (ascending, not empty), interpolated
// linearly between the order statistics at (n − 1)·q.
double SortedQuantile(std::span<const double> sorted, double q);

// SortedQuantile(sorted values, 0.5), found without sorting them all;
// `values` (not empty) is reordered.
double MedianInPlace(std::span<double> values);

// The summary of one model's raw values, one per cycle (any order). The
// confidence interval of the median is distribution-free: the order
// statistics of ranks n/2 − 0.98·√n and 1 + n/2 + 0.98·√n (rounded, 1-based,
// clamped to 1..n), which bracket the median with about 95 % probability.
// Empty input gives the zero summary.
ModelSummary SummariseModel(std::span<const double> values);

// Six models' raw values for each cycle, in the cycles' order.
using CycleValues = std::array<double, ScoreModelCount>;

// Cycles fewer than this never make a steady voice.
constexpr std::size_t SteadyCycleCount = 20;
// Largest difference of a model's median between the halves of a steady voice.
constexpr double SteadyMedianDifference = 0.25;

// How the medians of the first and the second half of the cycles (the
// middle cycle of an odd count in neither) compare, model by model.
struct HalvesComparison {
    // At least SteadyCycleCount cycles, and every model's half-medians
    // differ by at most SteadyMedianDifference.
    bool Agree = false;
    // Per model: the half-medians agree but give different scores, so the
    // voice lies on a grade border.
    std::array<bool, ScoreModelCount> StraddleBorder{};
};
HalvesComparison CompareHalves(std::span<const CycleValues> cycles);

}  // namespace tesmera
