// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/voice_report.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <numeric>

#include "analysis/number_text.h"
#include "analysis/period_analysis.h"
#include "recording/cepstral_peak_recording.h"
#include "recording/harmonicity.h"
#include "recording/parallel_work.h"
#include "recording/period_extraction.h"
#include "recording/resampling.h"
#include "recording/scanned_recording.h"
#include "recording/voice_plausibility.h"
#include "wave/voice_period.h"

namespace tesmera {

namespace {

// Signal kept on each side of the stretch when it is brought to the
// nominal rate, so the band-limited filter sees real signal at the edges.
constexpr double ConversionMargin = 0.02;  // seconds
// Cycles analysed by one task, with one analyser's buffers.
constexpr std::size_t CyclesPerTask = 32;

// The stretch with its margins at the nominal rate, without its mean, and
// the time of its first sample.
struct NominalRegion {
    double StartSeconds;
    std::vector<double> Samples;
};

NominalRegion ToNominalRate(std::span<const double> samples, std::int32_t sampleRate, double from,
                            double to, unsigned threads) {
    const double rate = sampleRate;
    const auto first =
        static_cast<std::size_t>(std::max(0.0, std::floor((from - ConversionMargin) * rate)));
    const auto end = std::min(
        samples.size(), static_cast<std::size_t>(std::ceil((to + ConversionMargin) * rate)) + 1);
    const std::span<const double> part = samples.subspan(first, end - first);
    NominalRegion region{static_cast<double>(first) / rate, {}};
    if (rate == NominalSampleRate) {
        region.Samples.assign(part.begin(), part.end());
    } else {
        // The scores read harmonics up to the 15th, far inside the fast
        // converter's pass band; the best one would cost most of the report.
        region.Samples = ResampleInPieces(part, sampleRate, NominalSampleRate, threads);
    }
    const double mean = std::accumulate(region.Samples.begin(), region.Samples.end(), 0.0) /
                        static_cast<double>(region.Samples.size());
    for (double& v : region.Samples) {
        v -= mean;
    }
    return region;
}

// Cuts `cycle` from `region`, where `position` gives a recording sample's
// place, scales it and scores it as the window would.
void AnalyseCycle(ReportedCycle& cycle, const NominalRegion& region,
                  const std::function<double(double)>& position, PeriodAnalyser& analyser) {
    // The samples from the first at or after the start mark up to the
    // last before the end mark: the next cycle begins at that mark.
    const auto first =
        static_cast<std::size_t>(std::max(0.0, std::ceil(position(cycle.StartSample))));
    const auto end = std::min(region.Samples.size(),
                              static_cast<std::size_t>(std::ceil(position(cycle.EndSample))));
    if (end <= first + 1) {
        return;
    }
    cycle.Period = PeriodAs16Bit(std::span(region.Samples).subspan(first, end - first));
    // The window's own scoring; its warnings (a zero harmonic) only
    // leave the cycle unscored.
    PeriodAnalysis analysis;
    analyser.ScoreSamples(analysis, cycle.Period, [](const Status&) {});
    cycle.Scored = analysis.Scored;
    cycle.ScoreValue = analysis.ScoreValue;
    cycle.Score = analysis.Score;
}

// Cuts, scales and analyses every accepted cycle, a run of CyclesPerTask
// at a time per thread.
void AnalyseCycles(VoiceReport& report, const RecordingExcerpt& excerpt, std::int32_t sampleRate,
                   unsigned threads) {
    const double rate = sampleRate;
    const NominalRegion region = ToNominalRate(
        excerpt.Samples, sampleRate, report.StretchStartSeconds - excerpt.StartSeconds,
        report.StretchEndSeconds - excerpt.StartSeconds, threads);
    const std::function<double(double)> position = [&](double sample) {
        return ((sample - static_cast<double>(excerpt.First)) / rate - region.StartSeconds) *
               NominalSampleRate;
    };
    std::vector<ReportedCycle>& cycles = report.Cycles;
    RunInParallelRuns(cycles.size(), CyclesPerTask, threads,
                      [&](std::size_t first, std::size_t end) {
                          PeriodAnalyser analyser;
                          for (std::size_t i = first; i < end; ++i) {
                              if (cycles[i].Verdict == CycleVerdict::CvAccepted) {
                                  AnalyseCycle(cycles[i], region, position, analyser);
                              }
                          }
                      });
}

std::string SecondsText(double seconds) {
    return FixedText(seconds, 15, 2, ".");
}

std::string ChangeText(const VoiceChange& change) {
    if (change.What == VoiceChange::Kind::Break) {
        return "the voice breaks off and resumes at " + SecondsText(change.Seconds) + " s";
    }
    if (change.What == VoiceChange::Kind::Aperiodic) {
        return "the sound goes on without a pitch (creak or breath) " +
               std::string(change.F0Before > 0 ? "from " : "until ") + SecondsText(change.Seconds) +
               " s";
    }
    return "the pitch jumps from " + FixedText(change.F0Before, 15, 0, ".") + " to " +
           FixedText(change.F0After, 15, 0, ".") + " Hz at " + SecondsText(change.Seconds) + " s";
}

// Why the recording is not steady, or nothing when it is.
std::optional<std::string> Unsteadiness(const VoiceReport& report, const MarkedStretch& stretch,
                                        const HalvesComparison& halves) {
    if (!stretch.Changes.empty()) {
        return ChangeText(stretch.Changes.front());
    }
    if (report.AnalysedCycles < SteadyCycleCount) {
        return "fewer than " + std::to_string(SteadyCycleCount) + " cycles analysed";
    }
    const double phonation = std::min(stretch.PhonationEndSeconds - stretch.PhonationStartSeconds,
                                      LongestStretchSeconds);
    const double share = (stretch.EndSeconds - stretch.StartSeconds) / phonation;
    if (share < SteadyPhonationShare) {
        return "the stretch covers " + FixedText(100 * share, 15, 0, ".") + " % of the phonation";
    }
    if (!halves.Agree) {
        return std::string("the two halves of the stretch give different medians");
    }
    return std::nullopt;
}

void Summarise(VoiceReport& report, const MarkedStretch& stretch, SpreadSources& sources) {
    const double rate = report.SampleRate;
    std::vector<CycleValues> values;
    std::vector<double> f0;
    for (const ReportedCycle& cycle : report.Cycles) {
        if (cycle.Scored) {
            values.push_back(cycle.ScoreValue);
            f0.push_back(rate / (cycle.EndSample - cycle.StartSample));
        }
    }
    report.AnalysedCycles = values.size();
    for (std::size_t m = 0; m < ScoreModelCount; ++m) {
        std::vector<double> column;
        for (const CycleValues& cycle : values) {
            column.push_back(cycle[m]);
        }
        report.Models[m] = SummariseModel(column);
    }
    const HalvesComparison halves = CompareHalves(values);
    const bool poor = report.Quality && report.Quality->Poor();
    for (std::size_t m = 0; m < ScoreModelCount; ++m) {
        ModelSummary& model = report.Models[m];
        model.Borderline =
            model.Borderline || halves.StraddleBorder[m] || (poor && model.Score > 0);
    }
    const auto unsteady = Unsteadiness(report, stretch, halves);
    report.Steady = !unsteady;
    report.UnsteadyReason = unsteady.value_or("");
    if (!f0.empty()) {
        const double n = static_cast<double>(f0.size());
        report.F0MeanHz = std::accumulate(f0.begin(), f0.end(), 0.0) / n;
        report.F0SdHz = SampleStandardDeviation(f0).value_or(0);
    }
    sources.CycleF0 = std::move(f0);
    sources.CycleModelValues = std::move(values);
}

// Jitter, shimmer and HNR, keeping the units each is computed from.
void Measure(VoiceReport& report, const MarkedStretch& stretch, unsigned threads,
             SpreadSources& sources) {
    const double rate = report.SampleRate;
    const std::span<const double> samples = stretch.Excerpt.Samples;
    const std::vector<double>& marks = stretch.Marks;
    sources.Periods = MarkPeriods(marks);
    report.Jitter = MeasureJitterOfPeriods(sources.Periods);
    sources.Amplitudes = MeasurePeriodAmplitudes(samples, rate, marks);
    report.Shimmer = MeasureShimmerOfAmplitudes(sources.Amplitudes);
    const double offset = stretch.Excerpt.StartSeconds;
    const HarmonicitySettings harmonicity{.MinimumPitch = MinimumPitchFor(marks, stretch.Verdicts)};
    sources.HnrFrames = VoicedFrameHarmonicities(samples, rate, stretch.StartSeconds - offset,
                                                 stretch.EndSeconds - offset, harmonicity, threads);
    report.HnrDb = MeanHarmonicity(sources.HnrFrames);
}

// Everything the report finds in an Ok stretch but CPPS: its quality,
// whether it is a voice at all, its cycles and their summaries.
void ReportStretch(VoiceReport& report, const ScannedRecording& recording,
                   const MarkedStretch& stretch, SpreadSources& sources) {
    report.StretchStartSeconds = stretch.StartSeconds;
    report.StretchEndSeconds = stretch.EndSeconds;
    const double rate = recording.SampleRate();
    if (stretch.Marks.size() >= 2) {
        const AveragedSpectrum spectrum = StretchSpectrum(stretch, rate);
        report.Quality =
            AssessRecordingQuality(stretch, recording.SampleRate(), recording.Frames(), spectrum);
        // A tone or two voices are not graded at all.
        if (const std::optional<Status> implausible = ImplausibleVoice(spectrum, rate)) {
            report.Outcome = *implausible;
            return;
        }
    }
    const auto first = static_cast<double>(stretch.Excerpt.First);
    for (std::size_t i = 0; i < stretch.Verdicts.size(); ++i) {
        ReportedCycle cycle;
        cycle.StartSample = stretch.Marks[i] * rate + first;
        cycle.EndSample = stretch.Marks[i + 1] * rate + first;
        cycle.Verdict = stretch.Verdicts[i];
        report.Cycles.push_back(std::move(cycle));
    }
    const unsigned threads = recording.Threads();
    Measure(report, stretch, threads, sources);
    AnalyseCycles(report, stretch.Excerpt, recording.SampleRate(), threads);
    Summarise(report, stretch, sources);
    report.Outcome = report.AnalysedCycles < ReportMinimumCycles ? TooShortStatus() : Status{};
}

}  // namespace

VoiceReport ReportVoice(ScannedRecording& recording, std::optional<double> atSeconds) {
    VoiceReport report;
    report.SampleRate = recording.SampleRate();
    const MarkedStretch stretch = MarkStretch(recording, atSeconds);
    SpreadSources sources;
    std::optional<CepstralPeakFrames> cpps;
    if (!stretch.Outcome.Ok()) {
        cpps = ReportedCepstralPeakProminence(recording, stretch);
        report.Outcome = stretch.Outcome;
    } else {
        // CPPS reads only the stretch's excerpt, as the rest does: the two
        // run side by side, and each fills the other's idle moments.
        RunInParallel(2, recording.Threads(), [&](std::size_t part) {
            if (part == 0) {
                cpps = ReportedCepstralPeakProminence(recording, stretch);
            } else {
                ReportStretch(report, recording, stretch, sources);
            }
        });
    }
    if (cpps) {
        report.CppsDb = cpps->MeanDb;
        sources.CppsFrames = std::move(cpps->FrameDb);
    }
    report.SpreadUnits = std::move(sources);
    return report;
}

void EstimateSpreads(VoiceReport& report, unsigned threads) {
    report.Spreads = BootstrapSpreads(report.SpreadUnits, threads);
}

VoiceReport ReportVoice(std::span<const double> samples, std::int32_t rate,
                        std::optional<double> atSeconds, unsigned threads) {
    RecordingInMemory recording(samples, rate, threads);
    return ReportVoice(recording, atSeconds);
}

std::optional<std::size_t> AnalysedCycleNearest(const VoiceReport& report, double seconds) {
    const double sample = seconds * report.SampleRate;
    std::optional<std::size_t> nearest;
    double nearestDistance = 0;
    for (std::size_t i = 0; i < report.Cycles.size(); ++i) {
        const ReportedCycle& cycle = report.Cycles[i];
        if (!cycle.Scored) {
            continue;
        }
        const double distance =
            std::max({0.0, cycle.StartSample - sample, sample - cycle.EndSample});
        if (!nearest || distance < nearestDistance) {
            nearest = i;
            nearestDistance = distance;
        }
    }
    return nearest;
}

CycleCounts CountCycles(const VoiceReport& report) {
    CycleCounts counts;
    counts.Marked = report.Cycles.size();
    for (const ReportedCycle& cycle : report.Cycles) {
        switch (cycle.Verdict) {
            case CycleVerdict::CvOffTrack:
                ++counts.OffTrack;
                break;
            case CycleVerdict::CvMisshapen:
                ++counts.Misshapen;
                break;
            case CycleVerdict::CvAccepted:
                ++(cycle.Scored ? counts.Analysed : counts.Unscored);
                break;
        }
    }
    return counts;
}

std::string CycleCountsText(const CycleCounts& counts) {
    std::string text = std::to_string(counts.Analysed) + " of " + std::to_string(counts.Marked) +
                       " cycles analysed";
    std::string reasons;
    const auto add = [&reasons](std::size_t count, const char* reason) {
        if (count > 0) {
            reasons += (reasons.empty() ? "" : ", ") + std::to_string(count) + " " + reason;
        }
    };
    add(counts.OffTrack, "off the pitch track");
    add(counts.Misshapen, "misshapen");
    add(counts.Unscored, "unscored");
    return reasons.empty() ? text : text + " (left out: " + reasons + ")";
}

}  // namespace tesmera
