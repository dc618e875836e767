// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/input_level.h"

#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "support/param_name.h"

namespace tesmera {
namespace {

constexpr std::int32_t Rate = 48000;
constexpr std::size_t Block = 480;  // 10 ms, as a capture device delivers them

// A 1 kHz sinusoid of the given peak amplitude, `count` samples long.
std::vector<double> Sinusoid(double amplitude, std::size_t count) {
    std::vector<double> samples(count);
    for (std::size_t i = 0; i < count; ++i) {
        samples[i] = amplitude * std::sin(2 * M_PI * 1000 * static_cast<double>(i) / Rate);
    }
    return samples;
}

void FeedSeconds(InputLevelMeter& meter, double amplitude, double seconds) {
    const std::vector<double> block = Sinusoid(amplitude, Block);
    for (std::size_t fed = 0; fed < static_cast<std::size_t>(seconds * Rate); fed += Block) {
        meter.Feed(block);
    }
}

struct SteadyCase : test::NamedCase<SteadyCase> {
    double amplitude;
    double levelDbfs;  // a sinusoid's RMS is its peak over √2: 3.01 dB below
    double peakDbfs;
    bool clipped;
};

class SteadySignal : public ::testing::TestWithParam<SteadyCase> {};

TEST_P(SteadySignal, GivesLevelPeakAndClipping) {
    const SteadyCase& c = GetParam();
    InputLevelMeter meter(Rate);
    FeedSeconds(meter, c.amplitude, 0.5);
    const InputLevel& level = meter.Level();
    EXPECT_NEAR(level.LevelDbfs, c.levelDbfs, 0.01);
    EXPECT_NEAR(level.PeakHeldDbfs, c.peakDbfs, 0.01);
    EXPECT_EQ(level.Clipped, c.clipped);
}

INSTANTIATE_TEST_SUITE_P(
    InputLevelMeter, SteadySignal,
    ::testing::Values(SteadyCase{{"Silence"}, 0.0, SilenceDbfs, SilenceDbfs, false},
                      SteadyCase{{"HalfScale"}, 0.5, -9.03, -6.02, false},
                      SteadyCase{{"JustBelowClipping"}, 0.998, -3.03, -0.02, false},
                      SteadyCase{{"FullScale"}, 1.0, -3.01, 0.0, true},
                      SteadyCase{{"BeyondFullScale"}, 1.5, 0.51, 3.52, true}),
    test::CaseName());

TEST(InputLevelMeter, HoldsAPeakForTheHoldTimeThenFollowsTheSignal) {
    InputLevelMeter meter(Rate);
    FeedSeconds(meter, 0.5, 0.01);
    FeedSeconds(meter, 0.01, PeakHoldSeconds - 0.1);
    EXPECT_NEAR(meter.Level().PeakHeldDbfs, -6.02, 0.01);
    EXPECT_NEAR(meter.Level().LevelDbfs, -43.01, 0.01);
    FeedSeconds(meter, 0.01, 0.2);
    EXPECT_NEAR(meter.Level().PeakHeldDbfs, -40.0, 0.01);
}

TEST(InputLevelMeter, KeepsAClipOnceItHappened) {
    InputLevelMeter meter(Rate);
    meter.Feed(std::vector<double>{0.1, -1.0, 0.1});
    FeedSeconds(meter, 0.1, 2);
    EXPECT_TRUE(meter.Level().Clipped);
}

TEST(InputLevelMeter, TakesTheNoiseFloorFromTheFirstSecondOnly) {
    InputLevelMeter meter(Rate);
    // Blocks that do not end on the second's boundary: the floor takes the
    // first second's samples exactly.
    const std::vector<double> quiet(700, 0.001);
    for (std::size_t fed = 0; fed + quiet.size() < Rate; fed += quiet.size()) {
        meter.Feed(quiet);
        ASSERT_FALSE(meter.Level().NoiseFloorDbfs) << "after " << fed << " samples";
    }
    meter.Feed(std::vector<double>(700, 0.001));
    FeedSeconds(meter, 0.8, 1);
    ASSERT_TRUE(meter.Level().NoiseFloorDbfs);
    EXPECT_NEAR(*meter.Level().NoiseFloorDbfs, -60.0, 1e-9);
}

TEST(InputLevelMeter, RefusesARateThatIsNotPositive) {
    EXPECT_THROW(InputLevelMeter(0), std::invalid_argument);
}

}  // namespace
}  // namespace tesmera
