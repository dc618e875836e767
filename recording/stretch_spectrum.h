// SPDX-License-Identifier: GPL-3.0-or-later
// The power spectrum of a marked stretch, averaged over a few long windows:
// what the recording-quality verdict reads for the band the voice reaches,
// and the plausibility check for the harmonics a voice has.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "recording/marked_stretch.h"

namespace tesmera {

// The excerpt's samples from `from` to `to` seconds of the recording, cut
// to the excerpt.
std::span<const double> ExcerptPart(const RecordingExcerpt& excerpt, double rate, double from,
                                    double to);

// One window's power spectrum and the F0 of the cycles in it.
struct WindowSpectrum {
    std::vector<double> Power;
    double F0 = 0;  // Hz, of the window's median cycle
};

// Bin k (0..N/2) at k·BinHz of N-sample windows, each 16 cycles long or
// more, averaged over up to four evenly spread Blackman-Harris windows.
struct AveragedSpectrum {
    std::vector<double> Power;
    double BinHz = 0;
    std::size_t Length = 0;  // N
    double F0 = 0;           // Hz, of the stretch's median cycle
    // Each window apart, where a tremor or drift has not smeared the
    // harmonics over several F0s.
    std::vector<WindowSpectrum> Windows;

    // The sum over all N bins from `firstBin` on (the upper half mirrors the lower).
    double Total(std::size_t firstBin = 0) const;
    // The highest power within `reachHz` of `hz`, 0 outside the bins.
    double PeakNear(double hz, double reachHz) const;
};

// The spectrum of `stretch` (Ok, with at least two marks) at `rate` Hz.
AveragedSpectrum StretchSpectrum(const MarkedStretch& stretch, double rate);

}  // namespace tesmera
