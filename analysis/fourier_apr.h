// SPDX-License-Identifier: GPL-3.0-or-later
// Truncated real Fourier series of one voice period: coefficients, the choice
// of order by an energy criterion, and the period rebuilt from the series.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace tesmera {

// Highest harmonic that is ever computed; coefficient arrays hold harmonics
// 0..MaxHarmonic.
constexpr std::int32_t MaxHarmonic = 100;
constexpr std::size_t CoefficientCount = MaxHarmonic + 1;

// 2π in the widest floating type; every angle is formed from it.
constexpr long double TwoPi = 6.283185307179586476925286766559005768L;

// Highest harmonic computed for a period of N samples: N − 10, capped at
// MaxHarmonic and at least 1. The margin keeps the series well below the
// sampling limit.
std::int32_t MaximumOrder(std::int32_t N);

// True when the sums of a period of N samples are taken by a fast
// transform, false when they are evaluated term by term. Depends on N only,
// so a given period always gives the same last bits.
bool UsesFastTransform(std::int32_t N);

// Coefficients of harmonics 0..M of x_1..x_N, with N = samples.size():
//   ax[k] = (2/N) Σ_{i=1..N} x_i cos(2πki/N),  bx[k] = (2/N) Σ_{i=1..N} x_i sin(2πki/N).
// Samples are numbered from 1 (x_1 is samples[0]). The sums are taken in
// double, by a fast transform or term by term (UsesFastTransform), and agree
// with the sums formed pair by pair in long double to within a few units in
// the last place of max|x|. Entries above M are not touched. Requires
// 2 <= N and 0 <= M <= MaxHarmonic.
void FourierCoefficients(std::span<const double> samples, std::int32_t M,
                         std::span<double, CoefficientCount> ax,
                         std::span<double, CoefficientCount> bx);

// The lowest order m in 1..M whose series energy √(N/2 Σ_{k=1..m} (a_k² +
// b_k²)) is within `tolerance` (relative) of the energy of the samples about
// their mean a_0/2; M when none is. N = samples.size() >= 2, 1 <= M <=
// MaxHarmonic.
std::int32_t ApproximationOrder(std::span<const double> samples,
                                std::span<const double, CoefficientCount> ax,
                                std::span<const double, CoefficientCount> bx, std::int32_t M,
                                double tolerance);

// Expands signal[0..N−1] (x_1..x_N) into its Fourier series and rebuilds it.
//
// Clears `fundamental`, `approx`, `ax` and `bx` whole, then fills ax/bx for
// harmonics 0..MaximumOrder(N), writes into `fundamental[0..N−1]` the series
// of order `fundamentalOrder` (at most MaxHarmonic), chooses in `approxOrder`
// the lowest order m (1..MaximumOrder(N)) whose energy √(N/2 Σ_{k=1..m}
// (a_k² + b_k²)) is within `tolerance` (relative) of the energy of the
// samples about their mean (ApproximationOrder), and writes the series of
// that order into `approx[0..N−1]`.
//
// With N <= 1 the outputs stay cleared and `approxOrder` keeps its value.
// The samples are read as they were on entry, also when `signal` shares
// memory with an output, which is then cleared and written as above.
// Throws std::invalid_argument when N exceeds the length of `signal`,
// `fundamental` or `approx`.
void FourierApr(std::span<const double> signal, std::int32_t N, double tolerance,
                std::span<double, CoefficientCount> ax, std::span<double, CoefficientCount> bx,
                const std::int32_t& fundamentalOrder, std::span<double> fundamental,
                std::int32_t& approxOrder, std::span<double> approx);

}  // namespace tesmera
