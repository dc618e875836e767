// SPDX-License-Identifier: GPL-3.0-or-later
// The Fourier sums evaluated term by term in double, for period lengths
// where a fast transform does not pay: the samples are folded in pairs
// (i, N − i), which share a cosine and negate a sine, and taken eight at a
// time, so the compiler turns every step into wide vector arithmetic. On
// processors that have them, AVX2 and AVX-512 versions are chosen at run
// time; the rounding of each term is then fused into its product.
#pragma once

#include <cstdint>
#include <span>

#include "analysis/HarmonicTable.h"

namespace tesmera {

// Unscaled sums of harmonics 0..M of x_1..x_N (N = table.Size() =
// samples.size() >= 2):
//   cosSums[k] = Σ_{i=1..N} x_i cos(2πki/N),  sinSums[k] = Σ x_i sin(2πki/N).
// Entries above M are not touched. Requires 0 <= M < the spans' size.
void DirectSums(const HarmonicTable& table, std::span<const double> samples, std::int32_t M,
                std::span<double> cosSums, std::span<double> sinSums);

// The series a_0/2 + Σ_{k=1..L} (a_k cos(2πki/N) + b_k sin(2πki/N)) at
// samples i = 1..N into out[i − 1], N = table.Size() = out.size() >= 2.
// L <= 0 gives a_0/2 everywhere. Requires L < the size of ax and bx.
void DirectSeries(const HarmonicTable& table, std::span<const double> ax,
                  std::span<const double> bx, std::int32_t L, std::span<double> out);

}  // namespace tesmera
