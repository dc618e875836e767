#include "recording/voice_report.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <stdexcept>

#include "analysis/period_analysis.h"
#include "recording/harmonicity.h"
#include "recording/period_extraction.h"
#include "recording/pitch.h"
#include "recording/resampling.h"
#include "recording/voiced_stretch.h"
#include "wave/voice_period.h"

namespace tesmera {

namespace {

// Pitch tracking runs at a quarter of the nominal rate, as for extraction.
constexpr double TrackingRate = NominalSampleRate / 4.0;
// The stretch reaches half a frame step beyond its first and last frame.
constexpr double StretchMargin = 0.005;  // seconds
// Signal kept on each side of the stretch when it is brought to the
// nominal rate, so the band-limited filter sees real signal at the edges.
constexpr double ConversionMargin = 0.02;  // seconds

struct Track {
    std::vector<VoicingFrame> frames;
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

std::optional<std::size_t> FrameNear(const std::vector<VoicingFrame>& frames, double seconds) {
    if (frames.empty()) {
        return std::nullopt;
    }
    const auto nearest = std::ranges::min_element(
        frames, {}, [&](const VoicingFrame& f) { return std::fabs(f.Time - seconds); });
    return static_cast<std::size_t>(nearest - frames.begin());
}

// The stretch, or the reason there is none (in `status`).
std::optional<Track> TrackStretch(std::span<const double> samples, double rate,
                                  std::optional<double> atSeconds, std::string& status) {
    Track track;
    track.frames = AnalyseVoicing(Resample(samples, TrackingRate / rate, ResamplingQuality::Fast),
                                  TrackingRate);
    if (std::ranges::all_of(track.frames,
                            [](const VoicingFrame& f) { return f.Rms <= SilenceRms; })) {
        status = "silent";
        return std::nullopt;
    }
    std::optional<std::size_t> around;
    if (atSeconds) {
        const double duration = static_cast<double>(samples.size()) / rate;
        if (*atSeconds < 0 || *atSeconds > duration) {
            status = "the chosen time lies outside the recording";
            return std::nullopt;
        }
        around = FrameNear(track.frames, *atSeconds);
    }
    const auto stretch = FindSteadyStretch(track.frames, around);
    if (!stretch) {
        status = atSeconds ? "unvoiced at the chosen time" : "unvoiced";
        return std::nullopt;
    }
    track.stretch = *stretch;
    return track;
}

// The stretch with its margins at the nominal rate, without its mean, and
// the time of its first sample.
struct NominalRegion {
    double StartSeconds;
    std::vector<double> Samples;
};

NominalRegion ToNominalRate(std::span<const double> samples, double rate, double from, double to) {
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
        region.Samples = Resample(part, NominalSampleRate / rate, ResamplingQuality::Fast);
    }
    const double mean = std::accumulate(region.Samples.begin(), region.Samples.end(), 0.0) /
                        static_cast<double>(region.Samples.size());
    for (double& v : region.Samples) {
        v -= mean;
    }
    return region;
}

// Cuts, scales and analyses every accepted cycle.
void AnalyseCycles(VoiceReport& report, std::span<const double> samples, double rate) {
    const NominalRegion region =
        ToNominalRate(samples, rate, report.StretchStartSeconds, report.StretchEndSeconds);
    PeriodAnalyser analyser;
    for (ReportedCycle& cycle : report.Cycles) {
        if (cycle.Verdict != CycleVerdict::CvAccepted) {
            continue;
        }
        // The samples from the first at or after the start mark up to the
        // last before the end mark: the next cycle begins at that mark.
        const auto position = [&](double sample) {
            return (sample / rate - region.StartSeconds) * NominalSampleRate;
        };
        const auto first =
            static_cast<std::size_t>(std::max(0.0, std::ceil(position(cycle.StartSample))));
        const auto end = std::min(region.Samples.size(),
                                  static_cast<std::size_t>(std::ceil(position(cycle.EndSample))));
        if (end <= first + 1) {
            continue;
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

VoiceReport ReportVoice(std::span<const double> samples, std::int32_t rate,
                        std::optional<double> atSeconds) {
    if (rate <= 0) {
        throw std::invalid_argument("the sample rate must be positive");
    }
    VoiceReport report;
    const auto track = TrackStretch(samples, rate, atSeconds, report.Status);
    if (!track) {
        return report;
    }
    report.StretchStartSeconds = track->frames[track->stretch.First].Time - StretchMargin;
    report.StretchEndSeconds = track->frames[track->stretch.Last].Time + StretchMargin;
    const PeriodTrack period = StretchPeriods(*track);
    const std::vector<double> marks =
        MarkCycles(samples, rate, report.StretchStartSeconds, report.StretchEndSeconds, period);
    const std::vector<CycleVerdict> verdicts = CheckCycles(samples, rate, marks, period);
    for (std::size_t i = 0; i < verdicts.size(); ++i) {
        ReportedCycle cycle;
        cycle.StartSample = marks[i] * rate;
        cycle.EndSample = marks[i + 1] * rate;
        cycle.Verdict = verdicts[i];
        report.Cycles.push_back(std::move(cycle));
    }
    report.Jitter = MeasureJitter(marks);
    report.Shimmer = MeasureShimmer(samples, rate, marks);
    if (!marks.empty()) {
        report.HnrDb = MeanHarmonicity(samples, rate, marks, marks.front(), marks.back());
    }
    AnalyseCycles(report, samples, rate);
    Summarise(report, rate);
    report.Status = report.AnalysedCycles < ReportMinimumCycles
                        ? "too short: fewer than " + std::to_string(ReportMinimumCycles) + " cycles"
                        : std::string(ReportOk);
    return report;
}

}  // namespace tesmera
