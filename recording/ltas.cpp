// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/ltas.h"

#include <cmath>

#include "base/TesmeraError.h"
#include "recording/hann_band_filter.h"
#include "recording/sampled_mean.h"

namespace tesmera {

namespace {

constexpr double BandWidth = 1;           // Hz
constexpr double ReferencePower = 4e-10;  // (2·10⁻⁵ Pa)²
constexpr double EmptyBandDb = -300;

SampledAxis BandAxis(const Ltas& ltas) {
    return {
        .First = 0.5 * BandWidth, .Step = BandWidth, .DomainStart = 0, .DomainEnd = ltas.Nyquist};
}

double MeanEnergy(const Ltas& ltas, double from, double to) {
    const auto energy = [&](std::size_t k) { return std::pow(10.0, 0.1 * ltas.LevelDb[k]); };
    const auto mean = MeanOverRange(BandAxis(ltas), ltas.LevelDb.size(), energy, from, to);
    if (!mean) {
        throw TesmeraError("the long-term average spectrum does not reach the range of its slope");
    }
    return *mean;
}

}  // namespace

Ltas OneHertzLtas(std::span<const double> samples, double rate) {
    const PaddedSpectrum spectrum = SpectrumOfWhole(samples, rate);
    const double sampleStep = 1 / rate;
    const double binStep = 1 / (sampleStep * static_cast<double>(spectrum.Length));
    // Energy density per bin, Pa²/Hz², positive and negative frequencies
    // together, with the transform scaled to the sound's sampling step.
    const auto energy = [&](std::size_t k) {
        const double re = spectrum.Real[k] * sampleStep;
        const double im = spectrum.Imaginary[k] * sampleStep;
        return 2 * (re * re + im * im);
    };
    const SampledAxis bins{
        .First = 0, .Step = binStep, .DomainStart = 0, .DomainEnd = 0.5 / sampleStep};
    // The power per Hz of the whole sound, per second of it.
    const double correction =
        -10 * std::log10(binStep * static_cast<double>(samples.size()) * sampleStep);
    Ltas ltas;
    ltas.Nyquist = bins.DomainEnd;
    const auto bands = static_cast<std::size_t>(std::ceil(ltas.Nyquist / BandWidth));
    ltas.LevelDb.resize(bands);
    for (std::size_t i = 0; i < bands; ++i) {
        const double from = static_cast<double>(i) * BandWidth;
        const double meanEnergy =
            MeanOverRange(bins, spectrum.Real.size(), energy, from, from + BandWidth).value_or(0);
        const double power = meanEnergy * binStep;
        ltas.LevelDb[i] =
            (power == 0 ? EmptyBandDb : 10 * std::log10(power / ReferencePower)) + correction;
    }
    return ltas;
}

double LtasSlope(const Ltas& ltas, const LtasBands& bands) {
    const double low = MeanEnergy(ltas, bands.LowFrom, bands.LowTo);
    const double high = MeanEnergy(ltas, bands.HighFrom, bands.HighTo);
    return 10 * std::log10(high / low);
}

Ltas LtasTrendLine(const Ltas& ltas, double from, double to) {
    const double first = std::fmax(0, std::ceil((from - 0.5 * BandWidth) / BandWidth));
    const double last = std::fmin(static_cast<double>(ltas.LevelDb.size()) - 1,
                                  std::floor((to - 0.5 * BandWidth) / BandWidth));
    if (last - first < 1) {
        throw TesmeraError("a trend line needs at least two bands");
    }
    const auto begin = static_cast<std::size_t>(first);
    const auto end = static_cast<std::size_t>(last) + 1;
    const auto centre = [](std::size_t i) { return (static_cast<double>(i) + 0.5) * BandWidth; };
    double sum = 0;
    for (std::size_t i = begin; i < end; ++i) {
        sum += ltas.LevelDb[i];
    }
    const double meanLevel = sum / static_cast<double>(end - begin);
    const double meanFrequency = (0.5 * (first + last) + 0.5) * BandWidth;
    double covariance = 0;
    double variance = 0;
    for (std::size_t i = begin; i < end; ++i) {
        const double df = centre(i) - meanFrequency;
        covariance += (ltas.LevelDb[i] - meanLevel) * df;
        variance += df * df;
    }
    const double slope = covariance / variance;
    Ltas line = ltas;
    for (std::size_t i = 0; i < line.LevelDb.size(); ++i) {
        line.LevelDb[i] = meanLevel + slope * (centre(i) - meanFrequency);
    }
    return line;
}

}  // namespace tesmera
