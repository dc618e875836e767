// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/report_comparison.h"

#include <cmath>

namespace tesmera {

namespace {

constexpr double Percent = 100;
constexpr double Microseconds = 1e6;

constexpr ComparedFigure Measure(std::string_view key, std::string_view name, std::string_view unit,
                                 double scale, int digits) {
    return {key, -1, name, unit, scale, digits, true, false};
}

constexpr ComparedFigure ModelMedian(int model, std::string_view name) {
    return {"median_value", model, name, "", 1, 3, true, false};
}

std::optional<double> Scaled(const std::optional<double>& value, double scale) {
    return value ? std::optional<double>(*value * scale) : std::nullopt;
}

// The figure's value and standard error in the report's own units; the
// cases follow ComparedFigures.
FigureEstimate RawEstimate(const VoiceReport& r, std::size_t figure) {
    const FigureSpreads& s = r.Spreads;
    const bool cycles = r.AnalysedCycles > 0;
    const auto when = [cycles](const std::optional<double>& value) {
        return cycles ? value : std::nullopt;
    };
    switch (figure) {
        case 0:
            return {when(r.F0MeanHz), s.F0MeanHz};
        case 1:
            return {when(r.Jitter.Local), s.Jitter.Local};
        case 2:
            return {when(r.Jitter.LocalAbsolute), s.Jitter.LocalAbsolute};
        case 3:
            return {when(r.Jitter.Rap), s.Jitter.Rap};
        case 4:
            return {when(r.Jitter.Ppq5), s.Jitter.Ppq5};
        case 5:
            return {when(r.Shimmer.Local), s.Shimmer.Local};
        case 6:
            return {when(r.Shimmer.LocalDb), s.Shimmer.LocalDb};
        case 7:
            return {when(r.Shimmer.Apq3), s.Shimmer.Apq3};
        case 8:
            return {when(r.Shimmer.Apq5), s.Shimmer.Apq5};
        case 9:
            return {when(r.HnrDb), s.HnrDb};
        case 10:
            return {r.CppsDb, s.CppsDb};
        case 11:
            return {r.Avqi ? std::optional<double>(r.Avqi->Avqi) : std::nullopt, {}};
        default: {
            const std::size_t m = figure - FirstModelFigure;
            return {when(r.Models[m].MedianValue), s.ModelMedians[m]};
        }
    }
}

FigureChange Compare(const ComparedFigure& figure, const FigureEstimate& before,
                     const FigureEstimate& after) {
    FigureChange change{before.Value, after.Value, {}, {}, ChangeVerdict::NotCompared};
    if (!before.Value || !after.Value) {
        return change;
    }
    change.Change = *after.Value - *before.Value;
    if (!figure.Resampled) {
        change.Noise = AvqiTestRetestDifference;
    } else if (before.StandardError && after.StandardError) {
        change.Noise = NoiseQuantile * std::hypot(*before.StandardError, *after.StandardError);
    } else {
        return change;
    }
    change.Verdict = std::fabs(*change.Change) > *change.Noise ? ChangeVerdict::Changed
                                                               : ChangeVerdict::WithinNoise;
    return change;
}

}  // namespace

const std::array<ComparedFigure, ComparedFigureCount> ComparedFigures{{
    Measure("f0_mean_hz", "F0", "Hz", 1, 2),
    Measure("jitter_local_pct", "jitter local", "%", Percent, 3),
    Measure("jitter_local_abs_us", "jitter absolute", "us", Microseconds, 1),
    Measure("jitter_rap_pct", "jitter RAP", "%", Percent, 3),
    Measure("jitter_ppq5_pct", "jitter PPQ5", "%", Percent, 3),
    Measure("shimmer_local_pct", "shimmer local", "%", Percent, 3),
    Measure("shimmer_local_db", "shimmer local", "dB", 1, 3),
    Measure("shimmer_apq3_pct", "shimmer APQ3", "%", Percent, 3),
    Measure("shimmer_apq5_pct", "shimmer APQ5", "%", Percent, 3),
    Measure("hnr_db", "HNR", "dB", 1, 2),
    Measure("cpps_db", "CPPS", "dB", 1, 2),
    {"avqi", -1, "AVQI", "", 1, 2, false, true},
    ModelMedian(0, "SCORE(10) median"),
    ModelMedian(1, "SCORE(21) median"),
    ModelMedian(2, "SCORE(22) median"),
    ModelMedian(3, "SCORE(23) median"),
    ModelMedian(4, "SCORE(24) median"),
    ModelMedian(5, "SCORE(25) median"),
}};

ReportEstimates EstimatesOf(const VoiceReport& report) {
    ReportEstimates estimates;
    for (std::size_t i = 0; i < ComparedFigureCount; ++i) {
        const FigureEstimate raw = RawEstimate(report, i);
        const double scale = ComparedFigures[i].Scale;
        // A standard error without its figure says nothing.
        estimates[i] = {Scaled(raw.Value, scale),
                        raw.Value ? Scaled(raw.StandardError, scale) : std::nullopt};
    }
    return estimates;
}

std::array<FigureChange, ComparedFigureCount> CompareReports(const ReportEstimates& before,
                                                             const ReportEstimates& after) {
    std::array<FigureChange, ComparedFigureCount> changes;
    for (std::size_t i = 0; i < ComparedFigureCount; ++i) {
        changes[i] = Compare(ComparedFigures[i], before[i], after[i]);
    }
    return changes;
}

bool ComparisonShows(const ComparedFigure& figure, const FigureChange& change) {
    return !figure.OnlyWhenBoth || (change.Before && change.After);
}

std::string_view VerdictText(ChangeVerdict verdict) {
    switch (verdict) {
        case ChangeVerdict::Changed:
            return "changed";
        case ChangeVerdict::WithinNoise:
            return "within measurement noise";
        case ChangeVerdict::NotCompared:
            break;
    }
    return "not compared";
}

}  // namespace tesmera
