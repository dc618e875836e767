// SPDX-License-Identifier: GPL-3.0-or-later
// The double-precision kernel (term by term or by fast transform) against
// the Fourier sums formed pair by pair in long double: every coefficient
// within 1e-12 of the largest sample magnitude, the same approximation order,
// and series within the same bound.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "analysis/fourier_apr.h"
#include "analysis/period_analysis.h"
#include "support/param_name.h"
#include "tests/analysis/fourier_reference.h"
#include "tests/analysis/voice_like_signal.h"
#include "tools/period_families.h"
#include "wave/voice_period.h"

namespace tesmera {
namespace {

using Coefficients = std::array<double, CoefficientCount>;
using Buffer = std::vector<double>;
using testing_signals::PeriodFamily;

constexpr double Agreement = 1e-12;

double Peak(const Buffer& x) {
    double peak = 0.0;
    for (const double v : x) {
        peak = std::max(peak, std::fabs(v));
    }
    return peak;
}

// Largest coefficient deviation from the long-double sums, relative to the
// peak sample magnitude (absolute when the period is silent).
double CoefficientDeviation(const Buffer& x, const Coefficients& ax, const Coefficients& bx,
                            const Coefficients& referenceAx, const Coefficients& referenceBx) {
    double worst = 0.0;
    for (std::size_t k = 0; k < CoefficientCount; ++k) {
        worst =
            std::max({worst, std::fabs(ax[k] - referenceAx[k]), std::fabs(bx[k] - referenceBx[k])});
    }
    return worst / std::max(Peak(x), 1.0);
}

double SeriesDeviation(const Buffer& x, std::span<const double> series,
                       std::span<const double> reference) {
    double worst = 0.0;
    for (std::size_t i = 0; i < reference.size(); ++i) {
        worst = std::max(worst, std::fabs(series[i] - reference[i]));
    }
    return worst / std::max(Peak(x), 1.0);
}

// One FourierApr call over full-size buffers, and the same quantities from
// the long-double sums.
struct Comparison {
    Coefficients ax{}, bx{}, referenceAx{}, referenceBx{};
    Buffer fundamental = Buffer(MaxSamples, 0.0);
    Buffer approx = Buffer(MaxSamples, 0.0);
    std::int32_t order = 0;
    std::int32_t referenceOrder = 0;

