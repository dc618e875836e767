// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/perturbation.h"
#include "recording/harmonicity.h"
#include "support/param_name.h"
#include "tools/sustained_vowel.h"

#include <cmath>
#include <numbers>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace tesmera {
namespace {

// Marks from a list of periods (seconds), the first at 0.1 s.
std::vector<double> MarksFromPeriods(const std::vector<double>& periods) {
    std::vector<double> marks{0.1};
    for (const double p : periods) {
        marks.push_back(marks.back() + p);
    }
    return marks;
}

std::vector<double> Repeated(const std::vector<double>& pattern, int times) {
    std::vector<double> values;
    for (int i = 0; i < times; ++i) {
        values.insert(values.end(), pattern.begin(), pattern.end());
    }
    return values;
}

struct JitterCase : test::NamedCase<JitterCase> {
    std::vector<double> periods;  // seconds
    std::optional<double> local;
    std::optional<double> rap;
    std::optional<double> ppq5;
};

class JitterOfPeriods : public ::testing::TestWithParam<JitterCase> {};

void ExpectFigure(const std::optional<double>& actual, const std::optional<double>& expected) {
    ASSERT_EQ(actual.has_value(), expected.has_value());
    if (expected) {
        EXPECT_NEAR(*actual, *expected, 1e-9);
    }
}

TEST_P(JitterOfPeriods, MatchesTheDefinitions) {
    const JitterCase& c = GetParam();
    const JitterFigures jitter = MeasureJitter(MarksFromPeriods(c.periods));
    ExpectFigure(jitter.Local, c.local);
    ExpectFigure(jitter.Rap, c.rap);
    ExpectFigure(jitter.Ppq5, c.ppq5);
    if (jitter.Local) {
        ASSERT_TRUE(jitter.LocalAbsolute);
    } else {
        EXPECT_FALSE(jitter.LocalAbsolute);
    }
}

// Alternating 10 and 11 ms: every difference is 1 ms, the mean period
// 10.5 ms; a triple's middle is 2/3 ms from its mean, a quintuple's 0.4 ms.
INSTANTIATE_TEST_SUITE_P(
    Table, JitterOfPeriods,
    ::testing::Values(
        JitterCase{"Constant", std::vector<double>(20, 0.008), 0.0, 0.0, 0.0},
        JitterCase{"Alternating", Repeated({0.010, 0.011}, 10), 1.0 / 10.5, (2.0 / 3) / 10.5,
                   0.4 / 10.5},
        // One period beyond the ceiling: the pairs, triples and quintuples that
        // hold it do not count, nor does it count for the mean.
        JitterCase{"PeriodAboveCeilingLeftOut",
                   {0.010, 0.011, 0.010, 0.011, 0.010, 0.025, 0.010, 0.011, 0.010, 0.011, 0.010},
                   1.0 / 10.4,
                   (2.0 / 3) / 10.4,
                   0.4 / 10.4},
        // A jump of more than 1.3 times leaves that pair out, and that period
        // out of the mean only when both its neighbours are that far off.
        JitterCase{"FactorAboveLimitLeftOut",
                   {0.005, 0.0055, 0.005, 0.007, 0.005, 0.0055, 0.005},
                   0.5 / (31.0 / 6),
                   (1.0 / 3) / (31.0 / 6),
                   std::nullopt},
        JitterCase{"TooFewPeriods", {0.01}, std::nullopt, std::nullopt, std::nullopt},
        JitterCase{
            "TwoPeriodsHaveNoTriple", {0.01, 0.011}, 1.0 / 10.5, std::nullopt, std::nullopt}),
    test::CaseName());

TEST(JitterOfPeriods, AbsoluteIsTheMeanDifferenceInSeconds) {
    const JitterFigures jitter = MeasureJitter(MarksFromPeriods(Repeated({0.010, 0.011}, 10)));
    ASSERT_TRUE(jitter.LocalAbsolute);
    EXPECT_NEAR(*jitter.LocalAbsolute, 0.001, 1e-12);
}

// A sine whose periods alternate between two amplitudes, stepping at the
// rising zero crossings, with marks at its peaks: each mark's window lies
// inside its own period, so its amplitude is proportional to the period's.
struct ShimmerCase : test::NamedCase<ShimmerCase> {
    double a, b;
};

class ShimmerOfAlternatingAmplitudes : public ::testing::TestWithParam<ShimmerCase> {};

TEST_P(ShimmerOfAlternatingAmplitudes, MatchesTheDefinitions) {
    const ShimmerCase& c = GetParam();
    const double rate = 44100;
    const double f0 = 100;
    std::vector<double> signal(static_cast<std::size_t>(rate * 0.3));
    std::vector<double> marks;
    for (std::size_t i = 0; i < signal.size(); ++i) {
        const double t = i / rate;
        const auto period = static_cast<int>(std::floor(t * f0));
        signal[i] = (period % 2 == 0 ? c.a : c.b) * std::sin(2 * std::numbers::pi * f0 * t);
    }
    for (int k = 1; k < 28; ++k) {
        marks.push_back((k + 0.25) / f0);
    }
    const ShimmerFigures shimmer = MeasureShimmer(signal, rate, marks);
    const double mean = (c.a + c.b) / 2;
    const double difference = std::fabs(c.b - c.a);
    ASSERT_TRUE(shimmer.Local && shimmer.LocalDb && shimmer.Apq3 && shimmer.Apq5);
    // The amplitude count is odd, so the mean is a little off (a + b) / 2.
    EXPECT_NEAR(*shimmer.Local, difference / mean, 0.01 * difference / mean + 1e-12);
    EXPECT_NEAR(*shimmer.LocalDb, std::fabs(20 * std::log10(c.b / c.a)), 1e-6);
    EXPECT_NEAR(*shimmer.Apq3, 2.0 / 3 * difference / mean, 0.01 * difference / mean + 1e-12);
    EXPECT_NEAR(*shimmer.Apq5, 0.4 * difference / mean, 0.01 * difference / mean + 1e-12);
}

INSTANTIATE_TEST_SUITE_P(Table, ShimmerOfAlternatingAmplitudes,
                         ::testing::Values(ShimmerCase{"Equal", 0.5, 0.5},
                                           ShimmerCase{"TenPercent", 0.5, 0.55},
                                           ShimmerCase{"Louder first", 0.8, 0.6}),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             std::erase(name, ' ');
                             return name;
                         });

