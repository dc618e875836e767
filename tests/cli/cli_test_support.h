// SPDX-License-Identifier: GPL-3.0-or-later
// Voice files with known content, in a temporary folder of their own, for
// the command-line tests.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

#include "analysis/fourier_apr.h"
#include "support/TempFolder.h"
#include "support/wav_test_support.h"

namespace tesmera::test {

// One harmonic of a test period: a·cos(2πki/N) + b·sin(2πki/N), i = 1..N.
struct Harmonic {
    int k;
    double a;
    double b;
};

// One period of N samples, each rounded to a whole 16-bit value, so the
// coefficients come back within about 0.5·√(2/N) of those given.
inline std::vector<std::int16_t> HarmonicPeriod(int N, const std::vector<Harmonic>& harmonics,
                                                double offset = 0) {
    std::vector<std::int16_t> samples;
    for (int i = 1; i <= N; ++i) {
        long double value = offset;
        for (const Harmonic& h : harmonics) {
            const long double angle = TwoPi * h.k * i / N;
            value += h.a * std::cos(angle) + h.b * std::sin(angle);
        }
        samples.push_back(static_cast<std::int16_t>(std::lround(static_cast<double>(value))));
    }
    return samples;
}

}  // namespace tesmera::test
