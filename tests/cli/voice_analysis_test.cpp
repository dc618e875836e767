// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/voice_analysis.h"

#include <gtest/gtest.h>

#include "analysis/reports.h"
#include "cli/cli_test_support.h"
#include "cli/voice_file_list.h"
#include "support/degenerate_periods.h"
#include "support/param_name.h"

namespace tesmera {
namespace {

using test::Bytes;
using test::CanonicalWav;
using test::HarmonicPeriod;

// Coefficients of a period rounded to 16-bit samples come back this close.
constexpr double RoundingTolerance = 0.1;

struct KnownPeriod {
    int N;
    std::vector<test::Harmonic> harmonics;
};

class KnownHarmonics : public ::testing::TestWithParam<KnownPeriod> {};

TEST_P(KnownHarmonics, CoefficientsAmplitudesAndStatisticsComeBack) {
    const KnownPeriod& period = GetParam();
    const test::TempFolder folder;
    const std::string path =
        folder.Add("patient3.wav", CanonicalWav(HarmonicPeriod(period.N, period.harmonics, 100)));

    const VoiceAnalysis record = AnalyseVoiceFile(path);

    ASSERT_EQ(record.StatusText(), "ok");
    EXPECT_EQ(record.Stage, AnalysisStage::Analysed);
    EXPECT_EQ(record.SampleCount, period.N);
    EXPECT_DOUBLE_EQ(record.PeriodFrequency, 44100.0 / period.N);
    EXPECT_NEAR(record.Mean, 100, RoundingTolerance);
    EXPECT_NEAR(record.ax[0], 200, RoundingTolerance);
    std::array<double, CoefficientCount> expectedAA{};
    expectedAA[0] = 200;
    for (const test::Harmonic& h : period.harmonics) {
        EXPECT_NEAR(record.ax[h.k], h.a, RoundingTolerance) << "harmonic " << h.k;
        EXPECT_NEAR(record.bx[h.k], h.b, RoundingTolerance) << "harmonic " << h.k;
        expectedAA[h.k] = std::hypot(h.a, h.b);
    }
    for (int k = 0; k <= 20; ++k) {
        EXPECT_NEAR(record.AA[k], expectedAA[k], RoundingTolerance) << "harmonic " << k;
    }
    EXPECT_EQ(record.ExpertGrade, 3);
    for (const std::int32_t score : record.Score) {
        EXPECT_GE(score, 1);
        EXPECT_LE(score, 5);
    }
}

INSTANTIATE_TEST_SUITE_P(Periods, KnownHarmonics,
                         ::testing::Values(KnownPeriod{100,
                                                       {{1, 8000, 0},
                                                        {2, 0, 4000},
                                                        {3, 1500, -1500},
                                                        {4, 900, 0},
                                                        {5, 0, 500},
                                                        {6, 300, 300}}},
                                           KnownPeriod{441,
                                                       {{1, 6000, 6000},
                                                        {2, -3000, 1000},
                                                        {3, 2000, 0},
                                                        {4, 0, -1200},
                                                        {5, 700, 100},
                                                        {6, 400, 0},
                                                        {20, 250, 0}}},
                                           KnownPeriod{1000,
                                                       {{1, 12000, 0},
                                                        {2, 5000, 0},
                                                        {3, 2500, 0},
                                                        {4, 1250, 0},
                                                        {5, 600, 0},
                                                        {6, 300, 0},
                                                        {15, 0, 150}}}),
                         [](const auto& info) { return "N" + std::to_string(info.param.N); });

class DegeneratePeriods : public ::testing::TestWithParam<test::DegeneratePeriod> {};

// Rounding noise of the series (about 1e-13 of the peak) is not a harmonic:
// these periods are not scored, as exact arithmetic would have it.
TEST_P(DegeneratePeriods, GiveTheWarningAndNoScores) {
    const test::TempFolder folder;
    const std::string path = folder.Add("period3.wav", CanonicalWav(GetParam().samples));
    const VoiceAnalysis record = AnalyseVoiceFile(path);
    EXPECT_EQ(record.StatusText(), GetParam().warning);
    EXPECT_EQ(record.Stage, AnalysisStage::Analysed);
    EXPECT_FALSE(record.Scored);
    for (const std::int32_t score : record.Score) {
        EXPECT_EQ(score, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Periods, DegeneratePeriods, ::testing::ValuesIn(test::DegeneratePeriods()),
                         test::CaseName());

TEST(VoiceAnalysis, ScoresFollowTheModelsOnTheNormalisedAmplitudes) {
    const test::TempFolder folder;
    const std::string path = folder.Add(
        "a4.wav",
        CanonicalWav(HarmonicPeriod(
            200,
            {{1, 4000, 0}, {2, 2000, 0}, {3, 2000, 0}, {4, 0, 1000}, {5, 1000, 0}, {6, 1000, 0}})));
    const VoiceAnalysis record = AnalyseVoiceFile(path);
    // The normalised amplitudes and the model "10" value worked out from
    // AA = 4, 2, 2, 1, 1, 1 (norm √27).
    EXPECT_NEAR(record.AmplitudeNorm, 1000 * std::sqrt(27.0), 0.2);
    EXPECT_NEAR(record.AANorm[0], 4 / std::sqrt(27.0), 1e-4);
    EXPECT_NEAR(record.ScoreValue[0], 1.3871, 1e-3);
    EXPECT_EQ(record.Score[0], 1);
}

// A file whose 18-byte format chunk moves the data tag two bytes on: its
// samples are read from the tag, so it analyses like the canonical file.
TEST(VoiceAnalysis, ReadsSamplesFromTheDataTag) {
    const test::TempFolder folder;
    const auto samples = HarmonicPeriod(300, {{1, 5000, 0}, {2, 0, 2500}});
    const Bytes longFormat = test::Concat(
        {test::FormatPart({.riffSize = 38 + 600, .formatSize = 18}), test::DataChunk(samples)});
    const VoiceAnalysis canonical = AnalyseVoiceFile(folder.Add("c1.wav", CanonicalWav(samples)));
    const VoiceAnalysis shifted = AnalyseVoiceFile(folder.Add("s1.wav", longFormat));
    ASSERT_TRUE(shifted.Ok());
    EXPECT_EQ(shifted.SampleCount, 300);
    EXPECT_EQ(shifted.AA, canonical.AA);
}

TEST(VoiceAnalysis, NameWithoutGradeKeepsTheAnalysis) {
    const test::TempFolder folder;
    const VoiceAnalysis record = AnalyseVoiceFile(
        folder.Add("Voice.WAV", CanonicalWav(HarmonicPeriod(150, {{1, 3000, 0}, {2, 0, 900}}))));
    EXPECT_EQ(record.StatusText(), "ok");
    EXPECT_EQ(record.Stage, AnalysisStage::Analysed);
    EXPECT_FALSE(record.ExpertGrade.has_value());
    EXPECT_EQ(record.GradeNote, "'e' is not a valid integer value.");
    EXPECT_EQ(record.StatusCodes(), "no_grade");
}

// What the window would show, and how far each file gets.
struct FailingFile : test::NamedCase<FailingFile> {
    Bytes content;
    std::string status;
    std::string code;
    AnalysisStage stage;
};

class FailingFiles : public ::testing::TestWithParam<FailingFile> {};

TEST_P(FailingFiles, StatusCarriesTheWindowsText) {
    const FailingFile& file = GetParam();
    const test::TempFolder folder;
    const VoiceAnalysis record = AnalyseVoiceFile(folder.Add(file.name, file.content));
    EXPECT_EQ(record.StatusText(), file.status);
    EXPECT_EQ(record.StatusCodes(), file.code);
    EXPECT_EQ(record.Stage, file.stage);
    EXPECT_FALSE(record.Ok());
}

// Six harmonics, so none of 1..6 is an exact zero: with two, the rounded
// samples' sixth harmonic is exactly zero and the coefficient warning comes.
const std::vector<std::int16_t> ShortPeriod = HarmonicPeriod(
    120, {{1, 4000, 0}, {2, 0, 2000}, {3, 900, 300}, {4, 500, 0}, {5, 0, 400}, {6, 250, 250}});

INSTANTIATE_TEST_SUITE_P(
    Table, FailingFiles,
    ::testing::Values(
        FailingFile{"riff1.wav", test::Poke(CanonicalWav(ShortPeriod), 0, "RIFX"),
                    " V souboru WAVE nebylo nalezeno navesti \"RIFF\" ", "not_riff",
                    AnalysisStage::NotLoaded},
        FailingFile{"stereo1.wav",
                    test::Concat({test::FormatPart({.channels = 2}), test::DataChunk(ShortPeriod)}),
                    " Data v souboru WAVE nejsou MONO ", "not_mono", AnalysisStage::NotLoaded},
        FailingFile{
            "bits1.wav",
            test::Concat({test::FormatPart({.bitsPerSample = 8}), test::DataChunk(ShortPeriod)}),
            " Data v souboru WAVE nejsou 16-bitova ", "not_16bit", AnalysisStage::NotLoaded},
        FailingFile{"short1.wav", test::Prefix(CanonicalWav(ShortPeriod), 20),
                    "Read beyond end of file.", "read_beyond_end", AnalysisStage::NotLoaded},
        FailingFile{"nodata1.wav", test::Prefix(CanonicalWav(ShortPeriod), 44),
                    "Read beyond end of file.", "read_beyond_end", AnalysisStage::NotLoaded},
        FailingFile{"long1.wav", CanonicalWav(std::vector<std::int16_t>(10001, 7)),
                    std::string(NothingToAnalyseWarning), "too_long", AnalysisStage::Loaded},
        FailingFile{"silent1.wav", CanonicalWav(std::vector<std::int16_t>(200, 0)),
                    std::string(NormIsZeroWarning), "zero_norm", AnalysisStage::Analysed},
        // 12 samples reach harmonic 2 only, so harmonics 3..6 are zero.
        FailingFile{"tiny1.wav", CanonicalWav(HarmonicPeriod(12, {{1, 1000, 0}})),
                    std::string(ZeroCoefficientWarning), "zero_amplitude", AnalysisStage::Analysed},
        FailingFile{"rate1.wav", CanonicalWav(ShortPeriod, 48000),
                    " Data byla vzorkovana rychlosti = 48000", "rate_notice",
                    AnalysisStage::Analysed}),
    // The file name without its extension.
    [](const auto& info) {
        const std::string file = info.param.name;
        return file.substr(0, file.find('.'));
    });

TEST(VoiceAnalysis, MissingFileIsAnErrorRecord) {
    const VoiceAnalysis record = AnalyseVoiceFile("/nonexistent/voice3.wav");
    EXPECT_EQ(record.StatusText(), "File not found.");
    EXPECT_EQ(record.StatusCodes(), "not_found");
    EXPECT_EQ(record.Stage, AnalysisStage::NotLoaded);
}

TEST(VoiceAnalysis, LongPeriodIsCountedAndDescribedButNotAnalysed) {
    const test::TempFolder folder;
    const VoiceAnalysis record = AnalyseVoiceFile(
        folder.Add("long2.wav", CanonicalWav(std::vector<std::int16_t>(12000, -3))));
    EXPECT_EQ(record.SampleCount, 12000);
    EXPECT_EQ(record.Mean, -3);
    EXPECT_EQ(record.MaxAbs, 3);
    EXPECT_EQ(record.AA, decltype(record.AA){});
}

TEST(VoiceAnalysis, WarningsAccumulateInTheOrderShown) {
    const test::TempFolder folder;
    const VoiceAnalysis record = AnalyseVoiceFile(
        folder.Add("quiet1.wav", CanonicalWav(std::vector<std::int16_t>(64, 0), 22050)));
    EXPECT_EQ(record.StatusText(),
              " Data byla vzorkovana rychlosti = 22050 |  !!!  norma = 0  !!! ");
    EXPECT_EQ(record.StatusCodes(), "rate_notice | zero_norm");
}

// A longer period leaves samples behind in the shared buffers; the next,
// shorter one must not see them.
TEST(VoiceFileAnalyser, ReusedBuffersGiveWhatFreshOnesGive) {
    const test::TempFolder folder;
    const std::string longer =
        folder.Add("l1.wav", CanonicalWav(HarmonicPeriod(900, {{1, 9000, 0}, {7, 0, 3000}})));
    const std::string shorter = folder.Add(
        "s2.wav", CanonicalWav(HarmonicPeriod(120, {{1, 2000, 500}, {2, 700, 0}, {3, 0, 400}})));
    VoiceFileAnalyser analyser;
    analyser.Analyse(longer);
    const VoiceAnalysis reused = analyser.Analyse(shorter);
    const VoiceAnalysis fresh = AnalyseVoiceFile(shorter);
    EXPECT_EQ(reused.ax, fresh.ax);
    EXPECT_EQ(reused.bx, fresh.bx);
    EXPECT_EQ(reused.ApproxOrder, fresh.ApproxOrder);
    EXPECT_EQ(reused.ScoreValue, fresh.ScoreValue);
}

}  // namespace
}  // namespace tesmera
