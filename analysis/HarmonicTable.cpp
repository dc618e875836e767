// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/HarmonicTable.h"

#include <cmath>

#include "analysis/fourier_apr.h"

namespace tesmera {

namespace {

// Cosine and sine of 2πj/N, the angle formed in long double and rounded to
// double only as the argument of the double functions.
void Evaluate(std::int64_t j, std::int32_t N, double& cos, double& sin) {
    const auto angle = static_cast<double>(TwoPi * static_cast<long double>(j) / N);
    cos = std::cos(angle);
    sin = std::sin(angle);
}

// cos(m · 90°) for m = 0..3.
constexpr double QuarterTurnCos[4] = {1.0, 0.0, -1.0, 0.0};

}  // namespace

// Evaluating all N angles costs two library calls each, which at voice
// period lengths is as much as the coefficient sums themselves. Splitting
// j = q·S + r with S ≈ √N needs only about 2√N evaluated angles; every entry
// is then one complex product of two of them, within two units in the last
// place of the exact value.
HarmonicTable::HarmonicTable(std::int32_t N)
    : N_(N), cos_(static_cast<std::size_t>(N)), sin_(static_cast<std::size_t>(N)) {
    const auto S = static_cast<std::int32_t>(std::ceil(std::sqrt(static_cast<double>(N))));
    std::vector<double> fineCos(static_cast<std::size_t>(S));
    std::vector<double> fineSin(static_cast<std::size_t>(S));
    for (std::int32_t r = 0; r < S; ++r) {
        Evaluate(r, N, fineCos[r], fineSin[r]);
    }
    for (std::int32_t base = 0; base < N; base += S) {
        double coarseCos = 0;
        double coarseSin = 0;
        Evaluate(base, N, coarseCos, coarseSin);
        const std::int32_t count = std::min(S, N - base);
        for (std::int32_t r = 0; r < count; ++r) {
            cos_[base + r] = coarseCos * fineCos[r] - coarseSin * fineSin[r];
            sin_[base + r] = coarseSin * fineCos[r] + coarseCos * fineSin[r];
        }
    }
    // Angles on whole quarter turns get their values exactly, as a direct
    // evaluation nearly does: a harmonic at a quarter or a half of N then
    // sums whole samples without any rounding, and an exact coefficient such
    // as 41.25 is not shown as 41.2 for a last-bit slip.
    for (std::int32_t m = 0; m < 4; ++m) {
        if ((std::int64_t{m} * N) % 4 == 0) {
            const auto j = static_cast<std::size_t>(std::int64_t{m} * N / 4);
            cos_[j] = QuarterTurnCos[m];
            sin_[j] = QuarterTurnCos[(m + 3) % 4];
        }
    }
}

}  // namespace tesmera
