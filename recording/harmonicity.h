// SPDX-License-Identifier: GPL-3.0-or-later
// The harmonics-to-noise ratio by forward cross-correlation: in each short
// frame, how much of the signal repeats one period later.
#pragma once

#include <optional>
#include <span>

namespace tesmera {

struct HarmonicitySettings {
    double TimeStep = 0.01;         // seconds between frame centres
    double MinimumPitch = 75;       // Hz: the window and the longest lag are 1 / MinimumPitch
    double SilenceThreshold = 0.1;  // of the signal's global peak
};

// The mean HNR in dB over the voiced frames whose centres lie in [from, to]
// seconds; nothing when no frame there is voiced.
//
// Frames step by TimeStep, centred on the signal's middle, each 2 / MinimumPitch
// long and wholly inside the signal (sample k at k / rate). In a frame
// without its mean, the first half x is correlated with the frame shifted by
// each lag τ: r(τ) = Σ x·y_τ / √(Σ x² · Σ y_τ²). The best r near the local
// period (0.75 to 1.35 of the distance between the `marks` around the
// frame's centre) is refined by a parabola and gives 10·log10(r / (1 − r)).
// A frame is unvoiced when its r does not exceed
// max(0, 2 − (local peak / global peak) / SilenceThreshold), the local peak
// taken half a window to each side of its centre.
// The frames are measured on up to `threads` threads; the mean is the same
// for any count.
std::optional<double> MeanHarmonicity(std::span<const double> signal, double rate,
                                      std::span<const double> marks, double from, double to,
                                      const HarmonicitySettings& settings = {},
                                      unsigned threads = 1);

}  // namespace tesmera
