// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/report_comparison.h"

#include <cmath>

namespace tesmera {

namespace {

constexpr double Percent = 100;
constexpr double Microseconds = 1e6;

using Reader = FigureEstimate (*)(const VoiceReport&);

constexpr ComparedFigure Measure(std::string_view key, std::string_view name, std::string_view unit,
                                 double scale, int digits, Reader read) {
    return {key, -1, name, unit, scale, digits, true, false, read};
}

// A report whose spreads were not estimated has no standard errors.
const FigureSpreads& SpreadsOf(const VoiceReport& report) {
    static const FigureSpreads None;
    return report.Spreads ? *report.Spreads : None;
}

// The figures of the cycles exist once some were analysed.
std::optional<double> OfCycles(const VoiceReport& report, const std::optional<double>& value) {
    return report.AnalysedCycles > 0 ? value : std::nullopt;
}

template <std::size_t M>
FigureEstimate ModelMedianOf(const VoiceReport& r) {
    return {OfCycles(r, r.Models[M].MedianValue), SpreadsOf(r).ModelMedians[M]};
}

template <std::size_t M>
constexpr ComparedFigure ModelMedian(std::string_view name) {
    return {"median_value", static_cast<int>(M), name, "", 1, 3, true, false, &ModelMedianOf<M>};
}

std::optional<double> Scaled(const std::optional<double>& value, double scale) {
    return value ? std::optional<double>(*value * scale) : std::nullopt;
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
    Measure("f0_mean_hz", "F0", "Hz", 1, 2,
            [](const VoiceReport& r) -> FigureEstimate {
                return {OfCycles(r, r.F0MeanHz), SpreadsOf(r).F0MeanHz};
            }),
    Measure("jitter_local_pct", "jitter local", "%", Percent, 3,
            [](const VoiceReport& r) -> FigureEstimate {
                return {OfCycles(r, r.Jitter.Local), SpreadsOf(r).Jitter.Local};
            }),
    Measure("jitter_local_abs_us", "jitter absolute", "us", Microseconds, 1,
            [](const VoiceReport& r) -> FigureEstimate {
                return {OfCycles(r, r.Jitter.LocalAbsolute), SpreadsOf(r).Jitter.LocalAbsolute};
            }),
    Measure("jitter_rap_pct", "jitter RAP", "%", Percent, 3,
            [](const VoiceReport& r) -> FigureEstimate {
                return {OfCycles(r, r.Jitter.Rap), SpreadsOf(r).Jitter.Rap};
            }),
    Measure("jitter_ppq5_pct", "jitter PPQ5", "%", Percent, 3,
            [](const VoiceReport& r) -> FigureEstimate {
                return {OfCycles(r, r.Jitter.Ppq5), SpreadsOf(r).Jitter.Ppq5};
            }),
    Measure("shimmer_local_pct", "shimmer local", "%", Percent, 3,
            [](const VoiceReport& r) -> FigureEstimate {
                return {OfCycles(r, r.Shimmer.Local), SpreadsOf(r).Shimmer.Local};
            }),
    Measure("shimmer_local_db", "shimmer local", "dB", 1, 3,
            [](const VoiceReport& r) -> FigureEstimate {
                return {OfCycles(r, r.Shimmer.LocalDb), SpreadsOf(r).Shimmer.LocalDb};
            }),
    Measure("shimmer_apq3_pct", "shimmer APQ3", "%", Percent, 3,
            [](const VoiceReport& r) -> FigureEstimate {
                return {OfCycles(r, r.Shimmer.Apq3), SpreadsOf(r).Shimmer.Apq3};
            }),
    Measure("shimmer_apq5_pct", "shimmer APQ5", "%", Percent, 3,
            [](const VoiceReport& r) -> FigureEstimate {
                return {OfCycles(r, r.Shimmer.Apq5), SpreadsOf(r).Shimmer.Apq5};
            }),
    Measure("hnr_db", "HNR", "dB", 1, 2,
            [](const VoiceReport& r) -> FigureEstimate {
                return {OfCycles(r, r.HnrDb), SpreadsOf(r).HnrDb};
            }),
    // CPPS needs no cycles.
    Measure("cpps_db", "CPPS", "dB", 1, 2,
            [](const VoiceReport& r) -> FigureEstimate {
                return {r.CppsDb, SpreadsOf(r).CppsDb};
            }),
    {"avqi", -1, "AVQI", "", 1, 2, false, true,
     [](const VoiceReport& r) -> FigureEstimate {
         return {r.Avqi ? std::optional<double>(r.Avqi->Avqi) : std::nullopt, std::nullopt};
     }},
    ModelMedian<0>("SCORE(10) median"),
    ModelMedian<1>("SCORE(21) median"),
    ModelMedian<2>("SCORE(22) median"),
    ModelMedian<3>("SCORE(23) median"),
    ModelMedian<4>("SCORE(24) median"),
    ModelMedian<5>("SCORE(25) median"),
}};

ReportEstimates EstimatesOf(const VoiceReport& report) {
    ReportEstimates estimates;
    for (std::size_t i = 0; i < ComparedFigureCount; ++i) {
        const FigureEstimate raw = ComparedFigures[i].Read(report);
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
