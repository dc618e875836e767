// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/AnalysisState.h"

#include <algorithm>

namespace tesmera {

void AnalysisState::ResetResults() {
    FundamentalOrder = FundamentalTraceOrder;
    EnergyTolerance = ApproxEnergyTolerance;
    FileLoaded = false;
    Samples.fill(0);
    FundamentalSignal.fill(0);
    ApproxSignal.fill(0);
    ax.fill(0);
    bx.fill(0);
    AA.fill(0);
    AANorm.fill(0);
    AmplitudeNorm = 0;
    SampleCount = 0;
    ExpertGrade = 0;
}

void AnalysisState::TakeLoaded(const PeriodAnalysis& record) {
    DataSize = record.DataSize;
    MaxAbs = record.MaxAbs;
    FundamentalMax = record.MaxAbs;
    ApproxMax = 0;
    FileLoaded = true;
    SampleCount = record.SampleCount;
    Mean = record.Mean;
    StdDev = record.StdDev;
    PeriodFrequency = record.PeriodFrequency;
    PeriodMs = record.PeriodMs;
}

void AnalysisState::TakeExpansion(const PeriodAnalysis& record, std::span<const double> fundamental,
                                  std::span<const double> approximation) {
    const auto count = static_cast<std::size_t>(SampleCount);
    std::copy_n(fundamental.begin(), count, FundamentalSignal.begin());
    std::copy_n(approximation.begin(), count, ApproxSignal.begin());
    FundamentalMax = record.FundamentalMax;
    ApproxMax = record.ApproxMax;
    ApproxOrder = record.ApproxOrder;
    ax = record.ax;
    bx = record.bx;
    AA = record.AA;
}

void AnalysisState::TakeRating(const PeriodAnalysis& record) {
    AmplitudeNorm = record.AmplitudeNorm;
    AANorm = record.AANorm;
    ScoreValue = record.ScoreValue;
    Score = record.Score;
    ExpertGrade = record.ExpertGrade.value_or(0);
}

}  // namespace tesmera
