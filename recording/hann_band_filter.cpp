// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/hann_band_filter.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>

#include "analysis/fft_plans.h"
#include "base/TesmeraError.h"

namespace tesmera {

namespace {

std::size_t PowerOfTwoAtLeast(std::size_t n) {
    std::size_t length = 1;
    while (length < n) {
        length *= 2;
    }
    return length;
}

// The band's edges as the gains below read them.
struct BandEdges {
    BandEdges(const HannBand& band, double nyquist)
        : from(band.From),
          to(band.To == 0 ? nyquist : band.To),
          nyquist(nyquist),
          lowStart(from - band.Smoothing),
          lowEnd(from + band.Smoothing),
          highStart(to - band.Smoothing),
          highEnd(to + band.Smoothing),
          phasePerHz(band.Smoothing != 0 ? std::numbers::pi / (2 * band.Smoothing) : 0) {}

    double from, to, nyquist;
    double lowStart, lowEnd, highStart, highEnd;
    double phasePerHz;
};

double StopGain(const BandEdges& e, double f) {
    if (f < e.lowStart || f > e.highEnd) {
        return 1;
    }
    if (f < e.lowEnd && e.from > 0) {
        return 0.5 + 0.5 * std::cos(e.phasePerHz * (f - e.lowStart));
    }
    if (f > e.highStart && e.to < e.nyquist) {
        return 0.5 - 0.5 * std::cos(e.phasePerHz * (f - e.highStart));
    }
    return 0;
}

double PassGain(const BandEdges& e, double f) {
    double gain = f < e.lowStart || f > e.highEnd ? 0 : 1;
    if (f < e.lowEnd && e.from > 0) {
        gain *= 0.5 - 0.5 * std::cos(e.phasePerHz * (f - e.lowStart));
    } else if (f > e.highStart && e.to < e.nyquist) {
        gain *= 0.5 + 0.5 * std::cos(e.phasePerHz * (f - e.highStart));
    }
    return gain;
}

using Gain = std::function<double(const BandEdges&, double)>;

std::vector<double> Filtered(std::span<const double> samples, double rate, const HannBand& band,
                             const Gain& gain) {
    if (samples.empty()) {
        return {};
    }
    PaddedSpectrum spectrum = SpectrumOfWhole(samples, rate);
    const BandEdges edges(band, 0.5 * rate);
    const auto plans = RealTransformPlansFor(static_cast<std::int32_t>(spectrum.Length));
    const std::size_t bins = spectrum.Real.size();
    FftwSpectrumBuffer half = AllocateFftwSpectrum(bins);
    for (std::size_t k = 0; k < bins; ++k) {
        const double g = gain(edges, spectrum.Frequency(k));
        half[k][0] = g * spectrum.Real[k];
        half[k][1] = g * spectrum.Imaginary[k];
    }
    FftwRealBuffer sound = AllocateFftwReal(spectrum.Length);
    plans->Backward(half.get(), sound.get());
    const double scale =
        1 / static_cast<double>(spectrum.Length);  // the backward transform is unscaled
    std::vector<double> out(samples.size());
    std::transform(sound.get(), sound.get() + samples.size(), out.begin(),
                   [scale](double v) { return v * scale; });
    return out;
}

}  // namespace

PaddedSpectrum SpectrumOfWhole(std::span<const double> samples, double rate) {
    if (!(rate > 0)) {
        throw TesmeraError("a spectrum needs a positive sampling rate");
    }
    PaddedSpectrum spectrum;
    spectrum.Length = PowerOfTwoAtLeast(std::max<std::size_t>(samples.size(), 2));
    spectrum.Rate = rate;
    const auto plans = RealTransformPlansFor(static_cast<std::int32_t>(spectrum.Length));
    FftwRealBuffer sound = AllocateFftwReal(spectrum.Length);
    std::fill(sound.get(), sound.get() + spectrum.Length, 0.0);
    std::ranges::copy(samples, sound.get());
    const std::size_t bins = HalfSpectrumSize(plans->Size());
    FftwSpectrumBuffer half = AllocateFftwSpectrum(bins);
    plans->Forward(sound.get(), half.get());
    spectrum.Real.resize(bins);
    spectrum.Imaginary.resize(bins);
    for (std::size_t k = 0; k < bins; ++k) {
        spectrum.Real[k] = half[k][0];
        spectrum.Imaginary[k] = half[k][1];
    }
    return spectrum;
}

std::vector<double> StopHannBand(std::span<const double> samples, double rate,
                                 const HannBand& band) {
    return Filtered(samples, rate, band, StopGain);
}

std::vector<double> PassHannBand(std::span<const double> samples, double rate,
                                 const HannBand& band) {
    return Filtered(samples, rate, band, PassGain);
}

}  // namespace tesmera