TEST(ShimmerOfAlternatingAmplitudes, AmplitudesBeyondTheFactorAreNotCompared) {
    const double rate = 16000;
    std::vector<double> signal(4000);
    std::vector<double> marks;
    for (std::size_t i = 0; i < signal.size(); ++i) {
        const double t = i / rate;
        signal[i] = (static_cast<int>(t * 100) % 2 == 0 ? 0.2 : 0.5) *
                    std::sin(2 * std::numbers::pi * 100 * t);
    }
    for (int k = 1; k < 20; ++k) {
        marks.push_back((k + 0.25) / 100);
    }
    const ShimmerFigures shimmer = MeasureShimmer(signal, rate, marks);
    EXPECT_FALSE(shimmer.Local);
    EXPECT_FALSE(shimmer.LocalDb);
    EXPECT_FALSE(shimmer.Apq3);
}

TEST(ShimmerOfAlternatingAmplitudes, SilenceHasNoAmplitudes) {
    const std::vector<double> signal(4000, 0.0);
    const ShimmerFigures shimmer =
        MeasureShimmer(signal, 16000, MarksFromPeriods(std::vector<double>(20, 0.01)));
    EXPECT_FALSE(shimmer.Local);
}

struct OffsetCase : test::NamedCase<OffsetCase> {
    double offset;  // full scale
};

class AmplitudeMeasuresOfAnOffsetVoice : public ::testing::TestWithParam<OffsetCase> {};

void ExpectSameFigure(const std::optional<double>& offset, const std::optional<double>& plain) {
    ASSERT_TRUE(offset && plain);
    EXPECT_NEAR(*offset, *plain, 1e-9 * std::fabs(*plain));
}

// A microphone or converter's DC offset is not part of the voice: shimmer
// and HNR stay what they are without it.
TEST_P(AmplitudeMeasuresOfAnOffsetVoice, AreThoseOfTheVoiceWithoutIt) {
    const tools::GeneratedVowel vowel = tools::GenerateVowel(
        {.Rate = 44100, .F0 = 140, .Jitter = 0.01, .Shimmer = 0.04, .HnrDb = 15, .Seconds = 1.5});
    std::vector<double> offset = vowel.Samples;
    for (double& v : offset) {
        v += GetParam().offset;
    }
    const std::span<const double> marks = vowel.PeriodStarts;
    const ShimmerFigures plain = MeasureShimmer(vowel.Samples, vowel.Rate, marks);
    const ShimmerFigures shifted = MeasureShimmer(offset, vowel.Rate, marks);
    ExpectSameFigure(shifted.Local, plain.Local);
    ExpectSameFigure(shifted.LocalDb, plain.LocalDb);
    ExpectSameFigure(shifted.Apq3, plain.Apq3);
    ExpectSameFigure(shifted.Apq5, plain.Apq5);
    ExpectSameFigure(MeanHarmonicity(offset, vowel.Rate, 0.4, 1.5),
                     MeanHarmonicity(vowel.Samples, vowel.Rate, 0.4, 1.5));
}

INSTANTIATE_TEST_SUITE_P(Table, AmplitudeMeasuresOfAnOffsetVoice,
                         ::testing::Values(OffsetCase{"Plus0p1", 0.1}, OffsetCase{"Plus0p4", 0.4}),
                         test::CaseName());

}  // namespace
}  // namespace tesmera
