// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/cepstral_peak_resampling.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>
#include <numeric>

#include "analysis/fft_plans.h"
#include "recording/cepstral_peak_transform.h"

namespace tesmera {

namespace {

// Zeros on each side, so that the ideal filter's ringing does not wrap
// around from one end of the signal to the other.
constexpr std::size_t Padding = 1000;

struct TransformLengths {
    std::size_t In = 0;
    std::size_t Out = 0;
};

bool IsWhole(double rate) {
    return rate == std::floor(rate) && rate < 1e9;
}

// Transform lengths in the ratio of the rates, the input's at least
// `needed`: exactly in that ratio for whole rates (their reduced ratio times
// the smallest product of small primes that reaches `needed`), otherwise the
// output's rounded. A power of two instead would make the transform up to
// twice as long as the signal needs.
TransformLengths LengthsFor(std::size_t needed, double fromRate, double toRate) {
    if (IsWhole(fromRate) && IsWhole(toRate)) {
        const auto from = static_cast<std::size_t>(fromRate);
        const auto to = static_cast<std::size_t>(toRate);
        const std::size_t common = std::gcd(from, to);
        const std::size_t multiplier =
            SmoothTransformLength((needed + from / common - 1) / (from / common));
        return {multiplier * (from / common), multiplier * (to / common)};
    }
    const std::size_t in = SmoothTransformLength(needed);
    return {in,
            static_cast<std::size_t>(std::llround(static_cast<double>(in) * toRate / fromRate))};
}

// bins[k] *= e^(i·turn·k). Each rotation is taken directly, not by a
// recurrence: where the signal is digital silence, the resampled values are
// rounding noise, and that noise (and the cepstra of those frames) would
// change with any change in the rounding.
void ShiftInTime(std::span<std::complex<double>> bins, double turn) {
    for (std::size_t k = 0; k < bins.size(); ++k) {
        bins[k] *= std::polar(1.0, turn * static_cast<double>(k));
    }
}

}  // namespace

TimedSamples BandLimitedResample(std::span<const double> samples, double fromRate, double toRate) {
    const double duration = static_cast<double>(samples.size()) / fromRate;
    if (fromRate == toRate) {
        return {{samples.begin(), samples.end()}, 0.5 / fromRate};
    }
    const auto count = static_cast<std::size_t>(std::llround(duration * toRate));
    if (count == 0) {
        return {};
    }
    const double firstTime = 0.5 * (duration - static_cast<double>(count - 1) / toRate);

    const TransformLengths lengths = LengthsFor(samples.size() + 2 * Padding, fromRate, toRate);
    WholeSpectrum spectrum(samples, Padding, lengths.In);

    // The output grid starts at input position `start` (in input samples
    // from the padded signal's first) and steps by inLength / outLength.
    const double start = (firstTime * fromRate - 0.5) + static_cast<double>(Padding);
    const std::span<std::complex<double>> kept =
        spectrum.Bins().first(std::min(spectrum.Bins().size(), (lengths.Out + 1) / 2));
    ShiftInTime(kept, 2 * std::numbers::pi * start / static_cast<double>(lengths.In));
    if (kept.size() == lengths.In / 2 + 1) {
        kept.back() *= 0.5;  // the input's Nyquist bin stands for both of its signs
    }
    std::vector<double> resampled =
        RealSignal(kept, lengths.Out, count, 1 / static_cast<double>(lengths.In));
    return {std::move(resampled), firstTime};
}

}  // namespace tesmera
