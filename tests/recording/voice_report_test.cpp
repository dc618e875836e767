// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/voice_report.h"

#include <algorithm>
#include <cmath>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/param_name.h"
#include "tools/sustained_vowel.h"
#include "wave/voice_period.h"

namespace tesmera {
namespace {

struct VowelCase : test::NamedCase<VowelCase> {
    tools::VowelRecipe recipe;
};

tools::VowelRecipe Recipe(std::int32_t rate, double f0, double jitter = 0, double shimmer = 0,
                          double hnrDb = 80, double seconds = 1.5) {
    tools::VowelRecipe recipe;
    recipe.Rate = rate;
    recipe.F0 = f0;
    recipe.Jitter = jitter;
    recipe.Shimmer = shimmer;
    recipe.HnrDb = hnrDb;
    recipe.Seconds = seconds;
    return recipe;
}

class ReportsOfVowels : public ::testing::TestWithParam<VowelCase> {};

TEST_P(ReportsOfVowels, HaveSensibleFigures) {
    const tools::VowelRecipe& recipe = GetParam().recipe;
    const tools::GeneratedVowel vowel = tools::GenerateVowel(recipe);
    const VoiceReport report = ReportVoice(vowel.Samples, vowel.Rate);

    EXPECT_TRUE(report.Ok()) << report.Outcome.Text;
    // The stretch lies in the voice, and misses at most its fades and a frame.
    EXPECT_GE(report.StretchStartSeconds, recipe.Silence - 0.015);
    EXPECT_LE(report.StretchEndSeconds, recipe.Silence + recipe.Seconds + 0.015);
    EXPECT_GT(report.StretchEndSeconds - report.StretchStartSeconds, recipe.Seconds - 0.2);
    EXPECT_NEAR(report.F0MeanHz, recipe.F0, 0.005 * recipe.F0);
    EXPECT_GE(report.AnalysedCycles, SteadyCycleCount);
    EXPECT_TRUE(report.Steady);
    ASSERT_TRUE(report.Jitter.Local && report.Shimmer.Local && report.HnrDb);
    // Without noise the marks find the generated jitter itself.
    if (recipe.HnrDb > 40) {
        EXPECT_NEAR(*report.Jitter.Local, recipe.Jitter, 0.2 * recipe.Jitter + 0.0005);
    }
    for (std::size_t m = 0; m < ScoreModelCount; ++m) {
        const ModelSummary& model = report.Models[m];
        EXPECT_EQ(model.Score, ScoreOfValue(model.MedianValue));
        double shares = 0;
        for (const double share : model.GradeShares) {
            shares += share;
        }
        EXPECT_NEAR(shares, 1, 1e-12);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, ReportsOfVowels,
    ::testing::Values(VowelCase{"Male16k", Recipe(16000, 105)},
                      VowelCase{"Female22k", Recipe(22050, 230, 0.005, 0.02)},
                      VowelCase{"Male44k", Recipe(44100, 120, 0.01, 0.03)},
                      VowelCase{"Female48k", Recipe(48000, 210, 0.004, 0.02, 25)},
                      VowelCase{"RoughMale44k", Recipe(44100, 130, 0.015, 0.05, 8)},
                      VowelCase{"High96k", Recipe(96000, 300, 0.003, 0.01)}),
    test::CaseName());

// Every analysed cycle is a period file's worth: 16-bit at the nominal rate,
// peak at full scale, one period long; refused cycles hold nothing.
TEST(ReportsOfVowels, CyclesAreReadyForTheWindow) {
    const tools::GeneratedVowel vowel = tools::GenerateVowel(Recipe(48000, 160, 0.01));
    const VoiceReport report = ReportVoice(vowel.Samples, vowel.Rate);
    ASSERT_TRUE(report.Ok()) << report.Outcome.Text;
    std::size_t scored = 0;
    for (const ReportedCycle& cycle : report.Cycles) {
        ASSERT_LT(cycle.StartSample, cycle.EndSample);
        if (cycle.Verdict != CycleVerdict::CvAccepted) {
            EXPECT_TRUE(cycle.Period.empty());
            EXPECT_FALSE(cycle.Scored);
            continue;
        }
        const double length =
            (cycle.EndSample - cycle.StartSample) * NominalSampleRate / vowel.Rate;
        EXPECT_NEAR(static_cast<double>(cycle.Period.size()), length, 1.0);
        int peak = 0;
        for (const std::int16_t s : cycle.Period) {
            peak = std::max(peak, std::abs(static_cast<int>(s)));
        }
        EXPECT_EQ(peak, 32767);
        scored += cycle.Scored ? 1 : 0;
    }
    EXPECT_EQ(scored, report.AnalysedCycles);
}

TEST(ReportsOfVowels, AtChoosesTheStretchAroundThatTime) {
    // Two vowels at different pitches with silence between: the longer one
    // is the default, --at picks the other.
    tools::GeneratedVowel first = tools::GenerateVowel(Recipe(22050, 120, 0, 0, 80, 0.6));
    const tools::GeneratedVowel second = tools::GenerateVowel(Recipe(22050, 200, 0, 0, 80, 1.2));
    const double secondStart = static_cast<double>(first.Samples.size()) / 22050;
    first.Samples.insert(first.Samples.end(), second.Samples.begin(), second.Samples.end());

    const VoiceReport longest = ReportVoice(first.Samples, 22050);
    EXPECT_NEAR(longest.F0MeanHz, 200, 1);
    EXPECT_GT(longest.StretchStartSeconds, secondStart);
    const VoiceReport chosen = ReportVoice(first.Samples, 22050, 0.5);
    EXPECT_NEAR(chosen.F0MeanHz, 120, 1);
    EXPECT_LT(chosen.StretchEndSeconds, secondStart);
}

struct RefusalCase : test::NamedCase<RefusalCase> {
    std::vector<double> samples;
    std::optional<double> at;
    Status status;
};

class RefusedRecordings : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(RefusedRecordings, SayWhy) {
    const RefusalCase& c = GetParam();
    const VoiceReport report = ReportVoice(c.samples, 16000, c.at);
    EXPECT_EQ(report.Outcome.Code, c.status.Code);
    EXPECT_EQ(report.Outcome.Text, c.status.Text);
    EXPECT_FALSE(report.Ok());
}

std::vector<double> WhiteNoise() {
    std::mt19937 generator(5);
    std::normal_distribution<double> normal(0, 0.1);
    std::vector<double> samples(16000);
    for (double& s : samples) {
        s = normal(generator);
    }
    return samples;
}

std::vector<double> ShortVowel() {
    tools::VowelRecipe recipe = Recipe(16000, 100, 0, 0, 80, 0.04);
    recipe.Fade = 0.005;
    return tools::GenerateVowel(recipe).Samples;
}

std::vector<double> Generated(std::int32_t rate, double f0, tools::VowelSource source,
                              double secondF0 = 0) {
    tools::VowelRecipe recipe = Recipe(rate, f0, 0.005, 0.03, 30);
    recipe.Source = source;
    recipe.SecondF0 = secondF0;
    return tools::GenerateVowel(recipe).Samples;
}

INSTANTIATE_TEST_SUITE_P(
    Table, RefusedRecordings,
    ::testing::Values(
        RefusalCase{"Silent", std::vector<double>(16000, 0.0), {}, {StatusCode::Silent, "silent"}},
        RefusalCase{"TooShortForAFrame", std::vector<double>(100, 0.1), {}, TooShortStatus()},
        RefusalCase{"Noise", WhiteNoise(), {}, {StatusCode::Unvoiced, "unvoiced"}},
        RefusalCase{"FewCycles",
                    ShortVowel(),
                    {},
                    {StatusCode::TooShort, "too short: fewer than 5 cycles"}},
        RefusalCase{"AtBeyondTheEnd",
                    tools::GenerateVowel(Recipe(16000, 150)).Samples,
                    9.0,
                    {StatusCode::OutsideRecording,
                     "the chosen time 9.000 s lies outside the recording (0 to 1.900 s)"}},
        RefusalCase{"AtInSilence",
                    tools::GenerateVowel(Recipe(16000, 150)).Samples,
                    0.05,
                    {StatusCode::UnvoicedAtTime, "unvoiced at the chosen time"}},
        // Above the pitch range: not reported as cycles of two periods
        // at half the pitch.
        RefusalCase{"Voice1250Hz",
                    tools::GenerateVowel(Recipe(16000, 1250)).Samples,
                    {},
                    {StatusCode::Unvoiced, "unvoiced"}},
        RefusalCase{"PureTone",
                    Generated(16000, 200, tools::VowelSource::PureTone),
                    {},
                    {StatusCode::NotAVoice, "not a voice: a pure tone"}},
        // Noise through the resonances of /a/ repeats at a formant's period
        // now and then, never for long.
        RefusalCase{"Whisper",
                    Generated(16000, 150, tools::VowelSource::Whisper),
                    {},
                    {StatusCode::Unvoiced, "unvoiced"}},
        RefusalCase{"TwoVoices",
                    Generated(16000, 130, tools::VowelSource::Voice, 210),
                    {},
                    {StatusCode::TwoVoices, "two voices: another pitch at 130 Hz"}},
        RefusalCase{"Voice1400HzAtItsMiddle",
                    tools::GenerateVowel(Recipe(16000, 1400)).Samples,
                    0.9,
                    {StatusCode::UnvoicedAtTime, "unvoiced at the chosen time"}}),
    test::CaseName());

TEST(ReportsOfVowels, ARegisterChangeIsNotSteadyAndSaysWhere) {
    tools::VowelRecipe recipe = Recipe(22050, 150, 0.005, 0.03, 30, 3);
    recipe.JumpAt = 1.5;
    recipe.JumpFactor = 1.6;
    const VoiceReport report = ReportVoice(tools::GenerateVowel(recipe).Samples, 22050);
    ASSERT_TRUE(report.Ok()) << report.Outcome.Text;
    EXPECT_FALSE(report.Steady);
    EXPECT_EQ(report.UnsteadyReason.substr(0, 37), "the pitch jumps from 150 to 240 Hz at");
}

TEST(ReportsOfVowels, NoiseInTheRecordingMakesEveryModelBorderline) {
    tools::VowelRecipe recipe = Recipe(22050, 150, 0.005, 0.03, 30, 2);
    std::vector<double> samples = tools::GenerateVowel(recipe).Samples;
    // White noise 20 dB under the voice, in the pauses too, as a room gives it.
    std::mt19937 generator(3);
    std::normal_distribution<double> noise(0, 0.5 / std::sqrt(2.0) / 10 / 2);
    for (double& s : samples) {
        s += noise(generator);
    }
    const VoiceReport report = ReportVoice(samples, 22050);
    ASSERT_TRUE(report.Ok()) << report.Outcome.Text;
    ASSERT_TRUE(report.Quality.has_value());
    EXPECT_TRUE(report.Quality->Noisy()) << report.Quality->Verdict();
    for (const ModelSummary& model : report.Models) {
        EXPECT_TRUE(model.Borderline);
    }
}

TEST(RefusedRecordings, ARateOfZeroIsAProgrammingError) {
    EXPECT_THROW(ReportVoice(std::vector<double>(100, 0.0), 0), std::invalid_argument);
}

}  // namespace
}  // namespace tesmera
