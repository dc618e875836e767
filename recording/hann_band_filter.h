// SPDX-License-Identifier: GPL-3.0-or-later
// Filters that act on the spectrum of a whole sound at once, as the
// standard voice-analysis tools filter before the voice quality index and
// their silence detection: the sound, zero-padded to the next power of two,
// is transformed, each frequency bin multiplied by the band's gain, and
// transformed back; the sound keeps its length. The band's edges are raised
// cosines `Smoothing` Hz to either side of each edge frequency.
#pragma once

#include <span>
#include <vector>

namespace tesmera {

struct HannBand {
    double From = 0;       // Hz; 0 means the band starts at 0 Hz, without an edge there
    double To = 0;         // Hz; at or above half the rate means no edge there
    double Smoothing = 0;  // Hz, half the width of each edge
};

// The sound without the band (gain 0 inside, rising to 1 over the edges).
// Sample k of `samples` at k / rate; rate > 0.
std::vector<double> StopHannBand(std::span<const double> samples, double rate,
                                 const HannBand& band);

// The sound within the band only (gain 1 inside, falling to 0 over the edges).
std::vector<double> PassHannBand(std::span<const double> samples, double rate,
                                 const HannBand& band);

// The whole sound's half spectrum as the filters and the long-term average
// spectrum see it: bin k at k · Rate / Length Hz, Length the power of two
// the sound was padded to, values unscaled (as the transform gives them).
struct PaddedSpectrum {
    std::size_t Length = 0;
    double Rate = 0;
    std::vector<double> Real;
    std::vector<double> Imaginary;

    double Frequency(std::size_t k) const {
        return static_cast<double>(k) * Rate / static_cast<double>(Length);
    }
};
PaddedSpectrum SpectrumOfWhole(std::span<const double> samples, double rate);

}  // namespace tesmera
