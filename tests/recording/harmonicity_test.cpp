// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/harmonicity.h"
#include "recording/pitch.h"
#include "support/param_name.h"
#include "tools/sustained_vowel.h"

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
// powers.
struct NoisyTone {
    std::vector<double> samples;
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
    return tone;
}

struct HnrCase : test::NamedCase<HnrCase> {
    double rate, snrDb;  // Hz, dB
};

class HarmonicityOfNoisyTones : public ::testing::TestWithParam<HnrCase> {};

// Noise of power N on a periodic signal of power S makes r ≈ S / (S + N), so
// the ratio comes back as S / N. Below about 10 dB it does not: the
// strongest peak over every lag is then often a ripple of the noise near
// lag 0, as the standard tools measure it too (the cross-check with the peer
// tool covers breathy voices).
TEST_P(HarmonicityOfNoisyTones, GivesTheSignalToNoiseRatio) {
    const HnrCase& c = GetParam();
    const NoisyTone tone = MakeTone(c.rate, c.snrDb);
    const auto hnr = MeanHarmonicity(tone.samples, c.rate, 0.1, 0.9);
    ASSERT_TRUE(hnr);
    EXPECT_NEAR(*hnr, c.snrDb, 0.6);
}

INSTANTIATE_TEST_SUITE_P(Table, HarmonicityOfNoisyTones,
                         ::testing::Values(HnrCase{"Clear16k", 16000, 25},
                                           HnrCase{"Clear44k", 44100, 20},
                                           HnrCase{"Rough22k", 22050, 10}),
                         test::CaseName());

TEST(HarmonicityOfNoisyTones, ExactRepetitionIsVeryHigh) {
    const NoisyTone tone = MakeTone(44100, 300);
    const auto hnr = MeanHarmonicity(tone.samples, 44100, 0.1, 0.9);
    ASSERT_TRUE(hnr);
    EXPECT_GT(*hnr, 50);
}

TEST(HarmonicityOfNoisyTones, QuietFramesAreUnvoiced) {
    // Loud for the first half, 30 dB down after: only the loud frames count.
    NoisyTone tone = MakeTone(16000, 10);
    for (std::size_t i = tone.samples.size() / 2; i < tone.samples.size(); ++i) {
        tone.samples[i] *= 0.03;
    }
    EXPECT_FALSE(MeanHarmonicity(tone.samples, 16000, 0.6, 0.95));
    EXPECT_TRUE(MeanHarmonicity(tone.samples, 16000, 0.05, 0.45));
}

TEST(HarmonicityOfNoisyTones, NothingOutsideTheSignal) {
    const NoisyTone tone = MakeTone(16000, 20);
    EXPECT_FALSE(MeanHarmonicity(tone.samples, 16000, 2, 3));
    const std::vector<double> tooShort(100, 0.1);
    EXPECT_FALSE(MeanHarmonicity(tooShort, 16000, 0, 1));
}

struct PitchFloorCase : test::NamedCase<PitchFloorCase> {
    std::vector<double> marks;
    std::vector<CycleVerdict> verdicts;
    double minimumPitch;  // Hz
};

class MinimumPitchOfTheVoice : public ::testing::TestWithParam<PitchFloorCase> {};

TEST_P(MinimumPitchOfTheVoice, FollowsItsLongestCycleOnTheTrack) {
    const PitchFloorCase& c = GetParam();
    EXPECT_EQ(MinimumPitchFor(c.marks, c.verdicts), c.minimumPitch);
}

constexpr CycleVerdict On = CycleVerdict::CvAccepted;
constexpr CycleVerdict Off = CycleVerdict::CvOffTrack;

INSTANTIATE_TEST_SUITE_P(
    Table, MinimumPitchOfTheVoice,
    ::testing::Values(
        PitchFloorCase{"AllAbove75Hz", {0, 0.01, 0.02, 0.033}, {On, On, On}, 75},
        PitchFloorCase{"OneCycleAt70Hz", {0, 0.01, 0.0243, 0.034}, {On, On, On}, LowestF0},
        PitchFloorCase{"MisshapenCycleAt70HzCounts",
                       {0, 0.01, 0.0243, 0.034},
                       {On, CycleVerdict::CvMisshapen, On},
                       LowestF0},
        PitchFloorCase{"OffTrackCycleAt70HzIgnored", {0, 0.01, 0.0243, 0.034}, {On, Off, On}, 75}),
    test::CaseName());

struct LowVoiceCase : test::NamedCase<LowVoiceCase> {
    double f0;  // Hz
};

class HarmonicityOfLowVoices : public ::testing::TestWithParam<LowVoiceCase> {};

// Below 75 Hz a window of 1 / 75 s holds less than a period: the voice's
// own minimum pitch must find its repetition, and a 20 dB vowel measures
// about 20 dB.
TEST_P(HarmonicityOfLowVoices, GiveTheirNoiseRatioWithTheirOwnMinimumPitch) {
    const tools::GeneratedVowel vowel = tools::GenerateVowel({.Rate = 44100,
                                                              .F0 = GetParam().f0,
                                                              .Jitter = 0.005,
                                                              .Shimmer = 0.02,
                                                              .HnrDb = 20,
                                                              .Seconds = 2});
    const std::vector<CycleVerdict> verdicts(vowel.PeriodStarts.size() - 1, On);
    const HarmonicitySettings settings{.MinimumPitch =
                                           MinimumPitchFor(vowel.PeriodStarts, verdicts)};
    const auto hnr = MeanHarmonicity(vowel.Samples, vowel.Rate, 0.5, 1.9, settings);
    ASSERT_TRUE(hnr);
    EXPECT_NEAR(*hnr, 20, 2);
}

INSTANTIATE_TEST_SUITE_P(Table, HarmonicityOfLowVoices,
                         ::testing::Values(LowVoiceCase{"At62Hz", 62}, LowVoiceCase{"At70Hz", 70}),
                         test::CaseName());

}  // namespace
}  // namespace tesmera
