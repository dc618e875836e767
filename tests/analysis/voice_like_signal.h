// SPDX-License-Identifier: GPL-3.0-or-later
// Synthetic voice periods for the Fourier tests and the benchmark.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

#include "analysis/fourier_apr.h"

namespace tesmera::testing_signals {

// One period of N samples that looks like a recorded vowel: 30 harmonics
// whose amplitudes fall as 1/k² from a peak near 20000, phases spread by a
// fixed rule, a small DC offset and a little deterministic noise, rounded to
// whole 16-bit sample values.
inline std::vector<double> VoiceLikePeriod(std::int32_t N) {
    std::vector<double> samples(static_cast<std::size_t>(N));
    std::uint32_t noise = 12345;
    for (std::int32_t i = 1; i <= N; ++i) {
        long double value = 150.0L;
        for (int k = 1; k <= 30; ++k) {
            const long double phase = 0.7L * k * k;
            value += 12000.0L / (k * k) * std::cos(TwoPi * k * i / N + phase);
        }
        noise = noise * 1664525u + 1013904223u;
        value += static_cast<long double>(noise >> 24) - 128.0L;
        samples[i - 1] = std::nearbyint(static_cast<double>(value));
    }
    return samples;
}

}  // namespace tesmera::testing_signals
