// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/cepstral_peak_resampling.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <complex>
#include <numbers>
#include <numeric>

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
// a power of two), otherwise the output's rounded.
TransformLengths LengthsFor(std::size_t needed, double fromRate, double toRate) {
    if (IsWhole(fromRate) && IsWhole(toRate)) {
        const auto from = static_cast<std::size_t>(fromRate);
        const auto to = static_cast<std::size_t>(toRate);
        const std::size_t common = std::gcd(from, to);
        const std::size_t multiplier =
            std::bit_ceil((needed + from / common - 1) / (from / common));
        return {multiplier * (from / common), multiplier * (to / common)};
    }
    const std::size_t in = std::bit_ceil(needed);
    return {in,
            static_cast<std::size_t>(std::llround(static_cast<double>(in) * toRate / fromRate))};
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
    const std::size_t inLength = lengths.In;
    std::vector<double> padded(inLength, 0.0);
    std::ranges::copy(samples, padded.begin() + Padding);
    std::vector<std::complex<double>> spectrum = RealSpectrum(padded);

    // The output grid starts at input position `start` (in input samples
    // from the padded signal's first) and steps by inLength / outLength.
    const std::size_t outLength = lengths.Out;
    const double start = (firstTime * fromRate - 0.5) + static_cast<double>(Padding);
    const std::size_t kept = std::min(spectrum.size(), (outLength + 1) / 2);
    spectrum.resize(kept);
    const double turn = 2 * std::numbers::pi * start / static_cast<double>(inLength);
    for (std::size_t k = 0; k < kept; ++k) {
        spectrum[k] *= std::polar(1.0, turn * static_cast<double>(k));
    }
    if (kept == inLength / 2 + 1) {
        spectrum.back() *= 0.5;  // the input's Nyquist bin stands for both of its signs
    }
    std::vector<double> resampled = RealSignal(spectrum, outLength);
    resampled.resize(count);
    const double scale = 1 / static_cast<double>(inLength);
    for (double& value : resampled) {
        value *= scale;
    }
    return {std::move(resampled), firstTime};
}

}  // namespace tesmera
