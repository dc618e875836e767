// SPDX-License-Identifier: GPL-3.0-or-later
// The harmonics-to-noise ratio by forward cross-correlation: in each short
// frame, how strongly the signal repeats at the lag where it repeats best.
// Measured as the standard voice-analysis tools measure "harmonicity (cc)"
// with a time step of 0.01 s, a silence threshold of 0.1 and one period per
// window, so that clinical norms apply (docs/measures.md).
#pragma once

#include <optional>
#include <span>
#include <vector>

#include "recording/cycle_marks.h"

namespace tesmera {

// The clinical standard's minimum pitch, Hz.
constexpr double StandardMinimumPitch = 75;

struct HarmonicitySettings {
    double TimeStep = 0.01;  // seconds between frame centres
    double MinimumPitch =
        StandardMinimumPitch;       // Hz: the window and the longest lag are 1 / MinimumPitch
    double SilenceThreshold = 0.1;  // of the signal's global peak
    // The pitch analysis behind a voice report (rather than harmonicity)
    // also asks r to exceed this before a frame counts as voiced, and
    // searches no lag shorter than 1 / MaximumPitch (0: down to 2 samples).
    double VoicingThreshold = 0;
    double MaximumPitch = 0;  // Hz
};

// The minimum pitch that suits the voice whose cycle i runs from marks[i] to
// marks[i + 1]: StandardMinimumPitch, unless a cycle on the pitch track (its
// verdict not CvOffTrack) lasts longer than 1 / StandardMinimumPitch; then
// LowestF0, the lowest F0 the report accepts. A window shorter than the
// voice's period finds no repetition in it and reports a low voice as noise
// (a 62 Hz vowel of 20 dB would come out at about −5 dB). Cycles off the
// track are ignored, as a missed mark makes one cycle twice as long.
double MinimumPitchFor(std::span<const double> marks, std::span<const CycleVerdict> verdicts);

// 10·log10(r / (1 − r)) in dB for a normalised correlation r, held
// within ±150 dB (for r within 10⁻¹⁵ of 0 or 1).
double HarmonicsToNoiseDb(double r);

// The mean HNR in dB over the voiced frames whose centres lie in [from, to]
// seconds (sample k of `signal` at k / rate); nothing when no frame there is
// voiced or the signal is shorter than two longest periods.
//
// With P = floor(rate / MinimumPitch) and the window W = 2·(floor(P / 2) − 1)
// samples, the frames step by TimeStep and are centred as a block in the
// signal, as many as fit 2 / MinimumPitch seconds each. In a frame, the
// samples within P of its centre give the local mean, which is taken off
// every sample. The W samples x starting 1 / MinimumPitch before the centre
// are correlated with the W samples y_τ starting τ later:
// r(τ) = Σ x·y_τ / √(Σ x² · Σ y_τ²), for every τ up to W. Each local maximum
// of r at 2 <= τ < W with r(τ) > 0 is refined by a deep sinc interpolation
// of r (mirrored to negative lags), a top above 1 reflected to its
// inverse; the strongest, whatever multiple or fraction of the period it
// lies at, is the frame's r. The frame is voiced when r exceeds
// v + max(0, 2 − (local peak / global peak) / (SilenceThreshold / (1 + v))),
// v the VoicingThreshold, the local peak
// being the largest |sample − local mean| within W / 2 of the centre, the
// global peak that of |sample − mean| over the whole signal; its HNR is
// 10·log10(r / (1 − r)), held within ±150 dB.
// The frames are measured on up to `threads` threads; the mean is the same
// for any count.
std::optional<double> MeanHarmonicity(std::span<const double> signal, double rate, double from,
                                      double to, const HarmonicitySettings& settings = {},
                                      unsigned threads = 1);

// A repetition a frame offers a pitch analysis: the signal repeats at
// `Lag` samples (refined between samples) with normalised correlation
// `Strength` (at most 1).
struct LagCandidate {
    double Lag = 0;
    double Strength = 0;
};

struct CandidateLimits {
    std::size_t MostVoiced = 14;  // kept per frame, the likeliest for the path
    double OctaveCost = 0.01;     // per octave below the highest pitch
};

// One frame of a pitch analysis: its repetitions, the likeliest first
// (strength less OctaveCost per octave below MaximumPitch), and the
// strength an unvoiced frame gets, as MeanHarmonicity decides it.
struct CandidateFrame {
    double UnvoicedStrength = 0;
    std::vector<LagCandidate> Voiced;
};

// The frames of MeanHarmonicity (all of the signal's), with every local
// maximum of r above half the VoicingThreshold at a lag above
// 1 / MaximumPitch as a candidate, shallowly refined, and the likeliest
// refined deeply. Empty when the signal is shorter than two longest
// periods. The same for any number of `threads`.
std::vector<CandidateFrame> HarmonicityCandidates(std::span<const double> signal, double rate,
                                                  const HarmonicitySettings& settings,
                                                  const CandidateLimits& limits = {},
                                                  unsigned threads = 1);

// The HNR in dB of each voiced frame MeanHarmonicity averages, in time
// order (empty where it gives nothing), for a resampling of the frames;
// MeanHarmonicity(frames) is their mean, summed in that order.
std::vector<double> VoicedFrameHarmonicities(std::span<const double> signal, double rate,
                                             double from, double to,
                                             const HarmonicitySettings& settings = {},
                                             unsigned threads = 1);
std::optional<double> MeanHarmonicity(std::span<const double> voicedFrames);

}  // namespace tesmera
