// SPDX-License-Identifier: GPL-3.0-or-later
// How far each figure of a voice report would move on another take of the
// same voice, from the recording's own spread: a moving-block bootstrap.
// Each figure is recomputed, by the code that computes it for the report,
// on BootstrapResamples resamples of the units it is made of (periods,
// period amplitudes, analysed cycles, analysis frames), each resample as
// many units as the recording has, drawn as blocks of consecutive units;
// the spread is the standard deviation of the recomputed values, the
// figure's standard error.
//
// Blocks rather than single units: jitter, shimmer and their RAP, PPQ5,
// APQ3 and APQ5 compare neighbours, and neighbouring frames overlap, so
// single units drawn apart would break the very neighbourhoods measured
// (and make a steady voice look perturbed). Joins between blocks are never
// compared: the perturbation measures get a gap there that they skip as a
// voice break. Slow swings longer than a block (tremor, drift) stay partly
// unseen, so the spread errs small for a voice that wavers.
//
// The same sources give the same bytes on every machine and any thread
// count: resample r of source s runs its own std::mt19937_64 seeded with
// BootstrapSeed + s·BootstrapResamples + r, whose output the standard
// fixes, and draws its indices by DrawIndex rather than a library's
// distribution.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <random>
#include <span>
#include <vector>

#include "recording/model_summary.h"
#include "recording/perturbation.h"

namespace tesmera {

// 200 resamples put a standard error within about 5 % of what endless
// resampling would give (the relative error of a standard deviation from B
// values is about 1 / √(2B)), at a fifth of the cost of 1000: each resample
// recomputes every figure, 0.4 s for 30 s of a 220 Hz voice on one core.
constexpr std::size_t BootstrapResamples = 200;
constexpr std::uint64_t BootstrapSeed = 20261208;
// Units per drawn block: ten cycles hold the five-period neighbourhoods of
// PPQ5 and APQ5 six times over; ten HNR frames (0.01 s apart) and fifty
// CPPS frames (0.002 s apart) span 0.1 s, beyond the frames' own overlap.
constexpr std::size_t CycleBlock = 10;
constexpr std::size_t HnrFrameBlock = 10;
constexpr std::size_t CppsFrameBlock = 50;

// The units each figure is computed from, in time order.
struct SpreadSources {
    std::vector<double> Periods;  // every period of the stretch, seconds
    std::vector<PeriodAmplitude> Amplitudes;
    std::vector<double> HnrFrames;              // dB of each voiced frame
    std::vector<double> CppsFrames;             // dB of each frame
    std::vector<double> CycleF0;                // Hz of each analysed cycle
    std::vector<CycleValues> CycleModelValues;  // of each analysed cycle
};

// Standard errors in each figure's own unit (jitter and shimmer as
// fractions and seconds, as JitterFigures and ShimmerFigures hold them);
// absent where fewer than two resamples gave the figure.
struct FigureSpreads {
    std::optional<double> F0MeanHz;
    JitterFigures Jitter;
    ShimmerFigures Shimmer;
    std::optional<double> HnrDb;
    std::optional<double> CppsDb;
    std::array<std::optional<double>, ScoreModelCount> ModelMedians{};
};

// The spreads of every figure the sources give, on up to `threads` threads.
FigureSpreads BootstrapSpreads(const SpreadSources& sources, unsigned threads = 1);

// The sample standard deviation (n - 1 in the denominator), summed in
// order; absent for fewer than two values.
std::optional<double> SampleStandardDeviation(std::span<const double> values);

// A uniform draw from 0..bound-1 (bound > 0): the engine's raw outputs,
// those beyond the last whole multiple of `bound` rejected, modulo `bound`.
std::uint64_t DrawIndex(std::mt19937_64& engine, std::uint64_t bound);

}  // namespace tesmera
