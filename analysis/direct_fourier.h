// SPDX-License-Identifier: GPL-3.0-or-later
// The Fourier sums evaluated term by term in double, for period lengths
// where a fast transform does not pay: the samples are folded in pairs
// (i, N − i), which share a cosine and negate a sine, and taken eight at a
// time, so the compiler turns every step into wide vector arithmetic. On
// processors that have them, AVX2 and AVX-512 versions are chosen at run
// time; every version gives the same bits.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "analysis/HarmonicTable.h"

namespace tesmera {

// The processor versions of the sums, from the instructions every x86-64
// processor has up. Each rounds the same operations in the same order and
// none fuses a product into a sum, so all give the same bits.
enum class VectorPath { Baseline, Avx2, Avx512 };

// "baseline", "avx2" or "avx512".
std::string_view VectorPathName(VectorPath path);

// The versions this processor runs, Baseline first and the fastest last.
std::vector<VectorPath> RunnableVectorPaths();

// The version the sums take unless told: the fastest this processor runs, or
// the one the environment variable TESMERA_VECTOR_PATH names (as
// VectorPathName gives it), for comparing the versions. Decided at the first
// call; throws TesmeraError when the variable names no runnable version.
VectorPath ChosenVectorPath();

// Unscaled sums of harmonics 0..M of x_1..x_N (N = table.Size() =
// samples.size() >= 2):
//   cosSums[k] = Σ_{i=1..N} x_i cos(2πki/N),  sinSums[k] = Σ x_i sin(2πki/N).
// Entries above M are not touched. Requires 0 <= M < the spans' size.
void DirectSums(const HarmonicTable& table, std::span<const double> samples, std::int32_t M,
                std::span<double> cosSums, std::span<double> sinSums,
                VectorPath path = ChosenVectorPath());

// The series a_0/2 + Σ_{k=1..L} (a_k cos(2πki/N) + b_k sin(2πki/N)) at
// samples i = 1..N into out[i − 1], N = table.Size() = out.size() >= 2.
// L <= 0 gives a_0/2 everywhere. Requires L < the size of ax and bx.
void DirectSeries(const HarmonicTable& table, std::span<const double> ax,
                  std::span<const double> bx, std::int32_t L, std::span<double> out,
                  VectorPath path = ChosenVectorPath());

}  // namespace tesmera
