// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/period_analysis.h"

#include <algorithm>
#include <cmath>

#include "analysis/reports.h"
#include "wave/binary_file.h"
#include "wave/errors.h"
#include "wave/file_name.h"
#include "wave/sample_reader.h"
#include "wave/wave_header.h"

namespace tesmera {

namespace {

void Describe(PeriodAnalysis& record, const SampleReadResult& read) {
    const PeriodStatistics statistics = ComputePeriodStatistics(read);
    record.SampleCount = read.SampleCount;
    record.MaxAbs = read.MaxAbs;
    record.Mean = statistics.Mean;
    record.StdDev = statistics.StdDev;
    record.PeriodFrequency = statistics.PeriodFrequency;
    record.PeriodMs = statistics.PeriodMs;
    record.Stage = AnalysisStage::Loaded;
}

double PeakOf(std::span<const double> values) {
    double peak = 0;
    for (const double value : values) {
        peak = std::max(peak, std::fabs(value));
    }
    return peak;
}

void ReadGrade(PeriodAnalysis& record, MissingGrade missing) {
    try {
        record.ExpertGrade = ExpertGradeOf(AsciiLower(FileNamePart(record.Path)));
    } catch (const ConvertError& error) {
        if (missing == MissingGrade::Stops) {
            throw;
        }
        record.GradeNote = ErrorBoxText(error.what());
    }
}

void Amplitudes(PeriodAnalysis& record, std::span<const double> period) {
    // The floor is relative to the samples the series was computed from.
    AmplitudeStep(record.ax, record.bx, PeakOf(period), record.AA);
}

void ClearScores(PeriodAnalysis& record) {
    record.AmplitudeNorm = 0;
    record.ScoreValue.fill(0.0);
    record.Score.fill(0);
}

void Normalise(PeriodAnalysis& record, const WarningSink& warn) {
    // The step warns exactly when it leaves the models out.
    bool warned = false;
    const WarningSink watch = [&warned, &warn](const Status& warning) {
        warned = true;
        warn(warning);
    };
    NormalisationStep(record.AA, record.AmplitudeNorm, record.AANorm, record.ScoreValue,
                      record.Score, watch);
    record.Scored = !warned;
    record.Stage = AnalysisStage::Analysed;
}

}  // namespace

bool LoadPeriodFile(PeriodAnalysis& record, std::span<double> samples, const WarningSink& warn) {
    // One open and, for a voice period, one block read: the samples follow
    // the header in the same block.
    FileReader file(record.Path);
    WaveHeadFields header;
    if (WaveHeadRead(file, header, warn) != HeaderAccepted) {
        return false;
    }
    record.DataSize = header.DataSize;
    Describe(record, ReadSamples(file, header.DataOffset, header.DataSize, samples));
    return true;
}

void LoadPeriodSamples(PeriodAnalysis& record, std::span<const std::int16_t> period,
                       std::span<double> samples) {
    Describe(record, StoreSamples(period, samples));
}

bool Analysable(bool loaded, std::int32_t sampleCount) {
    return loaded && sampleCount <= MaxSamples;
}

void ExpandPeriod(PeriodAnalysis& record, std::span<const double> period,
                  std::int32_t fundamentalOrder, double tolerance, std::span<double> fundamental,
                  std::span<double> approximation) {
    const auto count = static_cast<std::int32_t>(period.size());
    FourierApr(period, count, tolerance, record.ax, record.bx, fundamentalOrder, fundamental,
               record.ApproxOrder, approximation);
    record.FundamentalMax = PeakOf(fundamental.first(period.size()));
    record.ApproxMax = PeakOf(approximation.first(period.size()));
    Amplitudes(record, period);
}

void RatePeriod(PeriodAnalysis& record, MissingGrade missing, const WarningSink& warn) {
    ClearScores(record);
    ReadGrade(record, missing);
    Normalise(record, warn);
}

void ScorePeriod(PeriodAnalysis& record, std::span<const double> period, const WarningSink& warn) {
    record.ax.fill(0.0);
    record.bx.fill(0.0);
    if (period.size() > 1) {
        FourierCoefficients(period, MaximumOrder(static_cast<std::int32_t>(period.size())),
                            record.ax, record.bx);
    }
    Amplitudes(record, period);
    ClearScores(record);
    Normalise(record, warn);
}

PeriodAnalyser::PeriodAnalyser()
    : samples_(MaxSamples), fundamental_(MaxSamples), approximation_(MaxSamples) {}

void PeriodAnalyser::AnalyseFile(PeriodAnalysis& record, const WarningSink& warn) {
    if (LoadPeriodFile(record, samples_, warn)) {
        Compute(record, warn);
    }
}

void PeriodAnalyser::AnalyseSamples(PeriodAnalysis& record, std::span<const std::int16_t> period,
                                    const WarningSink& warn) {
    LoadPeriodSamples(record, period, samples_);
    Compute(record, warn);
}

void PeriodAnalyser::ScoreSamples(PeriodAnalysis& record, std::span<const std::int16_t> period,
                                  const WarningSink& warn) {
    LoadPeriodSamples(record, period, samples_);
    if (const auto loaded = LoadedPeriod(record, warn)) {
        ScorePeriod(record, *loaded, warn);
    }
}

std::optional<std::span<const double>> PeriodAnalyser::LoadedPeriod(const PeriodAnalysis& record,
                                                                    const WarningSink& warn) const {
    if (!Analysable(true, record.SampleCount)) {
        warn({StatusCode::TooLong, std::string(NothingToAnalyseWarning)});
        return std::nullopt;
    }
    return std::span<const double>(samples_).first(static_cast<std::size_t>(record.SampleCount));
}

void PeriodAnalyser::Compute(PeriodAnalysis& record, const WarningSink& warn) {
    const auto loaded = LoadedPeriod(record, warn);
    if (!loaded) {
        return;
    }
    const std::size_t count = loaded->size();
    ExpandPeriod(record, *loaded, FundamentalTraceOrder, ApproxEnergyTolerance,
                 std::span(fundamental_).first(count), std::span(approximation_).first(count));
    RatePeriod(record, MissingGrade::Noted, warn);
}

}  // namespace tesmera
