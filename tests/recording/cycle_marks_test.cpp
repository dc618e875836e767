// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/cycle_marks.h"

#include <cmath>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/param_name.h"
#include "tools/sustained_vowel.h"

namespace tesmera {
namespace {

struct MarkCase : test::NamedCase<MarkCase> {
    std::int32_t rate;
    double f0;
};

class MarksOfSteadyVowels : public ::testing::TestWithParam<MarkCase> {};

// Without jitter every cycle lasts exactly 1 / f0: the marks must be that
// far apart to a small fraction of a sample, and cover the stretch.
TEST_P(MarksOfSteadyVowels, AreOnePeriodApart) {
    const MarkCase& c = GetParam();
    tools::VowelRecipe recipe;
    recipe.Rate = c.rate;
    recipe.F0 = c.f0;
    const tools::GeneratedVowel vowel = tools::GenerateVowel(recipe);
    const double from = 0.3;
    const double to = 1.0;
    const std::vector<double> marks =
        MarkCycles(vowel.Samples, c.rate, from, to, [&](double) { return 1 / c.f0; });
    ASSERT_GE(marks.size(), 2u);
    EXPECT_NEAR(static_cast<double>(marks.size() - 1), (to - from) * c.f0, 4.0);
    EXPECT_GE(marks.front(), from);
    EXPECT_LE(marks.back(), to);
    for (std::size_t i = 1; i < marks.size(); ++i) {
        EXPECT_NEAR((marks[i] - marks[i - 1]) * c.rate, c.rate / c.f0, 0.05) << "cycle " << i;
    }
    for (const CycleVerdict verdict :
         CheckCycles(vowel.Samples, c.rate, marks, [&](double) { return 1 / c.f0; })) {
        EXPECT_EQ(verdict, CycleVerdict::CvAccepted);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, MarksOfSteadyVowels,
                         ::testing::Values(MarkCase{"Male16k", 16000, 110},
                                           MarkCase{"Female22k", 22050, 220},
                                           MarkCase{"Male44k", 44100, 98.5},
                                           MarkCase{"Child48k", 48000, 310},
                                           MarkCase{"Low96k", 96000, 80}),
                         test::CaseName());

// With jitter the marks follow each generated cycle: the distances between
// marks track the generated period lengths.
TEST(MarksOfJitteryVowels, FollowEachCycle) {
    tools::VowelRecipe recipe;
    recipe.Rate = 44100;
    recipe.F0 = 140;
    recipe.Jitter = 0.02;
    const tools::GeneratedVowel vowel = tools::GenerateVowel(recipe);
    const std::vector<double> marks =
        MarkCycles(vowel.Samples, recipe.Rate, 0.3, 1.0, [&](double) { return 1 / recipe.F0; });
    ASSERT_GT(marks.size(), 50u);
    const std::vector<double>& starts = vowel.PeriodStarts;
    for (std::size_t i = 1; i < marks.size(); ++i) {
        // The generated cycle holding the middle of this mark pair.
        const double middle = (marks[i] + marks[i - 1]) / 2;
        const auto after = std::upper_bound(starts.begin(), starts.end(), middle);
        ASSERT_TRUE(after != starts.begin() && after != starts.end());
        const double generated = *after - *(after - 1);
        EXPECT_NEAR(marks[i] - marks[i - 1], generated,
                    0.25 * recipe.Jitter * generated + 2.0 / recipe.Rate)
            << "cycle " << i;
    }
}

TEST(MarksOfSteadyVowels, NoneInAStretchShorterThanTwoPeriods) {
    const tools::GeneratedVowel vowel = tools::GenerateVowel({});
    EXPECT_TRUE(
        MarkCycles(vowel.Samples, vowel.Rate, 0.5, 0.51, [](double) { return 0.01; }).empty());
}

struct VerdictCase : test::NamedCase<VerdictCase> {
    double trackScale;    // the pitch track's period over the true one
    double shiftSamples;  // one mark moved by this much
    CycleVerdict expected;
};

class CycleVerdicts : public ::testing::TestWithParam<VerdictCase> {};

TEST_P(CycleVerdicts, OfDisturbedMarks) {
    const VerdictCase& c = GetParam();
    tools::VowelRecipe recipe;
    recipe.F0 = 150;
    const tools::GeneratedVowel vowel = tools::GenerateVowel(recipe);
    const PeriodTrack truth = [&](double) { return 1 / recipe.F0; };
    std::vector<double> marks = MarkCycles(vowel.Samples, recipe.Rate, 0.4, 0.6, truth);
    ASSERT_GT(marks.size(), 20u);
    marks[10] += c.shiftSamples / recipe.Rate;
    const std::vector<CycleVerdict> verdicts = CheckCycles(
        vowel.Samples, recipe.Rate, marks, [&](double t) { return c.trackScale * truth(t); });
    EXPECT_EQ(verdicts[9], c.expected);
    EXPECT_EQ(verdicts[10], c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CycleVerdicts,
    ::testing::Values(VerdictCase{"Undisturbed", 1, 0, CycleVerdict::CvAccepted},
                      VerdictCase{"OneSampleOffStillAccepted", 1, 1, CycleVerdict::CvAccepted},
                      // As far as 3 % jitter moves a cycle's length from its neighbour's.
                      VerdictCase{"ShiftOfJitterAccepted", 1, 12, CycleVerdict::CvAccepted},
                      VerdictCase{"ShiftOfATwelfthMisshapen", 1, 25, CycleVerdict::CvMisshapen},
                      // A track at half the F0 (an octave error) or twice it.
                      VerdictCase{"TrackAnOctaveLow", 2, 0, CycleVerdict::CvOffTrack},
                      VerdictCase{"TrackAnOctaveHigh", 0.5, 0, CycleVerdict::CvOffTrack},
                      VerdictCase{"TrackEightPercentOff", 1.08, 0, CycleVerdict::CvAccepted},
                      VerdictCase{"TrackTwelvePercentOff", 1.12, 0, CycleVerdict::CvOffTrack}),
    test::CaseName());

}  // namespace
}  // namespace tesmera
