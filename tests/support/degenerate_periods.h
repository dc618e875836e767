// SPDX-License-Identifier: GPL-3.0-or-later
// Periods whose harmonics 1..6 hold exact zeros, so only rounding noise of
// the series stands between them and the coefficient warnings: the window's
// and the command line's tests both check that the noise is not scored.
#pragma once

#include <cmath>
#include <cstdint>
#include <numbers>
#include <string>
#include <vector>

#include "support/param_name.h"

namespace tesmera::test {

struct DegeneratePeriod : NamedCase<DegeneratePeriod> {
    std::vector<std::int16_t> samples;
    std::string warning;  // the one warning the compute must give
};

inline std::vector<std::int16_t> ConstantPeriod(int N, std::int16_t value) {
    return std::vector<std::int16_t>(N, value);
}

// Half the period at +amplitude, half at −amplitude: every even harmonic is
// zero.
inline std::vector<std::int16_t> SquarePeriod(int N, std::int16_t amplitude) {
    std::vector<std::int16_t> samples(N, amplitude);
    for (int i = N / 2; i < N; ++i) {
        samples[i] = static_cast<std::int16_t>(-amplitude);
    }
    return samples;
}

// `cycles` whole sine cycles, rounded to 16 bits; N must be a multiple of
// `cycles`, so the rounded samples repeat exactly and only multiples of
// `cycles` are harmonics.
inline std::vector<std::int16_t> RepeatedCycles(int N, int cycles, double amplitude) {
    std::vector<std::int16_t> samples(N);
    for (int i = 0; i < N; ++i) {
        const int phase = ((i + 1) * cycles) % N;
        samples[i] = static_cast<std::int16_t>(
            std::lround(amplitude * std::sin(2 * std::numbers::pi * phase / N)));
    }
    return samples;
}

inline const std::string NormIsZero = " !!!  norma = 0  !!! ";
inline const std::string CoefficientIsZero = " !!!  koeficient AA[i] = 0  !!! ";

inline std::vector<DegeneratePeriod> DegeneratePeriods() {
    return {
        {"Constant", ConstantPeriod(100, 1234), NormIsZero},
        {"ConstantNegativeLong", ConstantPeriod(4410, -20000), NormIsZero},
        {"SquareWave", SquarePeriod(100, 8000), CoefficientIsZero},
        {"SquareWaveLong", SquarePeriod(882, 30000), CoefficientIsZero},
        {"TwentyFiveCycles", RepeatedCycles(400, 25, 12000), NormIsZero},
        {"TwentyFiveCyclesOddLength", RepeatedCycles(25 * 37, 25, 30000), NormIsZero},
    };
}

}  // namespace tesmera::test
