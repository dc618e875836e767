// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/pitch.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "recording/parallel_work.h"

namespace tesmera {

namespace {

constexpr double PeakShare = 0.9;
// Half a lag is searched within these shares of the lag; a peak there with
// this share of the lag's strength means the lag spans two cycles.
constexpr double HalfLagLowest = 0.45;
constexpr double HalfLagHighest = 0.55;
constexpr double PeakShareOfTwoCycles = 0.9;
// A rough voice with a harmonics-to-noise ratio of 3 dB reaches a strength
// of about 0.6 in these frames; white noise stays below 0.2.
constexpr double VoicedStrength = 0.55;
constexpr double VoicedLevelBelowLoudest = 0.05;  // −26 dB
constexpr double FrameSeconds = 0.05;
constexpr double HopSeconds = 0.01;

// Offset of the vertex of the parabola through (−1, a), (0, b), (1, c).
double ParabolaPeakOffset(double a, double b, double c) {
    const double curvature = a - 2 * b + c;
    return curvature < 0 ? 0.5 * (a - c) / curvature : 0;
}

std::vector<double> WithoutMean(std::span<const double> frame) {
    const double mean = std::accumulate(frame.begin(), frame.end(), 0.0) / frame.size();
    std::vector<double> centred(frame.begin(), frame.end());
    for (double& x : centred) {
        x -= mean;
    }
    return centred;
}

double Rms(std::span<const double> centred) {
    const double energy = std::inner_product(centred.begin(), centred.end(), centred.begin(), 0.0);
    return std::sqrt(energy / centred.size());
}

// Whole lags, First to Last inclusive.
struct LagRange {
    std::size_t First;
    std::size_t Last;
};

// The lags searched for a period of minLag..maxLag samples in a signal of
// `length` samples: nothing when the range is empty or the signal too short
// for it.
std::optional<LagRange> SearchedLags(double minLag, double maxLag, std::size_t length) {
    // The whole lag just below minLag belongs to the range: a period of
    // 11.25 samples peaks at lag 11, and without it the peak of two periods
    // would be taken for the period (an octave too low at the top).
    const auto first = static_cast<std::size_t>(std::max(1.0, std::floor(minLag)));
    const auto last = static_cast<std::size_t>(std::floor(maxLag));
    // One lag either side, so a peak at the range's edge can be judged.
    if (first > last || last + 1 >= length / 2) {
        return std::nullopt;
    }
    return LagRange{first, last};
}

// The period within `lags` read from the normalised autocorrelation `r`,
// taken up to lags.Last + 1 at least.
std::optional<PitchEstimate> PeakIn(std::span<const double> r, const LagRange& lags) {
    std::vector<std::size_t> peaks;
    for (std::size_t lag = lags.First; lag <= lags.Last; ++lag) {
        if (r[lag] > r[lag - 1] && r[lag] >= r[lag + 1]) {
            peaks.push_back(lag);
        }
    }
    const auto correlation = [&](std::size_t lag) { return r[lag]; };
    const double highest =
        peaks.empty() ? 0 : correlation(std::ranges::max(peaks, {}, correlation));
    // A period repeats the waveform: only a positive peak can be one.
    if (highest <= 0) {
        return std::nullopt;
    }
    const std::size_t chosen =
        *std::ranges::find_if(peaks, [&](auto lag) { return r[lag] >= PeakShare * highest; });
    const double offset = ParabolaPeakOffset(r[chosen - 1], r[chosen], r[chosen + 1]);
    return PitchEstimate{static_cast<double>(chosen) + offset, r[chosen]};
}

// The peak found near half of `pitch`'s lag, when it shows two cycles.
std::optional<PitchEstimate> TwoCyclesIn(const std::optional<PitchEstimate>& half,
                                         const PitchEstimate& pitch) {
    if (half && half->Strength >= PeakShareOfTwoCycles * pitch.Strength) {
        return half;
    }
    return std::nullopt;
}

// The shortest lag searched misses the period of a voice above the range,
// so the lag found spans two of its cycles; its half repeats as well and
// lies above HighestF0. (A half inside the range would have been found as
// the period itself.) `r` is the correlation `pitch` was read from.
bool AboveTheRange(std::span<const double> r, std::size_t length, const PitchEstimate& pitch,
                   double sampleRate) {
    const auto lags = SearchedLags(pitch.Lag * HalfLagLowest, pitch.Lag * HalfLagHighest, length);
    const auto half = TwoCyclesIn(lags ? PeakIn(r, *lags) : std::nullopt, pitch);
    return half && sampleRate / half->Lag > HighestF0;
}

}  // namespace

std::optional<PitchEstimate> EstimatePitch(std::span<const double> signal, double minLag,
                                           double maxLag, AutocorrelationFunction correlate) {
    const auto lags = SearchedLags(minLag, maxLag, signal.size());
    if (!lags) {
        return std::nullopt;
    }
    return PeakIn(correlate(signal, lags->Last + 1), *lags);
}

std::optional<PitchEstimate> HalfCycle(std::span<const double> signal, const PitchEstimate& pitch,
                                       AutocorrelationFunction correlate) {
    return TwoCyclesIn(
        EstimatePitch(signal, pitch.Lag * HalfLagLowest, pitch.Lag * HalfLagHighest, correlate),
        pitch);
}

VoicingTracker::VoicingTracker(double sampleRate, AutocorrelationFunction correlate,
                               unsigned threads)
    : rate_(sampleRate),
      frameLength_(static_cast<std::size_t>(FrameSeconds * sampleRate)),
      hop_(static_cast<std::size_t>(HopSeconds * sampleRate)),
      correlate_(correlate),
      threads_(threads) {}

VoicingFrame VoicingTracker::Analyse(std::span<const double> samples, std::size_t start) const {
    const std::vector<double> frame = WithoutMean(samples);
    VoicingFrame result{(start + frameLength_ / 2.0) / rate_, Rms(frame), 0, 0, false};
    // A silent frame is never voiced: its pitch would only cost time, most
    // of it for a long silent recording.
    const auto lags = SearchedLags(rate_ / HighestF0, rate_ / LowestF0, frame.size());
    if (result.Rms > SilenceRms && lags) {
        // One correlation serves the period and the half cycle inside it.
        const std::vector<double> r = correlate_(frame, lags->Last + 1);
        const auto pitch = PeakIn(r, *lags);
        if (pitch && !AboveTheRange(r, frame.size(), *pitch, rate_)) {
            result.Strength = pitch->Strength;
            result.F0 = rate_ / pitch->Lag;
        }
    }
    return result;
}

void VoicingTracker::Add(std::span<const double> block) {
    pending_.insert(pending_.end(), block.begin(), block.end());
    std::vector<std::size_t> starts;
    while (nextStart_ + frameLength_ <= pendingStart_ + pending_.size()) {
        starts.push_back(nextStart_);
        nextStart_ += hop_;
    }
    const std::size_t first = frames_.size();
    frames_.resize(first + starts.size());
    const std::span<const double> held(pending_);
    RunInParallel(starts.size(), threads_, [&](std::size_t i) {
        frames_[first + i] =
            Analyse(held.subspan(starts[i] - pendingStart_, frameLength_), starts[i]);
    });
    // Samples before the next frame are done with.
    const std::size_t done = std::min(nextStart_ - pendingStart_, pending_.size());
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(done));
    pendingStart_ += done;
}

std::vector<VoicingFrame> VoicingTracker::Finish() {
    std::vector<VoicingFrame> frames = std::move(frames_);
    if (frames.empty()) {
        return frames;
    }
    const double loudest = std::ranges::max(frames, {}, &VoicingFrame::Rms).Rms;
    for (VoicingFrame& frame : frames) {
        frame.Voiced = frame.F0 > 0 && frame.Strength >= VoicedStrength &&
                       frame.Rms >= VoicedLevelBelowLoudest * loudest && frame.Rms > SilenceRms;
    }
    return frames;
}

std::vector<VoicingFrame> AnalyseVoicing(std::span<const double> signal, double sampleRate,
                                         AutocorrelationFunction correlate) {
    VoicingTracker tracker(sampleRate, correlate);
    tracker.Add(signal);
    return tracker.Finish();
}

}  // namespace tesmera
