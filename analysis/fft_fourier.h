// SPDX-License-Identifier: GPL-3.0-or-later
// The Fourier sums through the FFTW library, for period lengths whose
// transform is fast. Their plans come from the program's one plan cache
// (analysis/fft_plans.h); any number of threads may call these at once.
#pragma once

#include <cstdint>
#include <span>

namespace tesmera {

// Unscaled sums of harmonics 0..M of x_1..x_N, N = samples.size():
//   cosSums[k] = Σ_{i=1..N} x_i cos(2πki/N),  sinSums[k] = Σ x_i sin(2πki/N).
// Entries above M are not touched. Requires 2 <= N and 0 <= M < N/2.
void FftSums(std::span<const double> samples, std::int32_t M, std::span<double> cosSums,
             std::span<double> sinSums);

// The series a_0/2 + Σ_{k=1..L} (a_k cos(2πki/N) + b_k sin(2πki/N)) at
// samples i = 1..N into out[i − 1], N = out.size(). L <= 0 gives a_0/2
// everywhere. Requires 2 <= N and L < N/2, L < the size of ax and bx.
void FftSeries(std::span<const double> ax, std::span<const double> bx, std::int32_t L,
               std::span<double> out);

}  // namespace tesmera
