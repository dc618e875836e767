// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/lag_search.h"
#include "support/param_name.h"

#include <cmath>
#include <numbers>
#include <numeric>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace tesmera {
namespace {

TEST(DotProduct, EqualsThePlainSumForEveryTailLength) {
    std::vector<double> a;
    std::vector<double> b;
    for (int i = 0; i < 11; ++i) {
        a.push_back(0.5 + i);
        b.push_back(1.0 / (i + 1));
    }
    for (std::size_t count = 0; count <= a.size(); ++count) {
        const double plain = std::inner_product(a.begin(), a.begin() + count, b.begin(), 0.0);
        EXPECT_NEAR(DotProduct(a.data(), b.data(), count), plain, 1e-12) << count;
    }
}

TEST(SquareSums, OfAnyRange) {
    const std::vector<double> x{1, -2, 3, 0.5};
    const SquareSums sums(x);
    EXPECT_DOUBLE_EQ(sums.Of(0, 4), 14.25);
    EXPECT_DOUBLE_EQ(sums.Of(1, 2), 13);
    EXPECT_DOUBLE_EQ(sums.Of(3, 0), 0);
}

struct PeakCase : test::NamedCase<PeakCase> {
    std::ptrdiff_t lowest;
    std::ptrdiff_t highest;
    std::ptrdiff_t step;
    double top;  // where 1 − (lag − top)² / 400 peaks
    double expected;
};

class LagPeaks : public ::testing::TestWithParam<PeakCase> {};

// On a parabola the refinement is exact wherever the peak lies inside the range.
TEST_P(LagPeaks, AreFoundAndRefined) {
    const PeakCase& c = GetParam();
    std::vector<std::ptrdiff_t> asked;
    const LagPeak peak = FindLagPeak(c.lowest, c.highest, c.step, [&](std::ptrdiff_t lag) {
        asked.push_back(lag);
        const double d = static_cast<double>(lag) - c.top;
        return 1 - d * d / 400;
    });
    EXPECT_NEAR(peak.Lag, c.expected, 1e-9);
    for (const std::ptrdiff_t lag : asked) {
        EXPECT_GE(lag, c.lowest - 1);
        EXPECT_LE(lag, c.highest + 1);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, LagPeaks,
                         ::testing::Values(PeakCase{"EveryLag", 10, 60, 1, 31.3, 31.3},
                                           PeakCase{"CoarseGridThenClimb", 10, 60, 4, 37.6, 37.6},
                                           PeakCase{"PeakBetweenGridPointsBelow", 10, 60, 5, 12.2,
                                                    12.2},
                                           // Beyond the range the best lag is its edge, unrefined.
                                           PeakCase{"PeakBeyondHighest", 10, 60, 4, 80, 60},
                                           PeakCase{"PeakBelowLowest", 10, 60, 4, 2, 10},
                                           PeakCase{"SingleLag", 20, 20, 3, 20.4, 20.4}),
                         test::CaseName());

// A slow cosine sampled over 601 points, peaking between two samples at
// 300.3: the deep sinc interpolation gives its values between the samples
// and its top, where a parabola through three samples would not be exact.
struct SlowCosine {
    static constexpr double Top = 300.3;
    static constexpr double Frequency = 0.02;  // cycles per sample
    static double At(double x) { return std::cos(2 * std::numbers::pi * Frequency * (x - Top)); }
    std::vector<double> samples;
    SlowCosine() {
        for (int k = 0; k <= 600; ++k) {
            samples.push_back(At(k));
        }
    }
};

TEST(SincInterpolation, FollowsABandLimitedSignalBetweenItsSamples) {
    const SlowCosine cosine;
    for (const double x : {250.5, 299.25, 300.3, 310.9}) {
        EXPECT_NEAR(SincInterpolation(cosine.samples, x, DeepSincDepth), SlowCosine::At(x), 1e-5)
            << x;
    }
    EXPECT_EQ(SincInterpolation(cosine.samples, 300, DeepSincDepth), cosine.samples[300]);
    EXPECT_EQ(SincInterpolation(cosine.samples, -2, DeepSincDepth), cosine.samples.front());
}

TEST(SincPeak, FindsTheTopBetweenTheSamples) {
    const SlowCosine cosine;
    const LagPeak peak = SincPeak(cosine.samples, 300);
    EXPECT_NEAR(peak.Lag, SlowCosine::Top, 1e-3);
    EXPECT_NEAR(peak.Value, 1, 1e-6);
}

}  // namespace
}  // namespace tesmera
