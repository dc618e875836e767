// SPDX-License-Identifier: GPL-3.0-or-later
// The program-wide record of the loaded voice period and every result drawn
// from it. Plain data with fixed capacities: nothing is allocated per sample,
// and a load or compute only overwrites entries.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "analysis/period_analysis.h"
#include "wave/voice_period.h"

namespace tesmera {

struct AnalysisState {
    using Signal = std::array<double, MaxSamples>;
    using Harmonics = PeriodAnalysis::Harmonics;

    Signal Samples{};  // the loaded period, one entry per 16-bit sample
    std::int32_t SampleCount = 0;
    bool FileLoaded = false;
    std::string FileName;       // full path chosen in the last load, kept on rejection
    std::int32_t DataSize = 0;  // data chunk size in bytes, as the header states it
    double Mean = 0;
    double StdDev = 0;  // population standard deviation
    double MaxAbs = 0;  // scale of the blue oscilloscope trace
    double FundamentalMax = 0;
    double ApproxMax = 0;
    double PeriodFrequency = 0;  // Hz, at the nominal rate
    double PeriodMs = 0;         // ms, at the nominal rate

    Signal FundamentalSignal{};
    Signal ApproxSignal{};
    std::int32_t FundamentalOrder = FundamentalTraceOrder;
    std::int32_t ApproxOrder = 0;
    double EnergyTolerance = ApproxEnergyTolerance;

    Harmonics ax{};
    Harmonics bx{};
    Harmonics AA{};
    std::array<double, NormHarmonics> AANorm{};  // harmonics 1..NormHarmonics from index 0
    double AmplitudeNorm = 0;

    std::int32_t ExpertGrade = 0;
    std::array<double, ScoreModelCount> ScoreValue{};  // models in the order of ScoreModels
    std::array<std::int32_t, ScoreModelCount> Score{};

    // The state part of the window's reset: the buffers, coefficients and
    // counters a new load must not inherit. The scalars that every command
    // overwrites before showing them are left alone.
    void ResetResults();

    // Take a half's results from the period pipeline's record. A load also
    // lays the fundamental trace's scale on the period's own and drops the
    // approximation's; an expansion keeps the first SampleCount entries of
    // each reconstruction.
    void TakeLoaded(const PeriodAnalysis& record);
    void TakeExpansion(const PeriodAnalysis& record, std::span<const double> fundamental,
                       std::span<const double> approximation);
    void TakeRating(const PeriodAnalysis& record);
};

}  // namespace tesmera
