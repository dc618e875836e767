// SPDX-License-Identifier: GPL-3.0-or-later
// Two voice reports of one person side by side, figure by figure: both
// values, the change, and whether the change is real, that is larger than
// the figure moves between two takes of the same voice.
//
// The rule, one for every figure: the change is real when
// |after − before| > noise. For a figure measured from the recording's own
// units, noise = 1.96·√(SE_before² + SE_after²), the half-width of the
// 95 % interval of the difference of two independent estimates whose
// standard errors the bootstrap gave (bootstrap_spread.h); standard errors,
// unlike whole bootstrap distributions, travel in a report's JSON, so a
// comparison of two JSON reports says what one of the recordings says.
// AVQI is measured on a joined sound with no units to resample, so its
// noise is the published test-retest figure AvqiTestRetestDifference.
#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "recording/voice_report.h"

namespace tesmera {

// AVQI's test-retest figure: Barsties and Maryn (2013), docs/measures.md.
constexpr double AvqiTestRetestDifference = 0.54;
// The standard normal quantile of a two-sided 95 % interval.
constexpr double NoiseQuantile = 1.96;

// One figure of one report, in ComparedFigure::Unit.
struct FigureEstimate {
    std::optional<double> Value;
    std::optional<double> StandardError;  // absent for a figure not Resampled
};

// What a comparison holds of one figure, and how it is shown.
struct ComparedFigure {
    // Its key in the report's record ("jitter_local_pct"); for a model,
    // the key in the model's object ("median_value").
    std::string_view Key;
    int Model;              // ScoreModels index, or -1 for no model
    std::string_view Name;  // "jitter local", "SCORE(10) median"
    std::string_view Unit;  // "%", "" for none
    double Scale;           // from the report's own unit to Unit
    int Digits;             // decimals in the table
    bool Resampled;         // its standard error comes from the recording
    // Compared only when both reports have it (AVQI needs a speech sample
    // beside the vowel); shown otherwise whether or not it can be compared.
    bool OnlyWhenBoth;
    // The figure and its standard error in the report's own units; absent
    // where the report has none.
    FigureEstimate (*Read)(const VoiceReport& report);
};

// The measures, AVQI among them, then each model's median.
inline constexpr std::size_t FirstModelFigure = 12;
inline constexpr std::size_t ComparedFigureCount = FirstModelFigure + ScoreModelCount;
constexpr std::size_t ModelFigure(std::size_t model) {
    return FirstModelFigure + model;
}
extern const std::array<ComparedFigure, ComparedFigureCount> ComparedFigures;

using ReportEstimates = std::array<FigureEstimate, ComparedFigureCount>;

// The report's figures with their standard errors, in ComparedFigures order.
ReportEstimates EstimatesOf(const VoiceReport& report);

enum class ChangeVerdict { Changed, WithinNoise, NotCompared };

struct FigureChange {
    std::optional<double> Before;
    std::optional<double> After;
    std::optional<double> Change;  // after − before
    std::optional<double> Noise;   // a change larger than this is real
    ChangeVerdict Verdict = ChangeVerdict::NotCompared;
};

// Each figure compared by the rule above: NotCompared when a value or a
// standard error is missing (AVQI from only one of the two, say).
std::array<FigureChange, ComparedFigureCount> CompareReports(const ReportEstimates& before,
                                                             const ReportEstimates& after);

// Whether a comparison shows the figure: not when it is OnlyWhenBoth and
// one report lacks it.
bool ComparisonShows(const ComparedFigure& figure, const FigureChange& change);

// "changed", "within measurement noise" or "not compared".
std::string_view VerdictText(ChangeVerdict verdict);

}  // namespace tesmera