    explicit Comparison(const Buffer& x) {
        const auto N = static_cast<std::int32_t>(x.size());
        Buffer signal(MaxSamples, 0.0);
        std::ranges::copy(x, signal.begin());
        FourierApr(signal, N, ApproxEnergyTolerance, ax, bx, 1, fundamental, order, approx);
        const std::int32_t M = MaximumOrder(N);
        reference::FourierCoefficients(x, M, referenceAx, referenceBx);
        referenceOrder = ApproximationOrder(x, referenceAx, referenceBx, M, ApproxEnergyTolerance);
    }
};

// --- A table of lengths: primes, powers of two, both sides of where the fast
// transform takes over, the longest period, each with two signals.

struct LengthCase : test::NamedCase<LengthCase> {
    std::int32_t N;
    bool noise;  // white noise instead of a voice-like period
};

std::vector<LengthCase> LengthCases() {
    std::vector<LengthCase> cases;
    for (const std::int32_t N : {2,   3,   4,    5,    7,    11,   12,   13,   20,   21,   64,
                                 101, 110, 111,  127,  128,  201,  202,  203,  210,  256,  441,
                                 512, 997, 1000, 1024, 2000, 2003, 4096, 9973, 9998, 10000}) {
        cases.push_back({"N" + std::to_string(N) + "_voice", N, false});
        cases.push_back({"N" + std::to_string(N) + "_noise", N, true});
    }
    return cases;
}

class KernelAgreement : public testing::TestWithParam<LengthCase> {};

TEST_P(KernelAgreement, CoefficientsOrderAndSeriesMatchTheLongDoubleSums) {
    const LengthCase& c = GetParam();
    const Buffer x = c.noise ? testing_signals::PeriodGenerator(static_cast<std::uint32_t>(c.N))
                                   .Make(PeriodFamily::Noise, c.N, false)
                             : testing_signals::VoiceLikePeriod(c.N);
    const Comparison r(x);
    EXPECT_LE(CoefficientDeviation(x, r.ax, r.bx, r.referenceAx, r.referenceBx), Agreement);
    EXPECT_EQ(r.order, r.referenceOrder);

    const auto N = static_cast<std::size_t>(c.N);
    Buffer expected(N);
    reference::Series(r.referenceAx, r.referenceBx, 1, expected);
    EXPECT_LE(SeriesDeviation(x, std::span(r.fundamental).first(N), expected), Agreement);
    reference::Series(r.referenceAx, r.referenceBx, r.referenceOrder, expected);
    EXPECT_LE(SeriesDeviation(x, std::span(r.approx).first(N), expected), Agreement);
}

INSTANTIATE_TEST_SUITE_P(Lengths, KernelAgreement, testing::ValuesIn(LengthCases()),
                         test::CaseName());

// --- Sweeps over lengths, coefficients only.

struct SweepCase : test::NamedCase<SweepCase> {
    std::int32_t first;
    std::int32_t last;
    std::int32_t stride;
};

class KernelSweep : public testing::TestWithParam<SweepCase> {};

TEST_P(KernelSweep, EveryLengthAgreesWithTheLongDoubleSums) {
    const SweepCase& c = GetParam();
    testing_signals::PeriodGenerator generator(static_cast<std::uint32_t>(c.first));
    for (std::int32_t N = c.first; N <= c.last; N += c.stride) {
        const Buffer x = generator.Make(PeriodFamily::Noise, N, true);
        Coefficients ax{}, bx{}, referenceAx{}, referenceBx{};
        const std::int32_t M = MaximumOrder(N);
        FourierCoefficients(x, M, ax, bx);
        reference::FourierCoefficients(x, M, referenceAx, referenceBx);
        ASSERT_LE(CoefficientDeviation(x, ax, bx, referenceAx, referenceBx), Agreement)
            << "N = " << N;
    }
}

INSTANTIATE_TEST_SUITE_P(Lengths, KernelSweep,
                         testing::Values(SweepCase{"every_length_2_to_200", 2, 200, 1},
                                         SweepCase{"every_29th_length_to_1500", 201, 1500, 29},
                                         SweepCase{"where_the_fast_transform_takes_over", 1010,
                                                   1040, 1},
                                         SweepCase{"every_997th_length_to_10000", 1501, 10000, 997},
                                         SweepCase{"fast_transform_lengths", 3072, 9216, 3072}),
                         test::CaseName());

TEST(KernelSweep, CoversBothMethods) {
    EXPECT_FALSE(UsesFastTransform(441));   // smooth, but short
    EXPECT_FALSE(UsesFastTransform(1000));  // smooth, but short
    EXPECT_TRUE(UsesFastTransform(1024));
    EXPECT_TRUE(UsesFastTransform(2000));
    EXPECT_FALSE(UsesFastTransform(2003));
    EXPECT_TRUE(UsesFastTransform(10000));
    EXPECT_FALSE(UsesFastTransform(9973));
}

// --- Generated periods of every family: the same order as the long-double
// sums give, also where the criterion is met or missed by 1e-7..1e-10.

struct GeneratedCase : test::NamedCase<GeneratedCase> {
    PeriodFamily family;
    std::int32_t shortest;
    std::int32_t longest;
    std::int32_t count;
};

std::vector<GeneratedCase> GeneratedCases() {
    std::vector<GeneratedCase> cases;
    for (const PeriodFamily family : testing_signals::AllPeriodFamilies) {
        const std::string name(testing_signals::FamilyName(family));
        cases.push_back({name + "_short", family, 2, 100, 300});
        cases.push_back({name + "_voice_range", family, 100, 600, 40});
        cases.push_back({name + "_long", family, 2000, 10000, 1});
    }
    return cases;
}

class GeneratedPeriods : public testing::TestWithParam<GeneratedCase> {};

TEST_P(GeneratedPeriods, KeepTheOrderAndTheCoefficientsOfTheLongDoubleSums) {
    const GeneratedCase& c = GetParam();
    std::mt19937 lengths(static_cast<std::uint32_t>(c.longest + c.count));
    testing_signals::PeriodGenerator generator(static_cast<std::uint32_t>(c.family) + 1);
    for (std::int32_t n = 0; n < c.count; ++n) {
        const std::int32_t N = std::uniform_int_distribution(c.shortest, c.longest)(lengths);
        const Buffer x = generator.Make(c.family, N, n % 2 == 0);
        const Comparison r(x);
        ASSERT_EQ(r.order, r.referenceOrder) << "case " << n << ", N = " << N;
        ASSERT_LE(CoefficientDeviation(x, r.ax, r.bx, r.referenceAx, r.referenceBx), Agreement)
            << "case " << n << ", N = " << N;
    }
}

INSTANTIATE_TEST_SUITE_P(Families, GeneratedPeriods, testing::ValuesIn(GeneratedCases()),
                         test::CaseName());

// --- Harmonics at a quarter or a half of the length: every cosine and sine
// is 0 or ±1, so with whole samples the sum is exact, as the long-double sums
// give it; a value such as 41.25 must not come out a bit lower and be shown
// as 41.2.

struct ExactCase : test::NamedCase<ExactCase> {
    std::int32_t N;
    std::int32_t k;
};

class ExactHarmonics : public testing::TestWithParam<ExactCase> {};

TEST_P(ExactHarmonics, SumWholeSamplesWithoutRounding) {
    const ExactCase& c = GetParam();
    const Buffer x = testing_signals::PeriodGenerator(static_cast<std::uint32_t>(c.N))
                         .Make(PeriodFamily::Pulse, c.N, true);
    constexpr std::int64_t QuarterCos[4] = {1, 0, -1, 0};
    std::int64_t cosSum = 0;
    std::int64_t sinSum = 0;
    for (std::int32_t i = 1; i <= c.N; ++i) {
        const std::int64_t quarters = 4 * std::int64_t{c.k} * i / c.N % 4;
        cosSum += QuarterCos[quarters] * static_cast<std::int64_t>(x[i - 1]);
        sinSum += QuarterCos[(quarters + 3) % 4] * static_cast<std::int64_t>(x[i - 1]);
    }
    Coefficients ax{}, bx{};
    FourierCoefficients(x, c.k, ax, bx);
    EXPECT_EQ(ax[c.k], static_cast<double>(cosSum) / c.N * 2.0);
    EXPECT_EQ(bx[c.k], static_cast<double>(sinSum) / c.N * 2.0);
}

INSTANTIATE_TEST_SUITE_P(QuarterTurns, ExactHarmonics,
                         testing::Values(ExactCase{"quarter_of_56", 56, 14},
                                         ExactCase{"quarter_of_44", 44, 11},
                                         ExactCase{"quarter_of_92", 92, 23},
                                         ExactCase{"half_of_30", 30, 15},
                                         ExactCase{"quarter_of_388", 388, 97}),
                         test::CaseName());

// --- A constant period: every harmonic exactly zero by either method, so
// the criterion is met at order 1 rather than by whatever order rounding
// residue happens to reach.

struct ConstantCase : test::NamedCase<ConstantCase> {
    std::int32_t N;
    double level;
};

class ConstantPeriods : public testing::TestWithParam<ConstantCase> {};

TEST_P(ConstantPeriods, HaveNoHarmonicsAndOrderOne) {
    const ConstantCase& c = GetParam();
    const Comparison r(Buffer(static_cast<std::size_t>(c.N), c.level));
    EXPECT_EQ(r.ax[0], 2 * c.level);
    for (std::int32_t k = 1; k <= MaximumOrder(c.N); ++k) {
        ASSERT_EQ(r.ax[k], 0.0) << "harmonic " << k;
        ASSERT_EQ(r.bx[k], 0.0) << "harmonic " << k;
    }
    EXPECT_EQ(r.order, 1);
    EXPECT_EQ(r.approx[0], c.level);
    EXPECT_EQ(r.approx[c.N - 1], c.level);
}

INSTANTIATE_TEST_SUITE_P(Levels, ConstantPeriods,
                         testing::Values(ConstantCase{"N16_level_minus_1", 16, -1},
                                         ConstantCase{"N35_level_7", 35, 7},
                                         ConstantCase{"N50_level_minus_32768", 50, -32768},
                                         ConstantCase{"N441_level_32767", 441, 32767},
                                         ConstantCase{"N997_level_123", 997, 123},
                                         ConstantCase{"N3399_level_minus_5", 3399, -5},
                                         ConstantCase{"N1024_level_4", 1024, 4},
                                         ConstantCase{"N10000_level_300", 10000, 300}),
                         test::CaseName());

}  // namespace
}  // namespace tesmera
