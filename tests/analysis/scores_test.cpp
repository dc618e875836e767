// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/scores.h"

#include <array>
#include <cmath>
#include <numbers>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/param_name.h"
#include "wave/errors.h"

namespace tesmera {
namespace {

using Amplitudes = std::array<double, CoefficientCount>;

Amplitudes WithHarmonics(std::initializer_list<double> firstHarmonics) {
    Amplitudes AA{};
    std::copy(firstHarmonics.begin(), firstHarmonics.end(), AA.begin() + 1);
    return AA;
}

// Everything the normalisation step writes, with the scores zeroed as the
// compute command leaves them beforehand and every warning collected.
struct Normalisation {
    double norm = -1.0;
    std::array<double, NormHarmonics> AANorm{};
    std::array<double, ScoreModelCount> values{};
    std::array<std::int32_t, ScoreModelCount> scores{};
    std::vector<std::string> warnings;

    explicit Normalisation(const Amplitudes& AA) {
        AANorm.fill(0.25);  // stale contents of an earlier compute
        NormalisationStep(AA, norm, AANorm, values, scores,
                          [this](const Status& warning) { warnings.push_back(warning.Text); });
    }
};

TEST(AmplitudeStep, IsTheLengthOfEachCoefficientPair) {
    Amplitudes ax{}, bx{}, AA{};
    AA.fill(9.0);
    ax[0] = -7.5;
    ax[1] = 3.0;
    bx[1] = -4.0;
    bx[100] = 2.0;
    AmplitudeStep(ax, bx, 0.0, AA);
    EXPECT_EQ(AA[0], 7.5);
    EXPECT_EQ(AA[1], 5.0);
    EXPECT_EQ(AA[2], 0.0);
    EXPECT_EQ(AA[100], 2.0);
}

struct FloorCase : test::NamedCase<FloorCase> {
    double coefficient;  // ax[3]; bx[3] is zero
    double largestAbsSample;
    double expected;  // AA[3]
};

class AmplitudeFloor : public ::testing::TestWithParam<FloorCase> {};

TEST_P(AmplitudeFloor, CountsRoundingNoiseAsZero) {
    const FloorCase& c = GetParam();
    Amplitudes ax{}, bx{}, AA{};
    AA.fill(9.0);
    ax[1] = c.largestAbsSample;
    ax[3] = c.coefficient;
    AmplitudeStep(ax, bx, c.largestAbsSample, AA);
    EXPECT_EQ(AA[3], c.expected);
    EXPECT_EQ(AA[1], c.largestAbsSample);
    EXPECT_EQ(AA[2], 0.0);
}

INSTANTIATE_TEST_SUITE_P(
    Amplitudes, AmplitudeFloor,
    ::testing::Values(FloorCase{"RoundingNoiseOfAConstant", 1.2e-13 * 1234, 1234, 0.0},
                      FloorCase{"NegativeJustBelowTheFloor", -0.99e-9 * 1000, 1000, 0.0},
                      FloorCase{"AtTheFloorIsKept", 1e-9 * 1024, 1024, 1e-9 * 1024},
                      FloorCase{"QuantisationNoiseIsKept", 1e-3, 32768, 1e-3},
                      FloorCase{"SilenceHasNoFloor", 0.0, 0.0, 0.0}),
    test::CaseName());

TEST(ScoreModels, AreAppliedInTheirFixedOrder) {
    const std::array<std::string_view, 6> ids{"10", "21", "22", "23", "24", "25"};
    for (std::size_t j = 0; j < ids.size(); ++j) {
        EXPECT_EQ(ScoreModels[j].id, ids[j]);
    }
}

struct WorkedExample : test::NamedCase<WorkedExample> {
    Amplitudes AA;
    double norm;
    std::array<double, 6> normalised;
    std::array<double, 6> values;
    std::array<std::int32_t, 6> scores;
};

class NormalisationExamples : public testing::TestWithParam<WorkedExample> {};

TEST_P(NormalisationExamples, GiveTheKnownValuesAndScores) {
    const WorkedExample& e = GetParam();
    const Normalisation n(e.AA);
    EXPECT_TRUE(n.warnings.empty());
    EXPECT_NEAR(n.norm, e.norm, 1e-6);
    for (std::size_t j = 0; j < 6; ++j) {
        EXPECT_NEAR(n.AANorm[j], e.normalised[j], 1e-6) << "harmonic " << j + 1;
        EXPECT_NEAR(n.values[j], e.values[j], 0.5e-4) << "model " << ScoreModels[j].id;
        EXPECT_EQ(n.scores[j], e.scores[j]) << "model " << ScoreModels[j].id;
    }
    for (std::size_t j = 6; j < NormHarmonics; ++j) {
        EXPECT_EQ(n.AANorm[j], 0.0);
    }
}

const double Sixth = 1.0 / std::sqrt(6.0);

INSTANTIATE_TEST_SUITE_P(
    Amplitudes, NormalisationExamples,
    testing::Values(WorkedExample{"Falling",
                                  WithHarmonics({4, 2, 2, 1, 1, 1}),
                                  std::sqrt(27.0),
                                  {0.769800, 0.384900, 0.384900, 0.192450, 0.192450, 0.192450},
                                  {1.3871, 1.5914, 1.4346, 1.7273, 1.7174, 1.6846},
                                  {1, 2, 1, 2, 2, 2}},
                    // Harmonics above 15 do not enter the norm.
                    WorkedExample{"FallingWithHarmonic16",
                                  [] {
                                      Amplitudes AA = WithHarmonics({4, 2, 2, 1, 1, 1});
                                      AA[16] = 100.0;
                                      return AA;
                                  }(),
                                  std::sqrt(27.0),
                                  {0.769800, 0.384900, 0.384900, 0.192450, 0.192450, 0.192450},
                                  {1.3871, 1.5914, 1.4346, 1.7273, 1.7174, 1.6846},
                                  {1, 2, 1, 2, 2, 2}},
                    WorkedExample{"Flat",
                                  WithHarmonics({3, 3, 3, 3, 3, 3}),
                                  3.0 * std::sqrt(6.0),
                                  {Sixth, Sixth, Sixth, Sixth, Sixth, Sixth},
                                  {0.0750, 0.4935, 0.1966, 0.9735, 0.9728, 0.9319},
                                  {1, 1, 1, 1, 1, 1}}),
    test::CaseName());

TEST(NormalisationStep, HigherHarmonicsUpToFifteenLowerEveryNormalisedAmplitude) {
    Amplitudes AA = WithHarmonics({4, 2, 2, 1, 1, 1});
    AA[15] = 5.0;
    const Normalisation n(AA);
    EXPECT_DOUBLE_EQ(n.norm, std::sqrt(52.0));
    EXPECT_DOUBLE_EQ(n.AANorm[0], 4.0 / std::sqrt(52.0));
    EXPECT_EQ(n.AANorm[14], 0.0);
}

TEST(NormalisationStep, ZeroNormWarnsOnceAndAppliesNoModel) {
    Amplitudes AA{};
    AA[0] = 12.0;  // a mean alone has no harmonic energy
    AA[16] = 3.0;
    const Normalisation n(AA);
    EXPECT_EQ(n.warnings, std::vector<std::string>{" !!!  norma = 0  !!! "});
    EXPECT_EQ(n.norm, 0.0);
    for (const double v : n.AANorm) {
        EXPECT_EQ(v, 0.0);
    }
    EXPECT_EQ(n.values, (std::array<double, 6>{}));
    EXPECT_EQ(n.scores, (std::array<std::int32_t, 6>{}));
}

TEST(NormalisationStep, ZeroAmplitudeAmongTheSixWarnsOnceAndKeepsTheQuotients) {
    const Normalisation n(WithHarmonics({4, 2, 2, 1, 1, 0, 1}));
    EXPECT_EQ(n.warnings, std::vector<std::string>{" !!!  koeficient AA[i] = 0  !!! "});
    EXPECT_DOUBLE_EQ(n.norm, std::sqrt(27.0));
    EXPECT_DOUBLE_EQ(n.AANorm[0], 4.0 / std::sqrt(27.0));
    EXPECT_EQ(n.AANorm[5], 0.0);
    EXPECT_EQ(n.AANorm[6], 0.0);
    EXPECT_EQ(n.values, (std::array<double, 6>{}));
    EXPECT_EQ(n.scores, (std::array<std::int32_t, 6>{}));
}

TEST(NormalisationStep, AnAmplitudeTooSmallToDivideCountsAsZero) {
    const Normalisation n(WithHarmonics({1e300, 1, 1, 1, 1, 1e-320}));
    EXPECT_EQ(n.warnings, std::vector<std::string>{" !!!  koeficient AA[i] = 0  !!! "});
    EXPECT_EQ(n.scores, (std::array<std::int32_t, 6>{}));
}

// A model whose value is its constant term alone.
struct BoundaryCase : test::NamedCase<BoundaryCase> {
    double value;
    std::int32_t score;
};

class ScoreBoundaries : public testing::TestWithParam<BoundaryCase> {};

TEST_P(ScoreBoundaries, ClampAndRoundHalvesToEven) {
    const std::array<double, NormHarmonics> AANorm{0.5, 0.5, 0.5, 0.5, 0.5, 0.5};
    double value = -1.0;
    std::int32_t score = -1;
    SCORExx("10", AANorm, {GetParam().value, 0, 0, 0, 0, 0, 0}, value, score);
    EXPECT_EQ(value, GetParam().value);
    EXPECT_EQ(score, GetParam().score);
}

INSTANTIATE_TEST_SUITE_P(
    Values, ScoreBoundaries,
    testing::Values(BoundaryCase{"Negative", -3.0, 1}, BoundaryCase{"Half", 0.5, 1},
                    BoundaryCase{"JustAboveHalf", 0.5000001, 1},
                    BoundaryCase{"OneAndAHalf", 1.5, 2}, BoundaryCase{"TwoAndAHalf", 2.5, 2},
                    BoundaryCase{"AboveTwoAndAHalf", 2.6, 3}, BoundaryCase{"ThreeAndAHalf", 3.5, 4},
                    BoundaryCase{"FourAndAHalf", 4.5, 4}, BoundaryCase{"Five", 5.0, 5},
                    BoundaryCase{"JustAboveFive", 5.0000001, 5}, BoundaryCase{"Huge", 1e9, 5}),
    test::CaseName());

TEST(SCORExx, OnlyModelTenTakesThePlainAmplitudes) {
    const std::array<double, NormHarmonics> AANorm{std::numbers::e, 1, 1, 1, 1, 1};
    const std::array<double, 7> c{0, 1, 0, 0, 0, 0, 0};
    double value = 0.0;
    std::int32_t score = 0;
    SCORExx("10", AANorm, c, value, score);
    EXPECT_DOUBLE_EQ(value, std::numbers::e);
    for (const char* id : {"21", "25", "1O", "10 "}) {
        SCORExx(id, AANorm, c, value, score);
        EXPECT_DOUBLE_EQ(value, 1.0) << id;
    }
}

TEST(SCORExx, ALogarithmOfZeroIsAnError) {
    const std::array<double, NormHarmonics> AANorm{0.5, 0.5, 0.0, 0.5, 0.5, 0.5};
    double value = 0.0;
    std::int32_t score = 0;
    EXPECT_THROW(SCORExx("22", AANorm, ScoreModels[2].c, value, score), FloatingPointError);
}

}  // namespace
}  // namespace tesmera
