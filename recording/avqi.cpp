// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/avqi.h"

#include <algorithm>
#include <vector>

#include "base/TesmeraError.h"
#include "recording/cepstral_peak.h"
#include "recording/cycle_marks.h"
#include "recording/hann_band_filter.h"
#include "recording/harmonicity.h"
#include "recording/ltas.h"
#include "recording/perturbation.h"
#include "recording/pitch.h"
#include "recording/pitch_path.h"
#include "recording/sampled_mean.h"
#include "recording/voiced_speech.h"

namespace tesmera {

namespace {

constexpr HannBand BelowVoice{.From = 0, .To = 34, .Smoothing = 0.1};
constexpr double VowelSeconds = 3;
// The voice report's pitch analysis: cross-correlation with one period per
// window, four frames per window.
constexpr HarmonicitySettings VoiceReportPitch{.TimeStep = 1 / 75.0 / 4,
                                               .MinimumPitch = 75,
                                               .SilenceThreshold = 0.03,
                                               .VoicingThreshold = 0.45,
                                               .MaximumPitch = 600};
constexpr double LowestCycleF0 = 50;  // Hz
constexpr double HighestCycleF0 = 400;
// The marks of a voiced run reach this far beyond its first and last frame
// centres. The report's voicing frames are stricter than the procedure's
// pitch analysis (a clear pitch at 0.55 rather than 0.45, at most 26 dB down
// rather than about 30), which keeps the cycles of a syllable's onset and
// fade: up to 40 ms more of them on the generated readings, and those
// cycles' changing amplitudes raise the shimmer by up to 0.4 %.
constexpr double RunMargin = 0.05;  // seconds
constexpr double TrendFrom = 1;     // Hz
constexpr double TrendTo = 10000;

// The last VowelSeconds of the vowel: the samples whose centres lie in them.
std::vector<double> VowelEnd(std::span<const double> vowel, double rate) {
    const double step = 1 / rate;
    const double duration = step * static_cast<double>(vowel.size());
    if (duration <= VowelSeconds) {
        return {vowel.begin(), vowel.end()};
    }
    const SampleSpan span =
        SamplesInside({0.5 * step, step, 0, duration}, duration - VowelSeconds, duration);
    return {vowel.begin() + span.First, vowel.begin() + span.Last + 1};
}

bool InCycleRange(const VoicingFrame& frame) {
    return frame.Voiced && frame.F0 >= LowestCycleF0 && frame.F0 <= HighestCycleF0;
}

// The cycle marks of every voiced run of the sound, each run marked along
// the F0 of its own frames; marks in time order.
std::vector<double> MarksOfVoicedRuns(std::span<const double> sound, double rate,
                                      unsigned threads) {
    const std::vector<VoicingFrame> frames = AnalyseVoicing(sound, rate);
    const double duration = static_cast<double>(sound.size()) / rate;
    std::vector<double> marks;
    std::size_t i = 0;
    while (i < frames.size()) {
        if (!InCycleRange(frames[i])) {
            ++i;
            continue;
        }
        std::vector<F0Point> run;
        for (; i < frames.size() && InCycleRange(frames[i]); ++i) {
            run.push_back({frames[i].Time, frames[i].F0});
        }
        const double from = std::max(0.0, run.front().Time - RunMargin);
        const double to = std::min(duration, run.back().Time + RunMargin);
        for (const double mark :
             MarkCycles(sound, rate, from, to, LinearPeriodTrack(run), threads)) {
            if (marks.empty() || mark > marks.back()) {
                marks.push_back(mark);
            }
        }
    }
    return marks;
}

struct Shimmer {
    double Local;
    double LocalDb;
};

std::optional<Shimmer> MeasureJoinedShimmer(std::span<const double> sound, double rate,
                                            unsigned threads) {
    const std::vector<double> marks = MarksOfVoicedRuns(sound, rate, threads);
    const ShimmerFigures shimmer = MeasureShimmer(sound, rate, marks);
    if (!shimmer.Local || !shimmer.LocalDb) {
        return std::nullopt;
    }
    return Shimmer{*shimmer.Local, *shimmer.LocalDb};
}

}  // namespace

void ComputeAvqi(AvqiFigures& f) {
    f.Avqi = (4.152 - 0.177 * f.CppsDb - 0.006 * f.HnrDb - 0.037 * f.ShimmerLocalPct +
              0.941 * f.ShimmerLocalDb + 0.01 * f.LtasSlopeDb + 0.093 * f.LtasTiltDb) *
             2.8902;
}

std::optional<AvqiFigures> MeasureAvqi(std::span<const double> vowel,
                                       std::span<const double> speech, double rate,
                                       unsigned threads) {
    if (!(rate > 0)) {
        throw TesmeraError("the voice quality index needs a positive sampling rate");
    }
    const VoicedSpeech voiced = KeepVoicedSpeech(StopHannBand(speech, rate, BelowVoice), rate);
    std::vector<double> joined = voiced.Samples;
    const std::vector<double> vowelEnd = VowelEnd(StopHannBand(vowel, rate, BelowVoice), rate);
    joined.insert(joined.end(), vowelEnd.begin(), vowelEnd.end());

    const auto cpps = SmoothedCepstralPeakProminence(joined, rate, threads);
    const auto hnr = MeanPathHarmonicity(joined, rate, VoiceReportPitch, {}, threads);
    const auto shimmer = MeasureJoinedShimmer(joined, rate, threads);
    if (!cpps || !hnr || !shimmer) {
        return std::nullopt;
    }
    const Ltas ltas = OneHertzLtas(joined, rate);
    AvqiFigures figures;
    figures.CppsDb = *cpps;
    figures.HnrDb = *hnr;
    figures.ShimmerLocalPct = 100 * shimmer->Local;
    figures.ShimmerLocalDb = shimmer->LocalDb;
    figures.LtasSlopeDb = LtasSlope(ltas);
    figures.LtasTiltDb = LtasSlope(LtasTrendLine(ltas, TrendFrom, TrendTo));
    figures.SpeechVoicedSeconds = voiced.VoicedSeconds;
    ComputeAvqi(figures);
    return figures;
}

}  // namespace tesmera
