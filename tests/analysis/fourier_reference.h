// SPDX-License-Identifier: GPL-3.0-or-later
// The Fourier coefficient sums evaluated directly, exactly as they are
// defined: for each harmonic k and sample i the angle ((k × 2π) × i) / N is
// formed in long double and gets its own cosine and sine. It is slow
// (2 (M + 1) N trigonometric calls) and exists only to check and to measure
// the shipped kernel, FourierCoefficients, against the definition. The
// kernel tests and bench/fourier_bench.cpp both use this one copy.
#pragma once

#include <cmath>
#include <cstdint>
#include <span>

#include "analysis/fourier_apr.h"

namespace tesmera::reference {

// Same contract as FourierCoefficients: fills ax/bx[0..M] from x_1..x_N,
// N = samples.size().
inline void FourierCoefficients(std::span<const double> samples, std::int32_t M,
                                std::span<double, CoefficientCount> ax,
                                std::span<double, CoefficientCount> bx) {
    const auto N = static_cast<std::int32_t>(samples.size());
    for (std::int32_t k = 0; k <= M; ++k) {
        ax[k] = 0.0;
        bx[k] = 0.0;
        for (std::int32_t i = 1; i <= N; ++i) {
            const long double angle = ((k * TwoPi) * i) / N;
            const double x = samples[i - 1];
            ax[k] = static_cast<double>(ax[k] + std::cos(angle) * x);
            bx[k] = static_cast<double>(bx[k] + std::sin(angle) * x);
        }
    }
    for (std::int32_t k = 0; k <= M; ++k) {
        ax[k] = ax[k] / N * 2.0;
        bx[k] = bx[k] / N * 2.0;
    }
}

// The series of order L (at most MaxHarmonic) at samples i = 1..N into
// out[i − 1], term by term with the angles formed as above: s = a_0/2, then
// for k = 1..L a_k cos and b_k sin added and s stored as a double.
inline void Series(std::span<const double, CoefficientCount> ax,
                   std::span<const double, CoefficientCount> bx, std::int32_t L,
                   std::span<double> out) {
    const auto N = static_cast<std::int32_t>(out.size());
    for (std::int32_t i = 1; i <= N; ++i) {
        double s = ax[0] / 2.0;
        for (std::int32_t k = 1; k <= L; ++k) {
            const long double angle = ((k * TwoPi) * i) / N;
            s = static_cast<double>(s + ax[k] * std::cos(angle) + bx[k] * std::sin(angle));
        }
        out[i - 1] = s;
    }
}

}  // namespace tesmera::reference
