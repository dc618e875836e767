// SPDX-License-Identifier: GPL-3.0-or-later
// Every processor version of the term-by-term sums this processor runs gives
// the baseline version's bits, sums and series alike, over generated periods
// of every family, the bundled samples and the cycles of generated vowels: a
// score on a grade border must come out the same on any processor.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <random>
#include <span>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "analysis/HarmonicTable.h"
#include "analysis/direct_fourier.h"
#include "analysis/fourier_apr.h"
#include "analysis/period_analysis.h"
#include "tools/period_families.h"
#include "tools/sustained_vowel.h"
#include "wave/voice_period.h"

namespace tesmera {
namespace {

using Buffer = std::vector<double>;

// The sums and the series of one period, as one version computes them.
struct PathResult {
    Buffer cosSums;
    Buffer sinSums;
    Buffer series;
};

PathResult Compute(const Buffer& x, VectorPath path) {
    const auto N = static_cast<std::int32_t>(x.size());
    const HarmonicTable table(N);
    const std::int32_t M = MaximumOrder(N);
    PathResult result{Buffer(CoefficientCount), Buffer(CoefficientCount), Buffer(x.size())};
    DirectSums(table, x, M, result.cosSums, result.sinSums, path);
    // The series of the sums scaled as coefficients, up to the top order.
    const double scale = 2.0 / static_cast<double>(x.size());
    Buffer ax(CoefficientCount);
    Buffer bx(CoefficientCount);
    std::transform(result.cosSums.begin(), result.cosSums.end(), ax.begin(),
                   [scale](double sum) { return sum * scale; });
    std::transform(result.sinSums.begin(), result.sinSums.end(), bx.begin(),
                   [scale](double sum) { return sum * scale; });
    DirectSeries(table, ax, bx, M, result.series, path);
    return result;
}

bool SameBits(const Buffer& a, const Buffer& b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0;
}

// Periods of every family but the near ties (whose search for a tie is slow,
// and whose sums are no harder than the others'), lengths 2..2000, most of
// them in voices' 60..1500.
std::vector<Buffer> GeneratedPeriods() {
    using namespace testing_signals;
    constexpr PeriodFamily Families[] = {PeriodFamily::Voice, PeriodFamily::Pulse,
                                         PeriodFamily::Noise, PeriodFamily::Tone,
                                         PeriodFamily::Offset};
    PeriodGenerator generator(20261208);
    std::mt19937 random(7);
    std::uniform_int_distribution<std::int32_t> anyLength(2, 2000);
    std::uniform_int_distribution<std::int32_t> voiceLength(60, 1500);
    std::vector<Buffer> periods;
    for (std::int32_t i = 0; i < 2000; ++i) {
        const std::int32_t N = i % 4 == 0 ? anyLength(random) : voiceLength(random);
        periods.push_back(generator.Make(Families[i % std::size(Families)], N, i % 2 == 0));
    }
    return periods;
}

std::vector<Buffer> SamplePeriods() {
    std::vector<Buffer> periods;
    for (const auto& entry : std::filesystem::directory_iterator(TESMERA_SOURCE_DIR "/samples")) {
        if (entry.path().extension() != ".wav") {
            continue;
        }
        PeriodAnalysis record;
        record.Path = entry.path().string();
        Buffer samples(MaxSamples);
        if (LoadPeriodFile(record, samples, [](const Status&) {})) {
            samples.resize(static_cast<std::size_t>(std::min(record.SampleCount, MaxSamples)));
            periods.push_back(samples);
        }
    }
    return periods;
}

// Every cycle of three generated vowels, at 16-bit sample values.
std::vector<Buffer> VowelCycles() {
    std::vector<Buffer> cycles;
    for (const double f0 : {95.0, 180.0, 310.0}) {
        tools::VowelRecipe recipe;
        recipe.F0 = f0;
        recipe.Jitter = 0.015;
        recipe.Shimmer = 0.06;
        recipe.HnrDb = 12;
        const tools::GeneratedVowel vowel = tools::GenerateVowel(recipe);
        const auto& starts = vowel.PeriodStarts;
        for (std::size_t c = 0; c + 1 < starts.size(); ++c) {
            const auto first = static_cast<std::size_t>(std::lround(starts[c] * vowel.Rate));
            const auto end = static_cast<std::size_t>(std::lround(starts[c + 1] * vowel.Rate));
            Buffer cycle;
            for (std::size_t i = first; i < end && i < vowel.Samples.size(); ++i) {
                cycle.push_back(std::nearbyint(vowel.Samples[i] * 32767.0));
            }
            if (cycle.size() >= 2) {
                cycles.push_back(cycle);
            }
        }
    }
    return cycles;
}

class DirectFourierPaths : public ::testing::TestWithParam<VectorPath> {
  protected:
    void SetUp() override {
        const std::vector<VectorPath> runnable = RunnableVectorPaths();
        if (std::find(runnable.begin(), runnable.end(), GetParam()) == runnable.end()) {
            GTEST_SKIP() << "this processor does not run " << VectorPathName(GetParam());
        }
    }

    // Fails with the first period, by index and length, whose bits differ.
    void ExpectBaselineBits(const std::vector<Buffer>& periods) const {
        ASSERT_FALSE(periods.empty());
        for (std::size_t p = 0; p < periods.size(); ++p) {
            const PathResult baseline = Compute(periods[p], VectorPath::Baseline);
            const PathResult tested = Compute(periods[p], GetParam());
            ASSERT_TRUE(SameBits(baseline.cosSums, tested.cosSums) &&
                        SameBits(baseline.sinSums, tested.sinSums) &&
                        SameBits(baseline.series, tested.series))
                << "period " << p << " of " << periods[p].size() << " samples";
        }
    }
};

TEST_P(DirectFourierPaths, GeneratedPeriodsGiveTheBaselineBits) {
    static const std::vector<Buffer> periods = GeneratedPeriods();
    ExpectBaselineBits(periods);
}

TEST_P(DirectFourierPaths, BundledSamplesGiveTheBaselineBits) {
    ExpectBaselineBits(SamplePeriods());
}

TEST_P(DirectFourierPaths, VowelCyclesGiveTheBaselineBits) {
    ExpectBaselineBits(VowelCycles());
}

INSTANTIATE_TEST_SUITE_P(Versions, DirectFourierPaths,
                         ::testing::Values(VectorPath::Avx2, VectorPath::Avx512),
                         [](const auto& info) { return std::string(VectorPathName(info.param)); });

}  // namespace
}  // namespace tesmera
