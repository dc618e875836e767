// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/autocorrelation.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "analysis/fft_plans.h"

namespace tesmera {

namespace {

// sum x[i] x[i+lag] for lag 0..maxLag, by the Wiener-Khinchin relation on a
// zero-padded copy long enough that no product wraps around.
std::vector<double> CrossSums(std::span<const double> x, std::size_t maxLag) {
    const std::size_t length = SmoothTransformLength(x.size() + maxLag + 1);
    const auto plans = RealTransformPlansFor(static_cast<std::int32_t>(length));
    const std::size_t bins = HalfSpectrumSize(plans->Size());

    const FftwRealBuffer real = AllocateFftwReal(length);
    const FftwSpectrumBuffer spectrum = AllocateFftwSpectrum(bins);
    std::ranges::copy(x, real.get());
    std::fill(real.get() + x.size(), real.get() + length, 0.0);
    plans->Forward(real.get(), spectrum.get());
    for (std::size_t k = 0; k < bins; ++k) {
        const double re = spectrum[k][0];
        const double im = spectrum[k][1];
        spectrum[k][0] = re * re + im * im;
        spectrum[k][1] = 0;
    }
    plans->Backward(spectrum.get(), real.get());

    std::vector<double> sums(maxLag + 1);
    const double scale = 1.0 / static_cast<double>(length);  // the backward transform is unscaled
    for (std::size_t lag = 0; lag <= maxLag; ++lag) {
        sums[lag] = real[lag] * scale;
    }
    return sums;
}

// sum x[i] x[i+lag] for lag 0..maxLag, lag by lag. Four running sums per
// lag, so that their additions overlap, combined in a fixed order.
std::vector<double> DirectCrossSums(std::span<const double> x, std::size_t maxLag) {
    constexpr std::size_t Sums = 4;
    std::vector<double> cross(maxLag + 1);
    for (std::size_t lag = 0; lag <= maxLag; ++lag) {
        const std::size_t count = x.size() - lag;
        std::array<double, Sums> sums{};
        std::size_t i = 0;
        for (; i + Sums <= count; i += Sums) {
            for (std::size_t s = 0; s < Sums; ++s) {
                sums[s] += x[i + s] * x[i + s + lag];
            }
        }
        for (; i < count; ++i) {
            sums[0] += x[i] * x[i + lag];
        }
        cross[lag] = (sums[0] + sums[1]) + (sums[2] + sums[3]);
    }
    return cross;
}

using CrossSumsFunction = std::vector<double> (*)(std::span<const double>, std::size_t);

// r from the cross sums of lags 0..min(maxLag, n − 1) made by `crossSums`.
std::vector<double> Normalised(std::span<const double> x, std::size_t maxLag,
                               CrossSumsFunction crossSums) {
    std::vector<double> r(maxLag + 1, 0.0);
    const std::size_t n = x.size();
    if (n == 0) {
        return r;
    }
    const std::size_t lags = std::min(maxLag, n - 1);
    const std::vector<double> cross = crossSums(x, lags);

    // head[m]: energy of x[0..m-1]; tail[m]: energy of x[m..n-1]. The tail
    // is summed from the end rather than taken as a difference of prefix
    // sums, which would cancel badly where the signal fades out.
    std::vector<double> head(n + 1, 0.0);
    std::vector<double> tail(n + 1, 0.0);
    for (std::size_t i = 0; i < n; ++i) {
        head[i + 1] = head[i] + x[i] * x[i];
        tail[n - 1 - i] = tail[n - i] + x[n - 1 - i] * x[n - 1 - i];
    }
    for (std::size_t lag = 0; lag <= lags; ++lag) {
        const double before = head[n - lag];
        const double after = tail[lag];
        r[lag] = before > 0 && after > 0 ? cross[lag] / std::sqrt(before * after) : 0;
    }
    return r;
}

}  // namespace

std::vector<double> NormalisedAutocorrelation(std::span<const double> x, std::size_t maxLag) {
    return Normalised(x, maxLag, CrossSums);
}

std::vector<double> DirectNormalisedAutocorrelation(std::span<const double> x, std::size_t maxLag) {
    return Normalised(x, maxLag, DirectCrossSums);
}

}  // namespace tesmera
