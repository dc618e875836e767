// SPDX-License-Identifier: GPL-3.0-or-later
// The smoothed cepstral peak prominence (CPPS) of a voice recording: how far
// the cepstral peak of the voice's period stands above the cepstrum's
// background, averaged over the recording. A clear periodic voice gives a
// high value (about 15 to 25 dB for a sustained /a/), a breathy or rough one
// a low value (a published cut-off for sustained /a/ is about 14.5 dB).
//
// Computed as Praat 6.3 computes it with the settings clinical scripts use:
//   To PowerCepstrogram: 60, 0.002, 5000, 50
//   Get CPPS: "no", 0.01, 0.001, 60, 330, 0.05, "parabolic", 0.001, 0,
//             "Straight", "Robust"
// 1. The sound is resampled to 10 kHz and pre-emphasised from 50 Hz.
// 2. Frames of 0.1 s, 2 ms apart and centred on the recording as a whole,
//    each without its mean and under a Gaussian window (its effective length
//    about half of that), zero-padded to 1024 samples, give power cepstra:
//    the square of the inverse transform of the log power spectrum, at
//    quefrencies 0 to 51.2 ms in steps of 0.1 ms.
// 3. These are smoothed (as powers) over 10 ms in time, then over 1 ms in
//    quefrency, each value the mean of the linearly interpolated curve over
//    the window around it.
// 4. In each frame, in dB, a straight line is fitted to the cepstrum by
//    Theil's incomplete method (the median slope between the first and the
//    second half of the points, then the median intercept). The clinical
//    setting names 0.001 s as the start of the fit and 0 as its end, which
//    Praat 6.3 reads as "the whole range": the line is fitted to every
//    quefrency above 0.
// 5. The prominence is the highest point, above that line (values below it
//    count as 0 dB), of the cepstrum between the quefrencies 1/330 s and
//    1/60 s, refined by a parabola through a local maximum and its
//    neighbours. CPPS is its mean over the frames.
#pragma once

#include <optional>
#include <span>
#include <vector>

namespace tesmera {

namespace cpps {
inline constexpr double PitchFloor = 60;             // Hz: the frame is 6 / PitchFloor long
inline constexpr double TimeStep = 0.002;            // seconds between frame centres
inline constexpr double MaximumFrequency = 5000;     // Hz: resampled to twice this
inline constexpr double PreEmphasisFrom = 50;        // Hz
inline constexpr double TimeAveraging = 0.01;        // seconds, the whole smoothing window
inline constexpr double QuefrencyAveraging = 0.001;  // seconds, likewise
inline constexpr double PeakSearchFloor = 60;     // Hz: the longest quefrency searched is 1 / this
inline constexpr double PeakSearchCeiling = 330;  // Hz: the shortest is 1 / this
}  // namespace cpps

// CPPS in dB of `samples` (full scale ±1, sample k standing for the interval
// from k / sampleRate to (k + 1) / sampleRate), over all of them: nothing
// when they last less than one frame (0.1 s). The frames are analysed on up
// to `threads` threads; the value is the same for any count. Throws
// TesmeraError unless sampleRate > 0.
//
// Each thread holds only the few cepstra the smoothing over time spans
// (about 4 kB each), so memory beyond the resampled sound (8 bytes per
// 0.1 ms) and, while it is taken, one transform of the whole recording
// (16 to 32 bytes per sample) does not grow with the number of frames.
std::optional<double> SmoothedCepstralPeakProminence(std::span<const double> samples,
                                                     double sampleRate, unsigned threads = 1);

// CPPS with the prominence of every frame it averages (dB, in time order),
// for a resampling of the frames; nothing where CPPS is nothing.
struct CepstralPeakFrames {
    double MeanDb = 0;  // CPPS, exactly as SmoothedCepstralPeakProminence gives it
    std::vector<double> FrameDb;
};
std::optional<CepstralPeakFrames> CepstralPeakProminenceFrames(std::span<const double> samples,
                                                               double sampleRate,
                                                               unsigned threads = 1);

}  // namespace tesmera
