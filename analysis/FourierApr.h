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

// Coefficients of harmonics 0..M of x_1..x_N, with N = samples.size():
//   ax[k] = (2/N) Σ_{i=1..N} x_i cos(2πki/N),  bx[k] = (2/N) Σ_{i=1..N} x_i sin(2πki/N).
// Samples are numbered from 1 (x_1 is samples[0]). Each harmonic is summed in
// increasing i, products in long double and partial sums stored as doubles,
// then divided by N and doubled. Entries above M are not touched. Requires
// 2 <= N and 0 <= M <= MaxHarmonic.
//
// The angle of (k, i) is reduced to the whole-turn-free angle 2π(ki mod N)/N,
// so a table of N cosines and sines serves all harmonics, each entry as exact
// as the direct angle. The table itself takes at most N/2 + 1 cosine and sine
// pairs, of first-octant angles, instead of one per (k, i).
void FourierCoefficients(std::span<const double> samples, std::int32_t M,
                         std::span<double, CoefficientCount> ax,
                         std::span<double, CoefficientCount> bx);

// Expands signal[0..N−1] (x_1..x_N) into its Fourier series and rebuilds it.
//
// Clears `fundamental`, `approx`, `ax` and `bx` whole, then fills ax/bx for
// harmonics 0..MaximumOrder(N), writes into `fundamental[0..N−1]` the series
// of order `fundamentalOrder` (at most MaxHarmonic), chooses in `approxOrder`
// the lowest order m (1..MaximumOrder(N)) whose energy √(N/2 Σ_{k=1..m}
// (a_k² + b_k²)) is within `tolerance` (relative) of the energy of the
// samples about their mean, and writes the series of that order into
// `approx[0..N−1]`.
//
// With N <= 1 the outputs stay cleared and `approxOrder` keeps its value.
// The caller's signal is never changed (the operation works on a copy).
// Throws std::invalid_argument when N exceeds the length of `signal`,
// `fundamental` or `approx`.
void FourierApr(std::span<const double> signal, std::int32_t N, double tolerance,
                std::span<double, CoefficientCount> ax, std::span<double, CoefficientCount> bx,
                const std::int32_t& fundamentalOrder, std::span<double> fundamental,
                std::int32_t& approxOrder, std::span<double> approx);

}  // namespace tesmera
