// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/bootstrap_spread.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <span>

#include "recording/parallel_work.h"

namespace tesmera {

namespace {

// A period no voice has, between two joined blocks: outside the floor, so
// neither neighbour is compared with it.
constexpr double PeriodGap = 0;
// The time between two joined blocks' amplitudes: beyond any period
// ceiling, so they are not compared.
constexpr double AmplitudeGap = 1;  // seconds
// Resamples handled by one task.
constexpr std::size_t ResamplesPerTask = 50;

// Distinguishes the figures' random streams, so each resample's draws do
// not depend on which other figures are resampled.
enum class Source : std::uint64_t { F0, Periods, Amplitudes, Hnr, Cpps, Models };

template <std::size_t N>
using Values = std::array<std::optional<double>, N>;

// The first unit of each block of one resample of `count` units, `block`
// at a time (the last block cut short so the resample holds `count`).
struct Block {
    std::size_t First;
    std::size_t Length;
};
std::vector<Block> DrawBlocks(std::mt19937_64& engine, std::size_t count, std::size_t block) {
    const std::size_t length = std::min(block, count);
    const std::size_t starts = count - length + 1;
    std::vector<Block> blocks;
    for (std::size_t drawn = 0; drawn < count; drawn += length) {
        blocks.push_back(
            {static_cast<std::size_t>(DrawIndex(engine, starts)), std::min(length, count - drawn)});
    }
    return blocks;
}

// The standard errors of N figures, `statistic` giving them from one
// resample's blocks of `count` units.
template <std::size_t N>
Values<N> Spreads(Source source, std::size_t count, std::size_t block, unsigned threads,
                  const std::function<Values<N>(const std::vector<Block>&)>& statistic) {
    if (count == 0) {
        return {};
    }
    std::vector<Values<N>> resampled(BootstrapResamples);
    const std::uint64_t stream = static_cast<std::uint64_t>(source) * BootstrapResamples;
    RunInParallelRuns(BootstrapResamples, ResamplesPerTask, threads,
                      [&](std::size_t first, std::size_t end) {
                          for (std::size_t r = first; r < end; ++r) {
                              std::mt19937_64 engine(BootstrapSeed + stream + r);
                              resampled[r] = statistic(DrawBlocks(engine, count, block));
                          }
                      });
    Values<N> spreads;
    for (std::size_t i = 0; i < N; ++i) {
        std::vector<double> column;
        for (const Values<N>& values : resampled) {
            if (values[i]) {
                column.push_back(*values[i]);
            }
        }
        spreads[i] = SampleStandardDeviation(column);
    }
    return spreads;
}

std::optional<double> MeanSpread(Source source, std::span<const double> units, std::size_t block,
                                 unsigned threads) {
    return Spreads<1>(source, units.size(), block, threads, [units](const auto& blocks) {
        double sum = 0;
        for (const Block& b : blocks) {
            for (std::size_t i = b.First; i < b.First + b.Length; ++i) {
                sum += units[i];
            }
        }
        return Values<1>{sum / static_cast<double>(units.size())};
    })[0];
}

void SetJitterSpreads(JitterFigures& spreads, std::span<const double> periods, unsigned threads) {
    const Values<4> values = Spreads<4>(
        Source::Periods, periods.size(), CycleBlock, threads, [periods](const auto& blocks) {
            std::vector<double> joined;
            for (const Block& b : blocks) {
                if (!joined.empty()) {
                    joined.push_back(PeriodGap);
                }
                joined.insert(joined.end(), periods.begin() + static_cast<std::ptrdiff_t>(b.First),
                              periods.begin() + static_cast<std::ptrdiff_t>(b.First + b.Length));
            }
            const JitterFigures jitter = MeasureJitterOfPeriods(joined);
            return Values<4>{jitter.Local, jitter.LocalAbsolute, jitter.Rap, jitter.Ppq5};
        });
    spreads = {values[0], values[1], values[2], values[3]};
}

void SetShimmerSpreads(ShimmerFigures& spreads, std::span<const PeriodAmplitude> amplitudes,
                       unsigned threads) {
    const Values<4> values =
        Spreads<4>(Source::Amplitudes, amplitudes.size(), CycleBlock, threads,
                   [amplitudes](const auto& blocks) {
                       std::vector<PeriodAmplitude> joined;
                       double time = 0;
                       for (const Block& b : blocks) {
                           for (std::size_t i = b.First; i < b.First + b.Length; ++i) {
                               time += i == b.First ? (joined.empty() ? 0 : AmplitudeGap)
                                                    : amplitudes[i].Time - amplitudes[i - 1].Time;
                               joined.push_back({time, amplitudes[i].Amplitude});
                           }
                       }
                       const ShimmerFigures shimmer = MeasureShimmerOfAmplitudes(joined);
                       return Values<4>{shimmer.Local, shimmer.LocalDb, shimmer.Apq3, shimmer.Apq5};
                   });
    spreads = {values[0], values[1], values[2], values[3]};
}

void SetModelSpreads(FigureSpreads& spreads, std::span<const CycleValues> cycles,
                     unsigned threads) {
    spreads.ModelMedians = Spreads<ScoreModelCount>(
        Source::Models, cycles.size(), CycleBlock, threads, [cycles](const auto& blocks) {
            Values<ScoreModelCount> medians;
            std::vector<double> column;
            for (std::size_t m = 0; m < ScoreModelCount; ++m) {
                column.clear();
                for (const Block& b : blocks) {
                    for (std::size_t i = b.First; i < b.First + b.Length; ++i) {
                        column.push_back(cycles[i][m]);
                    }
                }
                medians[m] = MedianInPlace(column);
            }
            return medians;
        });
}

}  // namespace

std::uint64_t DrawIndex(std::mt19937_64& engine, std::uint64_t bound) {
    constexpr std::uint64_t Largest = std::numeric_limits<std::uint64_t>::max();
    // Outputs from `limit` on would make the lowest residues likelier.
    const std::uint64_t limit = Largest - (Largest % bound + 1) % bound;
    std::uint64_t value = engine();
    while (value > limit) {
        value = engine();
    }
    return value % bound;
}

std::optional<double> SampleStandardDeviation(std::span<const double> values) {
    if (values.size() < 2) {
        return std::nullopt;
    }
    double sum = 0;
    for (const double v : values) {
        sum += v;
    }
    const double mean = sum / static_cast<double>(values.size());
    double squares = 0;
    for (const double v : values) {
        squares += (v - mean) * (v - mean);
    }
    return std::sqrt(squares / static_cast<double>(values.size() - 1));
}

FigureSpreads BootstrapSpreads(const SpreadSources& sources, unsigned threads) {
    FigureSpreads spreads;
    spreads.F0MeanHz = MeanSpread(Source::F0, sources.CycleF0, CycleBlock, threads);
    SetJitterSpreads(spreads.Jitter, sources.Periods, threads);
    SetShimmerSpreads(spreads.Shimmer, sources.Amplitudes, threads);
    spreads.HnrDb = MeanSpread(Source::Hnr, sources.HnrFrames, HnrFrameBlock, threads);
    spreads.CppsDb = MeanSpread(Source::Cpps, sources.CppsFrames, CppsFrameBlock, threads);
    SetModelSpreads(spreads, sources.CycleModelValues, threads);
    return spreads;
}

}  // namespace tesmera
