// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/voice_report.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <numeric>
#include <stdexcept>

#include "analysis/period_analysis.h"
#include "recording/harmonicity.h"
#include "recording/parallel_work.h"
#include "recording/period_extraction.h"
#include "recording/pitch.h"
#include "recording/resampling.h"
#include "recording/scanned_recording.h"
#include "recording/voiced_stretch.h"
#include "wave/voice_period.h"

namespace tesmera {

namespace {

// The stretch reaches half a frame step beyond its first and last frame.
constexpr double StretchMargin = 0.005;  // seconds
// Signal kept on each side of the stretch when it is brought to the
// nominal rate, so the band-limited filter sees real signal at the edges.
constexpr double ConversionMargin = 0.02;  // seconds
// A recording up to this long is measured whole, so the harmonicity frames
// lie where they lie in the whole recording and its global peak is the
// recording's own, as a voice tool analysing the file gives them. At the
// highest input rate it costs 46 MB a copy.
constexpr double WholeRecordingSeconds = 60;
// A longer one is measured on its stretch with this much signal on each
// side: the check of the last cycle looks one and a half periods past it
// (25 ms at LowestF0), a harmonicity frame reaches 13 ms past its centre
// and the conversion to the nominal rate wants ConversionMargin.
constexpr double ExcerptMargin = 0.1;  // seconds
// Cycles analysed by one task, with one analyser's buffers.
constexpr std::size_t CyclesPerTask = 32;

struct Track {
    std::span<const VoicingFrame> frames;
    FrameRange stretch;
};

// The F0 of the stretch's frames, linear between their centres, constant
// beyond the first and last.
PeriodTrack StretchPeriods(const Track& track) {
    const auto first = track.frames.begin() + static_cast<std::ptrdiff_t>(track.stretch.First);
    const auto end = track.frames.begin() + static_cast<std::ptrdiff_t>(track.stretch.Last) + 1;
    return [first, end](double seconds) {
        const auto after = std::upper_bound(
            first, end, seconds, [](double t, const VoicingFrame& f) { return t < f.Time; });
        if (after == first) {
            return 1 / first->F0;
        }
        if (after == end) {
            return 1 / (end - 1)->F0;
        }
        const VoicingFrame& a = *(after - 1);
        const VoicingFrame& b = *after;
        const double share = (seconds - a.Time) / (b.Time - a.Time);
        return 1 / (a.F0 + share * (b.F0 - a.F0));
    };
}

std::optional<std::size_t> FrameNear(std::span<const VoicingFrame> frames, double seconds) {
    if (frames.empty()) {
        return std::nullopt;
    }
    const auto nearest = std::ranges::min_element(
        frames, {}, [&](const VoicingFrame& f) { return std::fabs(f.Time - seconds); });
    return static_cast<std::size_t>(nearest - frames.begin());
}

// The longest steady stretch, or the one around `around`, limited to
// LongestStretchSeconds: around that frame, or else the stretch's middle,
// away from its onset and offset.
std::optional<FrameRange> ChooseStretch(std::span<const VoicingFrame> frames,
                                        std::optional<std::size_t> around) {
    auto stretch = FindSteadyStretch(frames, around);
    if (!stretch ||
        frames[stretch->Last].Time - frames[stretch->First].Time <= LongestStretchSeconds) {
        return stretch;
    }
    const std::size_t centre = around ? *around : (stretch->First + stretch->Last) / 2;
    const double reach = LongestStretchSeconds / 2;
    const double centreTime = frames[centre].Time;
    // A centre near either end of the stretch shifts the window back inside it.
    const double start = std::clamp(centreTime - reach, frames[stretch->First].Time,
                                    frames[stretch->Last].Time - LongestStretchSeconds);
    std::size_t first = stretch->First;
    while (frames[first].Time < start) {
        ++first;
    }
    std::size_t last = first;
    while (last < stretch->Last && frames[last + 1].Time - frames[first].Time <= 2 * reach) {
        ++last;
    }
    return FrameRange{first, last};
}

// The stretch, or the reason there is none (in `status`).
std::optional<Track> TrackStretch(const ScannedRecording& recording,
                                  std::optional<double> atSeconds, std::string& status) {
    Track track;
    track.frames = recording.Frames();
    if (std::ranges::all_of(track.frames,
                            [](const VoicingFrame& f) { return f.Rms <= SilenceRms; })) {
        status = "silent";
        return std::nullopt;
    }
    std::optional<std::size_t> around;
    if (atSeconds) {
        if (*atSeconds < 0 || *atSeconds > recording.Duration()) {
            status = "the chosen time lies outside the recording";
            return std::nullopt;
        }
        around = FrameNear(track.frames, *atSeconds);
    }
    const auto stretch = ChooseStretch(track.frames, around);
    if (!stretch) {
        status = atSeconds ? "unvoiced at the chosen time" : "unvoiced";
        return std::nullopt;
    }
    track.stretch = *stretch;
    return track;
}

// The full-rate samples the cycles are measured on: the whole recording
// when short enough, else the stretch with ExcerptMargin on each side.
// Sample i of Samples is sample First + i of the recording.
struct Excerpt {
    std::size_t First = 0;
    std::span<const double> Samples;
    double StartSeconds = 0;  // of sample First; exactly 0 for a whole recording
};

Excerpt ExcerptFor(ScannedRecording& recording, double from, double to) {
    const double rate = recording.SampleRate();
    if (recording.Duration() <= WholeRecordingSeconds) {
        return {0, recording.Samples(0, recording.SampleCount()), 0};
    }
    const auto first =
        static_cast<std::size_t>(std::max(0.0, std::floor((from - ExcerptMargin) * rate)));
    const auto end = static_cast<std::size_t>(std::ceil((to + ExcerptMargin) * rate));
    return {first, recording.Samples(first, end - first), static_cast<double>(first) / rate};
}

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
    analyser.ScoreSamples(analysis, cycle.Period, [](const std::string&) {});
    cycle.Scored = analysis.Scored;
    cycle.ScoreValue = analysis.ScoreValue;
    cycle.Score = analysis.Score;
}

// Cuts, scales and analyses every accepted cycle, a run of CyclesPerTask
// at a time per thread.
void AnalyseCycles(VoiceReport& report, const Excerpt& excerpt, std::int32_t sampleRate,
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

void Summarise(VoiceReport& report, double rate) {
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
    report.Steady = IsSteady(values);
    if (!f0.empty()) {
        const double n = static_cast<double>(f0.size());
        report.F0MeanHz = std::accumulate(f0.begin(), f0.end(), 0.0) / n;
        double squares = 0;
        for (const double f : f0) {
            squares += (f - report.F0MeanHz) * (f - report.F0MeanHz);
        }
        report.F0SdHz = f0.size() > 1 ? std::sqrt(squares / (n - 1)) : 0;
    }
}

}  // namespace

VoiceReport ReportVoice(ScannedRecording& recording, std::optional<double> atSeconds) {
    VoiceReport report;
    const auto track = TrackStretch(recording, atSeconds, report.Status);
    if (!track) {
        return report;
    }
    report.StretchStartSeconds = track->frames[track->stretch.First].Time - StretchMargin;
    report.StretchEndSeconds = track->frames[track->stretch.Last].Time + StretchMargin;
    const double rate = recording.SampleRate();
    const Excerpt excerpt =
        ExcerptFor(recording, report.StretchStartSeconds, report.StretchEndSeconds);
    // From here on, times are seconds from the excerpt's first sample.
    const double offset = excerpt.StartSeconds;
    const PeriodTrack period = [periods = StretchPeriods(*track), offset](double seconds) {
        return periods(seconds + offset);
    };
    const std::span<const double> samples = excerpt.Samples;
    const unsigned threads = recording.Threads();
    const std::vector<double> marks =
        MarkCycles(samples, rate, report.StretchStartSeconds - offset,
                   report.StretchEndSeconds - offset, period, threads);
    const std::vector<CycleVerdict> verdicts = CheckCycles(samples, rate, marks, period, threads);
    for (std::size_t i = 0; i < verdicts.size(); ++i) {
        ReportedCycle cycle;
        cycle.StartSample = marks[i] * rate + static_cast<double>(excerpt.First);
        cycle.EndSample = marks[i + 1] * rate + static_cast<double>(excerpt.First);
        cycle.Verdict = verdicts[i];
        report.Cycles.push_back(std::move(cycle));
    }
    report.Jitter = MeasureJitter(marks);
    report.Shimmer = MeasureShimmer(samples, rate, marks);
    if (!marks.empty()) {
        report.HnrDb =
            MeanHarmonicity(samples, rate, marks, marks.front(), marks.back(), {}, threads);
    }
    AnalyseCycles(report, excerpt, recording.SampleRate(), threads);
    Summarise(report, rate);
    report.Status = report.AnalysedCycles < ReportMinimumCycles
                        ? "too short: fewer than " + std::to_string(ReportMinimumCycles) + " cycles"
                        : std::string(ReportOk);
    return report;
}

VoiceReport ReportVoice(std::span<const double> samples, std::int32_t rate,
                        std::optional<double> atSeconds, unsigned threads) {
    RecordingInMemory recording(samples, rate, threads);
    return ReportVoice(recording, atSeconds);
}

}  // namespace tesmera
