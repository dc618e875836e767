// SPDX-License-Identifier: GPL-3.0-or-later
// One voice period from its samples to its rating, in two halves that the
// window and the command line both run, so they cannot disagree:
//   the load half checks a file's header, reads its samples and describes
//   the period (or takes a period already in memory);
//   the compute half expands it into its Fourier series and amplitudes, then
//   reads the expert grade, normalises the amplitudes and scores them.
// The window draws between the compute half's two steps; callers that draw
// nothing run both at once through PeriodAnalyser.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "analysis/fourier_apr.h"
#include "analysis/scores.h"
#include "wave/voice_period.h"

namespace tesmera {

// Order of the fundamental reconstruction, the trace under a loaded period.
constexpr std::int32_t FundamentalTraceOrder = 1;

// Relative energy within which the approximation's order is chosen.
constexpr double ApproxEnergyTolerance = 0.01;

// Harmonics 1..ChartedHarmonics are drawn as bars of the amplitude chart.
constexpr std::int32_t ChartedHarmonics = 20;

// How far a period got; each stage's values are valid from that stage on.
enum class AnalysisStage {
    NotLoaded,  // header rejected or a file error: no values
    Loaded,     // samples read: SampleCount and the statistics
    Analysed,   // series, amplitudes, normalisation and scores
};

// What a name without a digit grade does to the rating.
enum class MissingGrade {
    Stops,  // ConvertError leaves RatePeriod before the normalisation
    Noted,  // the grade stays absent, GradeNote holds the error-box text,
            // and the rating goes on
};

struct PeriodAnalysis {
    using Harmonics = std::array<double, CoefficientCount>;  // harmonics 0..MaxHarmonic

    // The file read, or the name a period in memory goes by; the grade is
    // read from its last part.
    std::string Path;
    AnalysisStage Stage = AnalysisStage::NotLoaded;

    // Loaded.
    std::int32_t DataSize = 0;     // bytes, as the header states it (0 for memory)
    std::int32_t SampleCount = 0;  // every sample read, also those past MaxSamples
    double Mean = 0;
    double StdDev = 0;           // population standard deviation
    double MaxAbs = 0;           // largest absolute sample
    double PeriodFrequency = 0;  // Hz, at the nominal rate
    double PeriodMs = 0;         // ms, at the nominal rate

    // Expanded.
    std::int32_t ApproxOrder = 0;
    double FundamentalMax = 0;  // largest absolute value of each reconstruction
    double ApproxMax = 0;
    Harmonics ax{};
    Harmonics bx{};
    Harmonics AA{};

    // Rated. After a normalisation warning the scores stay 0.
    double AmplitudeNorm = 0;
    std::array<double, NormHarmonics> AANorm{};        // harmonics 1..NormHarmonics from index 0
    std::array<double, ScoreModelCount> ScoreValue{};  // models in the order of ScoreModels
    std::array<std::int32_t, ScoreModelCount> Score{};
    bool Scored = false;  // the models were applied (no normalisation warning)
    std::optional<std::int32_t> ExpertGrade;
    std::string GradeNote;  // why the grade is absent (MissingGrade::Noted)
};

// Load half from the file at record.Path. Reads the header (a rejection is
// told through `warn` and returns false, leaving the record NotLoaded), then
// the samples into `samples` (its first samples.size() only; a longer period
// is counted whole) and the statistics. Throws FileError and the like.
bool LoadPeriodFile(PeriodAnalysis& record, std::span<double> samples, const WarningSink& warn);

// Load half from a period in memory, copied into `samples` as a file's
// would be. Throws FloatingPointError for an empty period.
void LoadPeriodSamples(PeriodAnalysis& record, std::span<const std::int16_t> period,
                       std::span<double> samples);

// False when nothing is loaded or the period is longer than MaxSamples: the
// compute half then only warns with NothingToAnalyseWarning.
bool Analysable(bool loaded, std::int32_t sampleCount);

// First step of the compute half: the series of `period` (all of it is the
// period) up to its maximum order, the reconstruction of `fundamentalOrder`
// into `fundamental` and the approximation within `tolerance` into
// `approximation` (each at least period.size() long, cleared whole first),
// their peaks, and the amplitudes.
void ExpandPeriod(PeriodAnalysis& record, std::span<const double> period,
                  std::int32_t fundamentalOrder, double tolerance, std::span<double> fundamental,
                  std::span<double> approximation);

// Second step: the grade from record.Path, the normalisation and the scores,
// the stage becomes Analysed. A zero norm or amplitude is told through
// `warn` and leaves the scores at 0.
void RatePeriod(PeriodAnalysis& record, MissingGrade missing, const WarningSink& warn);

// The part of the compute half the scores rest on, for callers that use
// nothing else: the coefficients up to the maximum order, the amplitudes,
// the normalisation and the scores, with the same values the two steps
// above give; the reconstructions' order and peaks and the expert grade are
// left as they were. `period` is all of the period. A zero norm or amplitude is
// told through `warn` and leaves the scores at 0; the stage becomes Analysed.
void ScorePeriod(PeriodAnalysis& record, std::span<const double> period, const WarningSink& warn);

// Both halves for callers that show nothing in between: a missing grade is
// noted, and a period that is not Analysable is loaded and described but
// only warned about. The working buffers (MaxSamples entries each) serve
// period after period, so a batch allocates nothing per period for them.
// Failures are exceptions, as from the halves.
class PeriodAnalyser {
  public:
    PeriodAnalyser();

    void AnalyseFile(PeriodAnalysis& record, const WarningSink& warn);
    void AnalyseSamples(PeriodAnalysis& record, std::span<const std::int16_t> period,
                        const WarningSink& warn);
    // The load half and ScorePeriod: what rating many periods needs, at a
    // fraction of AnalyseSamples' cost.
    void ScoreSamples(PeriodAnalysis& record, std::span<const std::int16_t> period,
                      const WarningSink& warn);

  private:
    void Compute(PeriodAnalysis& record, const WarningSink& warn);
    // The loaded samples, or nothing (after the warning) when they are not Analysable.
    std::optional<std::span<const double>> LoadedPeriod(const PeriodAnalysis& record,
                                                        const WarningSink& warn) const;

    std::vector<double> samples_;  // entries past SampleCount may hold an earlier period
    std::vector<double> fundamental_;
    std::vector<double> approximation_;
};

}  // namespace tesmera
