// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/perturbation.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace tesmera {

namespace {

// The amplitude window reaches this share of each neighbouring period.
constexpr double AmplitudeReach = 0.2;

double Factor(double a, double b) {
    return a > b ? a / b : b / a;
}

// |middle − mean of the run|, the perturbation of a run of 3 or 5 values.
double DistanceFromRunMean(std::span<const double> run) {
    double sum = 0;
    for (const double v : run) {
        sum += v;
    }
    return std::fabs(run[run.size() / 2] - sum / static_cast<double>(run.size()));
}

double LocalDifference(std::span<const double> pair) {
    return std::fabs(pair[1] - pair[0]);
}

double DbDifference(std::span<const double> pair) {
    return std::fabs(20 * std::log10(pair[1] / pair[0]));
}

using Perturbation = double (*)(std::span<const double> run);

// The mean of `perturbation` over every run of `length` consecutive values
// whose neighbour pairs all count (pairCounts[i]: values i and i + 1);
// nothing when no run counts.
std::optional<double> MeanOverRuns(std::span<const double> values,
                                   const std::vector<bool>& pairCounts, std::size_t length,
                                   Perturbation perturbation) {
    double sum = 0;
    std::size_t counted = 0;
    for (std::size_t i = 0; i + length <= values.size(); ++i) {
        const auto pairs = pairCounts.begin() + static_cast<std::ptrdiff_t>(i);
        if (std::all_of(pairs, pairs + static_cast<std::ptrdiff_t>(length - 1),
                        [](bool counts) { return counts; })) {
            sum += perturbation(values.subspan(i, length));
            ++counted;
        }
    }
    if (counted == 0) {
        return std::nullopt;
    }
    return sum / static_cast<double>(counted);
}

std::optional<double> Divided(const std::optional<double>& value, double by) {
    if (!value || by <= 0) {
        return std::nullopt;
    }
    return *value / by;
}

bool InRange(double period, const PerturbationLimits& limits) {
    return period >= limits.PeriodFloor && period <= limits.PeriodCeiling;
}

// A period counts for the mean unless it is out of range, or differs by
// more than the period factor from both neighbours it has.
double MeanPeriod(std::span<const double> periods, const PerturbationLimits& limits) {
    double sum = 0;
    std::size_t counted = 0;
    for (std::size_t i = 0; i < periods.size(); ++i) {
        const double p = periods[i];
        if (!InRange(p, limits)) {
            continue;
        }
        const bool offLeft = i > 0 && Factor(p, periods[i - 1]) > limits.MaxPeriodFactor;
        const bool offRight =
            i + 1 < periods.size() && Factor(p, periods[i + 1]) > limits.MaxPeriodFactor;
        const bool hasBoth = i > 0 && i + 1 < periods.size();
        if (hasBoth ? (offLeft && offRight) : (offLeft || offRight)) {
            continue;
        }
        sum += p;
        ++counted;
    }
    return counted == 0 ? 0 : sum / static_cast<double>(counted);
}

// The mean of the samples from the first mark to the last: the voice's DC
// offset, which whole cycles average to.
double MeanOverMarks(std::span<const double> signal, double rate, std::span<const double> marks) {
    if (marks.empty()) {
        return 0;
    }
    const auto first = static_cast<std::size_t>(std::max(0.0, std::ceil(marks.front() * rate)));
    const auto end =
        std::min(signal.size(),
                 static_cast<std::size_t>(std::max(0.0, std::floor(marks.back() * rate))) + 1);
    if (first >= end) {
        return 0;
    }
    double sum = 0;
    for (std::size_t i = first; i < end; ++i) {
        sum += signal[i];
    }
    return sum / static_cast<double>(end - first);
}

// Root mean square of the samples around `mark` less `dc`, weighted by
// a Hann window reaching `left` seconds before it and `right` seconds after
// it; nothing for fewer than three samples.
std::optional<double> HannWindowedRms(std::span<const double> signal, double rate, double dc,
                                      double mark, double left, double right) {
    const double first = std::max(0.0, std::ceil((mark - left) * rate));
    const double last =
        std::min(static_cast<double>(signal.size()) - 1, std::floor((mark + right) * rate));
    if (last - first < 2) {
        return std::nullopt;
    }
    double weightedSquares = 0;
    double windowSquares = 0;
    for (auto i = static_cast<std::size_t>(first); i <= static_cast<std::size_t>(last); ++i) {
        const double offset = static_cast<double>(i) / rate - mark;
        const double reach = offset < 0 ? left : right;
        const double window = 0.5 + 0.5 * std::cos(std::numbers::pi * offset / reach);
        const double value = signal[i] - dc;
        weightedSquares += value * value * window * window;
        windowSquares += window * window;
    }
    return std::sqrt(weightedSquares / windowSquares);
}

}  // namespace

