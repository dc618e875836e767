// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/period_extraction.h"

#include <algorithm>
#include <limits>
#include <ostream>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "analysis/period_analysis.h"
#include "recording/voice_file_writer.h"
#include "recording/voice_report.h"
#include "support/TempFolder.h"
#include "support/param_name.h"
#include "support/synthetic_vowel.h"

namespace tesmera {
namespace {

using test::VowelRecipe;

// The period cut from the vowel, after checking that its F0 is the vowel's
// within `f0Tolerance` (a fraction of F0) and its length within a sample.
ExtractedPeriod CutAtTheVowelsPitch(const VowelRecipe& vowel, double f0Tolerance) {
    ExtractedPeriod period = ExtractPeriod(test::SyntheticVowel(vowel), std::nullopt);
    EXPECT_NEAR(period.F0, vowel.f0, f0Tolerance * vowel.f0);
    EXPECT_NEAR(static_cast<double>(period.Samples.size()), NominalSampleRate / vowel.f0, 1.0);
    return period;
}

std::string VowelName(const ::testing::TestParamInfo<VowelRecipe>& info) {
    return "F" + test::NameOf(info.param.f0) + "HzAt" + std::to_string(info.param.rate);
}

class ExtractionFromVowels : public ::testing::TestWithParam<VowelRecipe> {};

TEST_P(ExtractionFromVowels, OnePeriodOfTheRightLengthAndSpectrum) {
    const VowelRecipe& vowel = GetParam();
    const ExtractedPeriod period = CutAtTheVowelsPitch(vowel, 0.002);

    // The cut is the report's analysed cycle nearest the stretch's middle,
    // exactly as the report scored it and the window would save it.
    const MonoRecording recording = test::SyntheticVowel(vowel);
    const VoiceReport report = ReportVoice(recording.Samples, recording.SampleRate);
    ASSERT_GE(period.Cycle, 1U);
    ASSERT_LE(period.Cycle, report.Cycles.size());
    EXPECT_EQ(period.Samples, report.Cycles[period.Cycle - 1].Period);
    EXPECT_EQ(
        period.Cycle - 1,
        AnalysedCycleNearest(report, (report.StretchStartSeconds + report.StretchEndSeconds) / 2));
    EXPECT_NEAR(period.CutEndSeconds - period.CutStartSeconds, 1 / vowel.f0,
                1.0 / NominalSampleRate);
    EXPECT_GE(period.CutStartSeconds, period.StretchStartSeconds);
    EXPECT_LE(period.CutEndSeconds, period.StretchEndSeconds + 0.03);
    int peak = 0;
    for (const std::int16_t sample : period.Samples) {
        peak = std::max(peak, std::abs(static_cast<int>(sample)));
    }
    EXPECT_EQ(peak, 32767);

    // Written and analysed as the window would: the source's spectrum.
    const test::TempFolder folder;
    const std::string path = (folder.Path() / "extracted1.wav").string();
    WriteVoicePeriod(path, period.Samples);
    PeriodAnalysis analysis;
    analysis.Path = path;
    std::vector<std::string> warnings;
    PeriodAnalyser().AnalyseFile(
        analysis, [&warnings](const Status& warning) { warnings.push_back(warning.Text); });
    ASSERT_EQ(analysis.Stage, AnalysisStage::Analysed);
    EXPECT_THAT(warnings, ::testing::IsEmpty());
    const std::vector<double> expected = test::VowelNormalisedAmplitudes();
    for (std::size_t k = 0; k < expected.size(); ++k) {
        EXPECT_NEAR(analysis.AANorm[k], expected[k], 0.01) << "harmonic " << k + 1;
    }
}

INSTANTIATE_TEST_SUITE_P(Vowels, ExtractionFromVowels,
                         ::testing::Values(VowelRecipe{147.3, 48000}, VowelRecipe{98.5, 44100},
                                           VowelRecipe{310.0, 8000}, VowelRecipe{220.7, 22050},
                                           VowelRecipe{123.4, 96000}),
                         VowelName);

class HighVoices : public ::testing::TestWithParam<VowelRecipe> {};

// The top of the pitch range: a period of a few tracking samples must not
// be taken for two (980 Hz reported as 490 Hz). One cycle's marks lie within
// a fraction of a sample of the truth, which at 8 kHz is 3 % of a period.
TEST_P(HighVoices, KeepTheirOctave) {
    const VowelRecipe& vowel = GetParam();
    const ExtractedPeriod period = ExtractPeriod(test::SyntheticVowel(vowel), std::nullopt);
    EXPECT_NEAR(period.F0, vowel.f0, 0.04 * vowel.f0);
}

INSTANTIATE_TEST_SUITE_P(Vowels, HighVoices,
                         ::testing::Values(VowelRecipe{980.0, 44100}, VowelRecipe{980.0, 16000},
                                           VowelRecipe{1000.0, 48000}, VowelRecipe{950.0, 8000},
                                           VowelRecipe{700.0, 96000}),
                         VowelName);

TEST(ExtractPeriod, CutsAtTheGivenTime) {
    const VowelRecipe vowel{200, 44100};
    const ExtractedPeriod period = ExtractPeriod(test::SyntheticVowel(vowel), 0.9);
    EXPECT_LE(period.CutStartSeconds, 0.9);
    EXPECT_GE(period.CutEndSeconds, 0.9);
}

struct Refusal : test::NamedCase<Refusal> {
    // Made when the case runs, so the table itself stays small.
    MonoRecording (*recording)();
    std::optional<double> at;
    const char* message;
    StatusCode code;
};

class Refusals : public ::testing::TestWithParam<Refusal> {};

TEST_P(Refusals, SayWhy) {
    try {
        const ExtractedPeriod period = ExtractPeriod(GetParam().recording(), GetParam().at);
        FAIL() << "no refusal: cut " << period.Samples.size() << " samples at " << period.F0
               << " Hz";
    } catch (const RecordingError& error) {
        EXPECT_EQ(error.what(), std::string(GetParam().message));
        EXPECT_EQ(error.Code(), GetParam().code);
    }
}

MonoRecording WhiteNoise() {
    std::mt19937 generator(3);
    std::normal_distribution<double> noise(0, 0.1);
    MonoRecording recording{16000, std::vector<double>(16000)};
    for (double& x : recording.Samples) {
        x = noise(generator);
    }
    return recording;
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, Refusals,
    ::testing::Values(Refusal{"Silence",
                              [] {
                                  return MonoRecording{44100, std::vector<double>(44100, 0.0)};
                              },
                              std::nullopt, "silent", StatusCode::Silent},
                      Refusal{"TooShort",
                              [] {
                                  return MonoRecording{44100, std::vector<double>(1000, 0.5)};
                              },
                              std::nullopt, "too short: fewer than 5 cycles", StatusCode::TooShort},
                      Refusal{"Noise", WhiteNoise, std::nullopt, "unvoiced", StatusCode::Unvoiced},
                      Refusal{"AtSilence",
                              [] {
                                  return test::SyntheticVowel({200, 22050});
                              },
                              0.1, "unvoiced at the chosen time", StatusCode::UnvoicedAtTime},
                      Refusal{"AtBeyondTheEnd",
                              [] {
                                  return test::SyntheticVowel({200, 22050});
                              },
                              3.0,
                              "the chosen time 3.000 s lies outside the recording (0 to 1.300 s)",
                              StatusCode::OutsideRecording},
                      Refusal{"AtNotANumber",
                              [] {
                                  return test::SyntheticVowel({200, 22050});
                              },
                              std::numeric_limits<double>::quiet_NaN(),
                              "the chosen time NAN s lies outside the recording (0 to 1.300 s)",
                              StatusCode::OutsideRecording},
                      Refusal{"AtInfinity",
                              [] {
                                  return test::SyntheticVowel({200, 22050});
                              },
                              std::numeric_limits<double>::infinity(),
                              "the chosen time INF s lies outside the recording (0 to 1.300 s)",
                              StatusCode::OutsideRecording}),
    test::CaseName());

// A cycle repeated for half a second, as the extraction fuzzer builds its
// recordings: the cycle's samples (16-bit), played at `rate`.
MonoRecording RepeatedCycle(std::int32_t rate, const std::vector<std::int16_t>& cycle) {
    MonoRecording recording{rate, std::vector<double>(static_cast<std::size_t>(rate / 2))};
    for (std::size_t i = 0; i < recording.Samples.size(); ++i) {
        recording.Samples[i] = cycle[i % cycle.size()] / 32768.0;
    }
    return recording;
}

// Voices above the highest F0 searched: two of their cycles look like one
// period in range, whose half repeats as well. Such a voice is refused
// instead of being cut as a period out of range.
INSTANTIATE_TEST_SUITE_P(
    AboveTheRange, Refusals,
    ::testing::Values(
        Refusal{"SevenSampleCycleAt8000Hz",
                [] {
                    // 1143 Hz: the extraction fuzzer's finding.
                    return RepeatedCycle(8000, {7755, 9547, -5970, -9646, -8, -7755, 0});
                },
                std::nullopt, "unvoiced", StatusCode::Unvoiced},
        Refusal{"Vowel1250HzAt44100Hz",
                [] {
                    return test::SyntheticVowel({1250, 44100});
                },
                std::nullopt, "unvoiced", StatusCode::Unvoiced},
        Refusal{"Vowel1400HzAt16000Hz",
                [] {
                    return test::SyntheticVowel({1400, 16000});
                },
                std::nullopt, "unvoiced", StatusCode::Unvoiced},
        Refusal{"Vowel1250HzAtTheGivenTime",
                [] {
                    return test::SyntheticVowel({1250, 48000});
                },
                0.6, "unvoiced at the chosen time", StatusCode::UnvoicedAtTime}),
    test::CaseName());

struct ScalingCase : test::NamedCase<ScalingCase> {
    std::vector<double> period;
    std::vector<std::int16_t> expected;
};

class PeriodScaling : public ::testing::TestWithParam<ScalingCase> {};

TEST_P(PeriodScaling, PutsTheLargestMagnitudeAtFullScale) {
    EXPECT_EQ(PeriodAs16Bit(GetParam().period), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PeriodScaling,
    ::testing::Values(ScalingCase{"PositivePeak", {0.5, -0.25, 0.1}, {32767, -16384, 6553}},
                      ScalingCase{"NegativePeak", {0.2, -0.4, 0}, {16384, -32767, 0}},
                      // Nothing to scale: a silent cut stays silent instead of dividing by zero.
                      ScalingCase{"Silent", {0, 0, 0}, {0, 0, 0}}, ScalingCase{"Empty", {}, {}}),
    test::CaseName());

}  // namespace
}  // namespace tesmera
