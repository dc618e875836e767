// SPDX-License-Identifier: GPL-3.0-or-later
// Resampling through one transform of the whole signal, for the cepstral
// peak measure: its cepstra see the spectrum right up to the new Nyquist
// frequency, so the anti-aliasing must be an ideal low-pass there, not a
// filter whose transition band carves a notch into the spectrum's top.
#pragma once

#include <span>
#include <vector>

namespace tesmera {

// A signal in time: sample k stands at FirstTime + k / rate seconds.
struct TimedSamples {
    std::vector<double> Samples;
    double FirstTime = 0;
};

// `samples` at `fromRate`, the interval of sample k running from k / fromRate
// to (k + 1) / fromRate (so it stands at its middle), brought to `toRate`:
// round(duration · toRate) samples centred on the same duration. Equal rates
// return the samples unchanged. Otherwise the signal, with 1000 zeros on
// each side, is transformed whole, everything from half the lower rate up
// is removed (from the input's Nyquist frequency when upsampling), and the
// band that is left is evaluated at the new sample times. For whole rates
// (as every sound file has) these are exact; otherwise they lie on a grid
// whose step differs from 1 / toRate by less than a part in twice the
// transform's length, so that none is off by more than half an output
// sample. Both rates must be positive.
TimedSamples BandLimitedResample(std::span<const double> samples, double fromRate, double toRate);

}  // namespace tesmera
