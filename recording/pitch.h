// SPDX-License-Identifier: GPL-3.0-or-later
// Pitch by normalised autocorrelation, and the voiced frames of a
// recording found with it.
#pragma once

#include <optional>
#include <span>
#include <vector>

#include "recording/autocorrelation.h"

namespace tesmera {

// The fundamental frequencies searched, in Hz (inclusive).
constexpr double LowestF0 = 60;
constexpr double HighestF0 = 1000;

struct PitchEstimate {
    double Lag;       // period in samples, refined between samples
    double Strength;  // normalised autocorrelation at that lag, at most 1
};

// The period of `signal` between `minLag` (less up to one sample, so a
// period just above the sampled lags is still seen) and `maxLag` samples: the
// shortest lag whose normalised autocorrelation is a local peak within 10 %
// of the highest peak (so a period is not mistaken for two), refined by a
// parabola through the peak and its neighbours. Nothing when the range
// holds no peak or the signal is too short for it. `correlate` computes the
// normalised autocorrelation.
std::optional<PitchEstimate> EstimatePitch(
    std::span<const double> signal, double minLag, double maxLag,
    AutocorrelationFunction correlate = NormalisedAutocorrelation);

// The cycle inside `pitch` when its lag spans two: the peak between 0.45 and
// 0.55 of the lag, when the signal repeats there at least 90 % as strongly.
// Nothing when `pitch` is one cycle.
std::optional<PitchEstimate> HalfCycle(
    std::span<const double> signal, const PitchEstimate& pitch,
    AutocorrelationFunction correlate = NormalisedAutocorrelation);

struct VoicingFrame {
    double Time;      // centre, seconds from the start
    double Rms;       // about the frame's mean, full scale 1
    double Strength;  // of its pitch estimate, 0 without one
    double F0;        // Hz, 0 without an estimate
    bool Voiced;
};

// Frames of 50 ms every 10 ms. A frame is voiced when its pitch is clear
// (strength at least 0.55, so rough voices down to a harmonics-to-noise
// ratio of about 3 dB count) and it is no more than 26 dB below the loudest
// frame. A frame whose pitch lies above HighestF0 has no estimate: two of
// its cycles would otherwise pass for one period in range.
std::vector<VoicingFrame> AnalyseVoicing(
    std::span<const double> signal, double sampleRate,
    AutocorrelationFunction correlate = NormalisedAutocorrelation);

// The frames of AnalyseVoicing for a signal given in consecutive blocks of
// any size: only the samples of the frames still open are kept, so a long
// signal never has to be held whole. The frames a block completes are
// analysed on up to `threads` threads; they are the same for any count.
class VoicingTracker {
  public:
    explicit VoicingTracker(double sampleRate,
                            AutocorrelationFunction correlate = NormalisedAutocorrelation,
                            unsigned threads = 1);

    void Add(std::span<const double> block);
    // The frames, judged against the loudest of them; the tracker is spent.
    std::vector<VoicingFrame> Finish();

  private:
    VoicingFrame Analyse(std::span<const double> frame, std::size_t start) const;

    double rate_;
    std::size_t frameLength_;
    std::size_t hop_;
    AutocorrelationFunction correlate_;
    unsigned threads_;
    std::size_t nextStart_ = 0;     // the next frame's first sample, from the signal's start
    std::size_t pendingStart_ = 0;  // the signal's sample held in pending_[0]
    std::vector<double> pending_;
    std::vector<VoicingFrame> frames_;
};

// The level below which a recording counts as silent (about −80 dBFS).
constexpr double SilenceRms = 1e-4;

}  // namespace tesmera
