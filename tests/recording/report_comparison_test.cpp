// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/report_comparison.h"

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "recording/bootstrap_spread.h"
#include "tools/sustained_vowel.h"

namespace tesmera {
namespace {

// Three seconds of a rough voice at 130 Hz, as a clinic records it.
VoiceReport ReportOfVowel(double jitter, std::uint32_t seed) {
    tools::VowelRecipe recipe;
    recipe.F0 = 130;
    recipe.Jitter = jitter;
    recipe.Shimmer = 0.04;
    recipe.HnrDb = 20;
    recipe.Seconds = 3;
    recipe.Seed = seed;
    const tools::GeneratedVowel vowel = tools::GenerateVowel(recipe);
    VoiceReport report = ReportVoice(vowel.Samples, vowel.Rate);
    EstimateSpreads(report);
    return report;
}

std::array<FigureChange, ComparedFigureCount> Comparison(const VoiceReport& before,
                                                         const VoiceReport& after) {
    EXPECT_TRUE(before.Ok() && after.Ok());
    return CompareReports(EstimatesOf(before), EstimatesOf(after));
}

TEST(ReportComparison, LessJitterAfterTherapyIsARealChange) {
    const auto changes = Comparison(ReportOfVowel(0.02, 1), ReportOfVowel(0.008, 2));
    for (std::size_t i = 1; i <= 4; ++i) {  // jitter local, absolute, RAP, PPQ5
        EXPECT_EQ(changes[i].Verdict, ChangeVerdict::Changed) << ComparedFigures[i].Key;
        EXPECT_LT(*changes[i].Change, 0) << ComparedFigures[i].Key;
    }
}

TEST(ReportComparison, TwoTakesOfTheSameVoiceDifferOnlyByNoise) {
    const auto changes = Comparison(ReportOfVowel(0.02, 3), ReportOfVowel(0.02, 4));
    for (std::size_t i = 0; i < ComparedFigureCount; ++i) {
        const bool shown = ComparisonShows(ComparedFigures[i], changes[i]);
        // Every figure but AVQI, which needs a speech sample.
        EXPECT_EQ(shown, !ComparedFigures[i].OnlyWhenBoth) << ComparedFigures[i].Key;
        if (shown) {
            EXPECT_EQ(changes[i].Verdict, ChangeVerdict::WithinNoise)
                << ComparedFigures[i].Key << " " << *changes[i].Change << " beyond "
                << *changes[i].Noise;
        }
    }
}

FigureEstimate Estimate(std::optional<double> value, std::optional<double> error) {
    return {value, error};
}

TEST(ReportComparison, TheRuleWeighsBothStandardErrors) {
    ReportEstimates before{};
    ReportEstimates after{};
    // F0: 3 and 4 give a combined error of 5, so the noise is 1.96 · 5.
    before[0] = Estimate(100, 3);
    after[0] = Estimate(109.7, 4);
    // Jitter local: just beyond the same noise.
    before[1] = Estimate(1, 3);
    after[1] = Estimate(10.81, 4);
    // AVQI: the published figure, whatever the errors.
    before[11] = Estimate(3.0, std::nullopt);
    after[11] = Estimate(2.4, std::nullopt);
    // Shimmer without a standard error on one side cannot be judged.
    before[5] = Estimate(4, 0.1);
    after[5] = Estimate(9, std::nullopt);
    const auto changes = CompareReports(before, after);
    EXPECT_DOUBLE_EQ(*changes[0].Noise, 9.8);
    EXPECT_EQ(changes[0].Verdict, ChangeVerdict::WithinNoise);
    EXPECT_EQ(changes[1].Verdict, ChangeVerdict::Changed);
    EXPECT_DOUBLE_EQ(*changes[11].Noise, AvqiTestRetestDifference);
    EXPECT_EQ(changes[11].Verdict, ChangeVerdict::Changed);
    EXPECT_EQ(changes[5].Verdict, ChangeVerdict::NotCompared);
    EXPECT_FALSE(ComparisonShows(ComparedFigures[11], CompareReports(before, {})[11]));
}

// A voice whose period steps once from 7 to 8 ms: its jitter is one small
// step. Were the joins of resampled blocks compared, half of them would
// add a 1 ms step and the spread would be many times the figure itself.
TEST(BootstrapSpread, NeverComparesAcrossTheJoinOfTwoBlocks) {
    SpreadSources sources;
    for (std::size_t i = 0; i < 400; ++i) {
        const double period = i < 200 ? 0.007 : 0.008;
        sources.Periods.push_back(period);
        sources.Amplitudes.push_back({0.0075 * static_cast<double>(i), i < 200 ? 1.0 : 1.5});
    }
    const FigureSpreads spreads = BootstrapSpreads(sources);
    const JitterFigures jitter = MeasureJitterOfPeriods(sources.Periods);
    ASSERT_TRUE(jitter.Local && spreads.Jitter.Local && spreads.Shimmer.Local);
    EXPECT_LT(*spreads.Jitter.Local, 2 * *jitter.Local);
    EXPECT_LT(*spreads.Shimmer.Local, 0.002);
}

TEST(BootstrapSpread, GivesTheSameBytesOnAnyNumberOfThreads) {
    SpreadSources sources;
    std::mt19937_64 engine(7);
    for (std::size_t i = 0; i < 300; ++i) {
        const double wobble = static_cast<double>(DrawIndex(engine, 1000)) / 1e6;
        sources.Periods.push_back(0.007 + wobble);
        sources.CycleF0.push_back(1 / (0.007 + wobble));
        sources.HnrFrames.push_back(20 + 1000 * wobble);
        sources.CycleModelValues.push_back({2 + wobble, 2, 2, 2, 2, 3 - wobble});
    }
    const FigureSpreads one = BootstrapSpreads(sources, 1);
    const FigureSpreads four = BootstrapSpreads(sources, 4);
    EXPECT_EQ(one.F0MeanHz, four.F0MeanHz);
    EXPECT_EQ(one.Jitter.Ppq5, four.Jitter.Ppq5);
    EXPECT_EQ(one.HnrDb, four.HnrDb);
    EXPECT_EQ(one.ModelMedians, four.ModelMedians);
    // The standard error of a mean of 300 values spread evenly over 1 dB
    // (standard deviation 0.29 dB).
    ASSERT_TRUE(one.HnrDb);
    EXPECT_NEAR(*one.HnrDb, 0.29 / std::sqrt(300.0), 0.01);
    EXPECT_FALSE(one.CppsDb);  // no frames, no spread
}

// The draw is the engine's output modulo the bound, unless the output falls
// in the incomplete last stretch of 2^64, so the indices depend on the
// engine alone, which the standard fixes.
TEST(BootstrapSpread, DrawsIndicesFromTheEngineAlone) {
    std::mt19937_64 engine(11);
    std::mt19937_64 reference(11);
    for (const std::uint64_t bound : {1ULL, 2ULL, 10ULL, 1000ULL}) {
        EXPECT_EQ(DrawIndex(engine, bound), reference() % bound) << bound;
    }
    // 2^64 is 1⅓ times this bound: outputs from 3·2^62 on are drawn again.
    constexpr std::uint64_t Bound = 3ULL << 62;
    for (int draw = 0; draw < 20; ++draw) {
        std::uint64_t raw = reference();
        while (raw >= Bound) {
            raw = reference();
        }
        EXPECT_EQ(DrawIndex(engine, Bound), raw) << draw;
    }
}

}  // namespace
}  // namespace tesmera
