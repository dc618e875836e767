// SPDX-License-Identifier: GPL-3.0-or-later
// The long-term average spectrum (LTAS) of a sound in bands of 1 Hz, and
// the two figures the voice quality index takes from it: how much weaker
// the energy above 1 kHz is than below (the slope), and the same on a
// straight line fitted to the spectrum (the tilt). Computed as the
// standard voice-analysis tools compute "To Ltas: 1", "Get slope: 0, 1000,
// 1000, 10000, "energy"" and "Compute trend line: 1, 10000".
#pragma once

#include <span>
#include <vector>

namespace tesmera {

// Band i covers [i, i + 1) Hz, up to half the sampling rate (the last band
// may reach beyond it); its level is in dB per Hz against 2·10⁻⁵ Pa, full
// scale counting as 1 Pa, and −300 dB for a band without energy.
struct Ltas {
    std::vector<double> LevelDb;
    double Nyquist = 0;  // Hz: the spectrum's upper end
};

// The power spectrum of the whole sound (zero-padded to a power of two),
// averaged over each band: bins the band's edges cut count with the part
// inside. The level is per second of sound. Sample k at k / rate; rate > 0.
Ltas OneHertzLtas(std::span<const double> samples, double rate);

struct LtasBands {
    double LowFrom = 0;  // Hz
    double LowTo = 1000;
    double HighFrom = 1000;
    double HighTo = 10000;
};

// The mean energy of the high range over that of the low range, in dB
// (negative when the high range is weaker); band edges cut by a range count
// with the part inside, and ranges are clipped to [0, Nyquist].
double LtasSlope(const Ltas& ltas, const LtasBands& bands = {});

// The least-squares straight line through the levels (in dB) of the bands
// whose centres lie in [from, to] Hz, evaluated at every band.
Ltas LtasTrendLine(const Ltas& ltas, double from, double to);

}  // namespace tesmera