std::vector<double> MarkPeriods(std::span<const double> marks) {
    std::vector<double> periods;
    for (std::size_t i = 0; i + 1 < marks.size(); ++i) {
        periods.push_back(marks[i + 1] - marks[i]);
    }
    return periods;
}

std::vector<PeriodAmplitude> MeasurePeriodAmplitudes(std::span<const double> signal, double rate,
                                                     std::span<const double> marks,
                                                     const PerturbationLimits& limits) {
    // A DC offset is no amplitude: it would add to every period's alike and
    // shrink their relative differences.
    const double dc = MeanOverMarks(signal, rate, marks);
    std::vector<PeriodAmplitude> points;
    for (std::size_t i = 1; i + 1 < marks.size(); ++i) {
        const double p1 = marks[i] - marks[i - 1];
        const double p2 = marks[i + 1] - marks[i];
        if (!InRange(p1, limits) || !InRange(p2, limits) ||
            Factor(p1, p2) > limits.MaxPeriodFactor) {
            continue;
        }
        const auto amplitude =
            HannWindowedRms(signal, rate, dc, marks[i], AmplitudeReach * p1, AmplitudeReach * p2);
        if (amplitude && *amplitude > 0) {
            points.push_back({marks[i], *amplitude});
        }
    }
    return points;
}

JitterFigures MeasureJitter(std::span<const double> marks, const PerturbationLimits& limits) {
    return MeasureJitterOfPeriods(MarkPeriods(marks), limits);
}

JitterFigures MeasureJitterOfPeriods(std::span<const double> periods,
                                     const PerturbationLimits& limits) {
    std::vector<bool> pairCounts;
    for (std::size_t i = 0; i + 1 < periods.size(); ++i) {
        pairCounts.push_back(InRange(periods[i], limits) && InRange(periods[i + 1], limits) &&
                             Factor(periods[i], periods[i + 1]) <= limits.MaxPeriodFactor);
    }
    const double meanPeriod = MeanPeriod(periods, limits);
    JitterFigures jitter;
    jitter.Local = Divided(MeanOverRuns(periods, pairCounts, 2, LocalDifference), meanPeriod);
    if (jitter.Local) {
        jitter.LocalAbsolute = *jitter.Local * meanPeriod;
    }
    jitter.Rap = Divided(MeanOverRuns(periods, pairCounts, 3, DistanceFromRunMean), meanPeriod);
    jitter.Ppq5 = Divided(MeanOverRuns(periods, pairCounts, 5, DistanceFromRunMean), meanPeriod);
    return jitter;
}

ShimmerFigures MeasureShimmer(std::span<const double> signal, double rate,
                              std::span<const double> marks, const PerturbationLimits& limits) {
    return MeasureShimmerOfAmplitudes(MeasurePeriodAmplitudes(signal, rate, marks, limits), limits);
}

ShimmerFigures MeasureShimmerOfAmplitudes(std::span<const PeriodAmplitude> points,
                                          const PerturbationLimits& limits) {
    std::vector<double> amplitudes;
    std::vector<bool> pairCounts;
    double sum = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        amplitudes.push_back(points[i].Amplitude);
        sum += points[i].Amplitude;
        if (i + 1 < points.size()) {
            // Amplitudes are compared only when their marks lie within the
            // period range of each other and their ratio is within the factor.
            pairCounts.push_back(InRange(points[i + 1].Time - points[i].Time, limits) &&
                                 Factor(points[i].Amplitude, points[i + 1].Amplitude) <=
                                     limits.MaxAmplitudeFactor);
        }
    }
    const double mean = points.empty() ? 0 : sum / static_cast<double>(points.size());
    ShimmerFigures shimmer;
    shimmer.Local = Divided(MeanOverRuns(amplitudes, pairCounts, 2, LocalDifference), mean);
    if (shimmer.Local) {
        shimmer.LocalDb = MeanOverRuns(amplitudes, pairCounts, 2, DbDifference);
    }
    shimmer.Apq3 = Divided(MeanOverRuns(amplitudes, pairCounts, 3, DistanceFromRunMean), mean);
    shimmer.Apq5 = Divided(MeanOverRuns(amplitudes, pairCounts, 5, DistanceFromRunMean), mean);
    return shimmer;
}

}  // namespace tesmera
