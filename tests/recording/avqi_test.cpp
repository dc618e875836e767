// SPDX-License-Identifier: GPL-3.0-or-later
// The parts of the voice quality index that hold without the peer tool:
// how a range of samples is averaged, which windows of speech count as
// voice, and the published formula.
#include "recording/avqi.h"
#include "recording/sampled_mean.h"
#include "recording/voiced_speech.h"
#include "support/param_name.h"

#include <cmath>
#include <numbers>
#include <optional>
#include <random>
#include <vector>

#include <gtest/gtest.h>

namespace tesmera {
namespace {

// Ten samples valued 1 to 10, sample k standing for the cell [k, k + 1].
struct RangeCase : test::NamedCase<RangeCase> {
    double from;
    double to;
    std::optional<double> mean;
};

class MeanOverRangeOfTenCells : public ::testing::TestWithParam<RangeCase> {};

TEST_P(MeanOverRangeOfTenCells, WeighsTheCellsItCutsByTheirPartInside) {
    const SampledAxis axis{.First = 0.5, .Step = 1, .DomainStart = 0, .DomainEnd = 10};
    const auto value = [](std::size_t k) { return static_cast<double>(k + 1); };
    const std::optional<double> mean =
        MeanOverRange(axis, 10, value, GetParam().from, GetParam().to);
    ASSERT_EQ(mean.has_value(), GetParam().mean.has_value());
    if (mean) {
        EXPECT_NEAR(*mean, *GetParam().mean, 1e-12);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, MeanOverRangeOfTenCells,
                         ::testing::Values(RangeCase{{"WholeDomain"}, 0, 10, 5.5},
                                           RangeCase{
                                               {"CutFirstCell"}, 0.25, 2, (0.75 * 1 + 2) / 1.75},
                                           RangeCase{{"InsideOneCell"}, 3.2, 3.6, 4},
                                           RangeCase{{"ClippedToTheDomain"}, -5, 15, 5.5},
                                           RangeCase{{"EmptyRange"}, 3, 3, std::nullopt},
                                           RangeCase{{"BeyondTheDomain"}, 11, 12, std::nullopt}),
                         test::CaseName());

constexpr double Rate = 16000;

std::vector<double> Tone(double seconds, double hz) {
    std::vector<double> tone(static_cast<std::size_t>(seconds * Rate));
    for (std::size_t i = 0; i < tone.size(); ++i) {
        tone[i] = 0.5 * std::sin(2 * std::numbers::pi * hz * static_cast<double>(i) / Rate);
    }
    return tone;
}

// A 440 Hz tone crosses zero 880 times a second and is kept whole once the
// pause between its halves is cut out.
TEST(VoicedSpeech, KeepsAToneWithoutItsPause) {
    std::vector<double> speech = Tone(1, 440);
    speech.insert(speech.begin() + 8000, 8000, 0.0);  // 0.5 s of pause in the middle
    const VoicedSpeech voiced = KeepVoicedSpeech(speech, Rate);
    EXPECT_NEAR(voiced.VoicedSeconds, 1, 0.1);
    EXPECT_EQ(voiced.Samples.size(),
              static_cast<std::size_t>(0.001 * Rate + voiced.VoicedSeconds * Rate + 0.5));
}

// Loud white noise crosses zero about 8000 times a second: no voice.
TEST(VoicedSpeech, DropsHiss) {
    std::mt19937 generator(7);
    std::normal_distribution<double> normal(0, 0.3);
    std::vector<double> hiss(static_cast<std::size_t>(Rate));
    for (double& v : hiss) {
        v = normal(generator);
    }
    EXPECT_EQ(KeepVoicedSpeech(hiss, Rate).KeptWindows, 0U);
}

// The crossings are counted up to the first at or beyond 27.5 ms of a
// window; a window with none between there and its end has no rate and is
// dropped, as the procedure drops it (the peer tool keeps nothing of this
// tone either). A 150 Hz tone crosses zero every 3.3 ms at the same places
// in every 30-ms window, none of them in the last 2.5 ms.
TEST(VoicedSpeech, DropsWindowsWithoutACrossingInTheirLastMilliseconds) {
    EXPECT_EQ(KeepVoicedSpeech(Tone(1, 150), Rate).KeptWindows, 0U);
}

// Round inputs give the index term by term as the formula weighs them.
TEST(AvqiFormula, WeighsTheSixMeasuresAsPublished) {
    AvqiFigures figures{.CppsDb = 10,
                        .HnrDb = 20,
                        .ShimmerLocalPct = 5,
                        .ShimmerLocalDb = 0.5,
                        .LtasSlopeDb = -25,
                        .LtasTiltDb = -10};
    ComputeAvqi(figures);
    const double expected = (4.152 - 1.77 - 0.12 - 0.185 + 0.4705 - 0.25 - 0.93) * 2.8902;
    EXPECT_NEAR(figures.Avqi, expected, 1e-12);
}

}  // namespace
}  // namespace tesmera
