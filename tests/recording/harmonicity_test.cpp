// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/harmonicity.h"
#include "support/param_name.h"

#include <cmath>
#include <numbers>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace tesmera {
namespace {

// A 200 Hz tone of harmonics 1..3 with white noise at the given ratio of
// powers, and marks one period apart over all of it.
struct NoisyTone {
    std::vector<double> samples;
    std::vector<double> marks;
};

NoisyTone MakeTone(double rate, double snrDb, double seconds = 1) {
    constexpr double F0 = 200;
    std::mt19937 generator(11);
    std::normal_distribution<double> normal(0, 1);
    const double tonePower = (0.3 * 0.3 + 0.2 * 0.2 + 0.1 * 0.1) / 2;
    const double noise = std::sqrt(tonePower / std::pow(10, snrDb / 10));
    NoisyTone tone;
    for (std::size_t i = 0; i < static_cast<std::size_t>(seconds * rate); ++i) {
        const double phase = 2 * std::numbers::pi * F0 * static_cast<double>(i) / rate;
        tone.samples.push_back(0.3 * std::sin(phase) + 0.2 * std::sin(2 * phase + 0.4) +
                               0.1 * std::sin(3 * phase + 1) + noise * normal(generator));
    }
    for (double t = 0; t < seconds; t += 1 / F0) {
        tone.marks.push_back(t);
    }
    return tone;
}

struct HnrCase : test::NamedCase<HnrCase> {
    double rate, snrDb;  // Hz, dB
};

class HarmonicityOfNoisyTones : public ::testing::TestWithParam<HnrCase> {};

// Noise of power N on a periodic signal of power S makes r ≈ S / (S + N), so
// the ratio comes back as S / N.
TEST_P(HarmonicityOfNoisyTones, GivesTheSignalToNoiseRatio) {
    const HnrCase& c = GetParam();
    const NoisyTone tone = MakeTone(c.rate, c.snrDb);
    const auto hnr = MeanHarmonicity(tone.samples, c.rate, tone.marks, 0.1, 0.9);
    ASSERT_TRUE(hnr);
    EXPECT_NEAR(*hnr, c.snrDb, 0.6);
}

INSTANTIATE_TEST_SUITE_P(Table, HarmonicityOfNoisyTones,
                         ::testing::Values(HnrCase{"Clear16k", 16000, 25},
                                           HnrCase{"Clear44k", 44100, 20},
                                           HnrCase{"Rough22k", 22050, 10},
                                           HnrCase{"Rough48k", 48000, 6},
                                           HnrCase{"VeryRough44k", 44100, 3}),
                         test::CaseName());

TEST(HarmonicityOfNoisyTones, ExactRepetitionIsVeryHigh) {
    const NoisyTone tone = MakeTone(44100, 300);
    const auto hnr = MeanHarmonicity(tone.samples, 44100, tone.marks, 0.1, 0.9);
    ASSERT_TRUE(hnr);
    EXPECT_GT(*hnr, 50);
}

TEST(HarmonicityOfNoisyTones, QuietFramesAreUnvoiced) {
    // Loud for the first half, 30 dB down after: only the loud frames count.
    NoisyTone tone = MakeTone(16000, 10);
    for (std::size_t i = tone.samples.size() / 2; i < tone.samples.size(); ++i) {
        tone.samples[i] *= 0.03;
    }
    EXPECT_FALSE(MeanHarmonicity(tone.samples, 16000, tone.marks, 0.6, 0.95));
    EXPECT_TRUE(MeanHarmonicity(tone.samples, 16000, tone.marks, 0.05, 0.45));
}

TEST(HarmonicityOfNoisyTones, NothingOutsideTheMarksOrTheSignal) {
    const NoisyTone tone = MakeTone(16000, 20);
    EXPECT_FALSE(MeanHarmonicity(tone.samples, 16000, {}, 0, 1));
    EXPECT_FALSE(MeanHarmonicity(tone.samples, 16000, tone.marks, 2, 3));
    const std::vector<double> tooShort(100, 0.1);
    EXPECT_FALSE(MeanHarmonicity(tooShort, 16000, tone.marks, 0, 1));
}

}  // namespace
}  // namespace tesmera
