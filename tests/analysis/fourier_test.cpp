// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/fourier_apr.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>
#include <stdexcept>
#include <vector>

#include <gtest/gtest.h>

#include "tests/analysis/fourier_reference.h"
#include "tests/analysis/voice_like_signal.h"
#include "wave/voice_period.h"

namespace tesmera {
namespace {

using Coefficients = std::array<double, CoefficientCount>;
using Buffer = std::vector<double>;

// All outputs of one FourierApr call, over full-size buffers as the compute
// command hands them in.
struct Expansion {
    Coefficients ax{};
    Coefficients bx{};
    Buffer fundamental = Buffer(MaxSamples, 0.0);
    Buffer approx = Buffer(MaxSamples, 0.0);
    std::int32_t approxOrder = -1;

    void Run(const Buffer& samples, double tolerance = 0.01, std::int32_t fundamentalOrder = 1) {
        Buffer signal(MaxSamples, 0.0);
        std::copy(samples.begin(), samples.end(), signal.begin());
        FourierApr(signal, static_cast<std::int32_t>(samples.size()), tolerance, ax, bx,
                   fundamentalOrder, fundamental, approxOrder, approx);
    }
};

// x_i = offset + Σ (a cos(2πki/N) + b sin(2πki/N)) for the listed harmonics.
struct Harmonic {
    int k;
    double a;
    double b;
};
Buffer SeriesSignal(std::int32_t N, double offset, std::initializer_list<Harmonic> harmonics) {
    Buffer x(static_cast<std::size_t>(N));
    for (std::int32_t i = 1; i <= N; ++i) {
        long double value = offset;
        for (const Harmonic& h : harmonics) {
            const long double angle = ((h.k * TwoPi) * i) / N;
            value += h.a * std::cos(angle) + h.b * std::sin(angle);
        }
        x[i - 1] = static_cast<double>(value);
    }
    return x;
}

void ExpectNear(const Buffer& actual, std::size_t count, const Buffer& expected, double tolerance) {
    for (std::size_t i = 0; i < count; ++i) {
        EXPECT_NEAR(actual[i], expected[i], tolerance) << "at position " << i;
    }
}

bool AllZeroFrom(const auto& values, std::size_t first) {
    return std::all_of(values.begin() + first, values.end(), [](double v) { return v == 0.0; });
}

TEST(MaximumOrder, IsNMinusTenBetweenOneAndOneHundred) {
    const std::array<std::pair<std::int32_t, std::int32_t>, 9> table{
        {{0, 1}, {1, 1}, {2, 1}, {11, 1}, {12, 2}, {50, 40}, {110, 100}, {111, 100}, {10000, 100}}};
    for (const auto& [N, M] : table) {
        EXPECT_EQ(MaximumOrder(N), M) << "N = " << N;
    }
}

TEST(FourierApr, NumbersSamplesFromOne) {
    Expansion e;
    e.Run({1, 0, -1, 0});
    EXPECT_EQ(e.ax[0], 0.0);
    EXPECT_NEAR(e.ax[1], 0.0, 1e-15);
    EXPECT_NEAR(e.bx[1], 1.0, 1e-15);
    EXPECT_EQ(e.approxOrder, 1);
    ExpectNear(e.fundamental, 4, {1, 0, -1, 0}, 1e-15);
    ExpectNear(e.approx, 4, {1, 0, -1, 0}, 1e-15);
}

TEST(FourierApr, HarmonicsAboveTheMaximumOrderAreLeftOut) {
    Expansion e;
    e.Run({3, 1, 3, 1});
    EXPECT_NEAR(e.ax[0], 4.0, 1e-15);
    EXPECT_NEAR(e.ax[1], 0.0, 1e-15);
    EXPECT_NEAR(e.bx[1], 0.0, 1e-15);
    EXPECT_TRUE(AllZeroFrom(e.ax, 2));
    EXPECT_EQ(e.approxOrder, 1);
    ExpectNear(e.approx, 4, {2, 2, 2, 2}, 1e-15);
    ExpectNear(e.fundamental, 4, {2, 2, 2, 2}, 1e-15);
}

TEST(FourierApr, RecoversKnownHarmonicsAndStopsAtTheirEnergy) {
    // Energies relative to the whole: harmonic 1 holds 4/6.5, 1..3 hold
    // 6.25/6.5 (2 % short) and 1..5 all of it, so 1 % tolerance picks order 5.
    const Buffer x = SeriesSignal(441, 3.0, {{1, 2.0, 0.0}, {3, 0.0, 1.5}, {5, -0.5, 0.0}});
    Expansion e;
    e.Run(x);
    EXPECT_NEAR(e.ax[0], 6.0, 1e-12);
    EXPECT_NEAR(e.ax[1], 2.0, 1e-12);
    EXPECT_NEAR(e.bx[3], 1.5, 1e-12);
    EXPECT_NEAR(e.ax[5], -0.5, 1e-12);
    for (const int k : {2, 4, 6, 50, 100}) {
        EXPECT_NEAR(e.ax[k], 0.0, 1e-12) << k;
        EXPECT_NEAR(e.bx[k], 0.0, 1e-12) << k;
    }
    EXPECT_EQ(e.approxOrder, 5);
    ExpectNear(e.approx, x.size(), x, 1e-11);
    ExpectNear(e.fundamental, x.size(), SeriesSignal(441, 3.0, {{1, 2.0, 0.0}}), 1e-11);
}

// Lengths where no order below M holds all the energy. (An odd N above 21
// holds it all by harmonic (N − 1)/2, where a zero tolerance meets or misses
// equality by one rounding.)
TEST(FourierApr, ZeroToleranceRunsUpToTheMaximumOrder) {
    for (const auto& [N, M] : {std::pair{11, 1}, {50, 40}, {110, 100}, {112, 100}}) {
        Expansion e;
        e.Run(testing_signals::VoiceLikePeriod(N), 0.0);
        EXPECT_EQ(e.approxOrder, M) << "N = " << N;
        EXPECT_NE(e.ax[M], 0.0) << "N = " << N;
        EXPECT_TRUE(AllZeroFrom(e.ax, M + 1)) << "N = " << N;
        EXPECT_TRUE(AllZeroFrom(e.bx, M + 1)) << "N = " << N;
    }
}

// Every coefficient from index `coefficient` on and every series value from
// index `sample` on is zero.
void ExpectOutputsZeroFrom(const Expansion& e, std::size_t coefficient, std::size_t sample) {
    EXPECT_TRUE(AllZeroFrom(e.ax, coefficient));
    EXPECT_TRUE(AllZeroFrom(e.bx, coefficient));
    EXPECT_TRUE(AllZeroFrom(e.fundamental, sample));
    EXPECT_TRUE(AllZeroFrom(e.approx, sample));
}

TEST(FourierApr, SilenceHasOrderOneAndZeroSeries) {
    Expansion e;
    e.Run(Buffer(300, 0.0));
    EXPECT_EQ(e.approxOrder, 1);
    ExpectOutputsZeroFrom(e, 0, 0);
}

TEST(FourierApr, ASingleSampleClearsEverythingButKeepsTheOrder) {
    Expansion e;
    e.Run(testing_signals::VoiceLikePeriod(441));
    e.approxOrder = 37;
    e.Run({5.0});
    EXPECT_EQ(e.approxOrder, 37);
    ExpectOutputsZeroFrom(e, 0, 0);
}

TEST(FourierApr, AShorterSignalClearsWhatALongerOneLeft) {
    Expansion e;
    e.Run(testing_signals::VoiceLikePeriod(2000), 0.0);
    e.Run(testing_signals::VoiceLikePeriod(30), 0.0);
    EXPECT_EQ(e.approxOrder, 20);
    ExpectOutputsZeroFrom(e, 21, 30);
}

TEST(FourierApr, AFundamentalOrderOfZeroGivesTheMean) {
    Expansion e;
    const Buffer x = testing_signals::VoiceLikePeriod(200);
    e.Run(x, 0.01, 0);
    const double mean = std::accumulate(x.begin(), x.end(), 0.0) / 200;
    ExpectNear(e.fundamental, 200, Buffer(200, mean), 1e-9);
}

// A caller may hand one array in as the signal and as a reconstruction: the
// samples are still those it held on entry.
enum class SharedOutput { Fundamental, Approximation };

class FourierAprSharingAnOutput : public testing::TestWithParam<SharedOutput> {};

TEST_P(FourierAprSharingAnOutput, ReadsTheSignalAsItWasOnEntry) {
    const Buffer x = testing_signals::VoiceLikePeriod(441);
    Expansion separate;
    separate.Run(x);

    Expansion shared;
    Buffer& both = GetParam() == SharedOutput::Fundamental ? shared.fundamental : shared.approx;
    std::ranges::copy(x, both.begin());
    FourierApr(both, 441, 0.01, shared.ax, shared.bx, 1, shared.fundamental, shared.approxOrder,
               shared.approx);

    EXPECT_EQ(shared.ax, separate.ax);
    EXPECT_EQ(shared.bx, separate.bx);
    EXPECT_EQ(shared.approxOrder, separate.approxOrder);
    EXPECT_EQ(shared.fundamental, separate.fundamental);
    EXPECT_EQ(shared.approx, separate.approx);
}

INSTANTIATE_TEST_SUITE_P(Outputs, FourierAprSharingAnOutput,
                         testing::Values(SharedOutput::Fundamental, SharedOutput::Approximation),
                         [](const testing::TestParamInfo<SharedOutput>& info) {
                             return info.param == SharedOutput::Fundamental ? "Fundamental"
                                                                            : "Approximation";
                         });

TEST(FourierApr, RefusesALengthBeyondItsBuffers) {
    Coefficients ax{}, bx{};
    Buffer signal(10), out(10);
    std::int32_t order = 0;
    EXPECT_THROW(FourierApr(signal, 11, 0.01, ax, bx, 1, out, order, out), std::invalid_argument);
}

}  // namespace
}  // namespace tesmera
