// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/recording_quality.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "recording/resampling.h"
#include "recording/scanned_recording.h"
#include "support/param_name.h"
#include "tools/sustained_vowel.h"

namespace tesmera {
namespace {

// A generated vowel of 150 Hz (2 s of voice), then changed as the case says.
struct QualityCase : test::NamedCase<QualityCase> {
    std::int32_t rate = 44100;
    double silence = 0.3;              // seconds before and after the voice
    std::int32_t upsampledTo = 0;      // Hz; 0: left at `rate`
    double clipGain = 0;               // gain before clipping; 0: not clipped
    double clipLevel = 1;              // magnitude the samples are clipped at
    std::optional<double> noiseSnrDb;  // white noise throughout, re the voice's RMS
    // Expected: the measured SNR within 1 dB of this; none without a pause.
    std::optional<double> snrDb;
    std::string verdict;  // its beginning
};

double SteadyVoiceRms(const tools::VowelRecipe& recipe, const std::vector<double>& samples,
                      double rate) {
    const auto first = static_cast<std::size_t>((recipe.Silence + recipe.Fade) * rate);
    const auto end =
        static_cast<std::size_t>((recipe.Silence + recipe.Seconds - recipe.Fade) * rate);
    double squares = 0;
    for (std::size_t i = first; i < end; ++i) {
        squares += samples[i] * samples[i];
    }
    return std::sqrt(squares / static_cast<double>(end - first));
}

std::vector<double> Recording(const QualityCase& c, std::int32_t& rate) {
    tools::VowelRecipe recipe;
    recipe.Rate = c.rate;
    recipe.Seconds = 2;
    recipe.Silence = c.silence;
    std::vector<double> samples = tools::GenerateVowel(recipe).Samples;
    rate = c.rate;
    if (c.upsampledTo != 0) {
        samples =
            Resample(samples, static_cast<double>(c.upsampledTo) / c.rate, ResamplingQuality::Best);
        rate = c.upsampledTo;
    }
    if (c.clipGain != 0) {
        for (double& v : samples) {
            v = std::clamp(v * c.clipGain, -c.clipLevel, c.clipLevel);
        }
    }
    if (c.noiseSnrDb) {
        const double noiseRms =
            SteadyVoiceRms(recipe, samples, rate) / std::pow(10.0, *c.noiseSnrDb / 20);
        std::mt19937 generator(7);
        std::normal_distribution<double> noise(0, noiseRms);
        for (double& v : samples) {
            v += noise(generator);
        }
    }
    return samples;
}

class QualityOfRecordings : public ::testing::TestWithParam<QualityCase> {};

TEST_P(QualityOfRecordings, TellNoiseClippingAndBandLimits) {
    const QualityCase& c = GetParam();
    std::int32_t rate = 0;
    const std::vector<double> samples = Recording(c, rate);
    RecordingInMemory recording(samples, rate);
    const MarkedStretch stretch = MarkStretch(recording, std::nullopt);
    ASSERT_TRUE(stretch.Outcome.Ok()) << stretch.Outcome.Text;

    const RecordingQuality quality = AssessRecordingQuality(stretch, rate, recording.Frames());

    ASSERT_EQ(quality.SnrDb.has_value(), c.snrDb.has_value());
    if (c.snrDb) {
        EXPECT_NEAR(*quality.SnrDb, *c.snrDb, 1);
    }
    EXPECT_EQ(quality.Verdict().substr(0, c.verdict.size()), c.verdict) << quality.Verdict();
    EXPECT_EQ(quality.Poor(), c.verdict.starts_with("poor"));
}

QualityCase Clean(std::string name, double silence) {
    QualityCase c;
    c.name = std::move(name);
    c.silence = silence;
    c.verdict = "good";
    return c;
}

QualityCase Noisy(std::string name, double silence, double snrDb, std::string verdict) {
    QualityCase c = Clean(std::move(name), silence);
    c.noiseSnrDb = snrDb;
    c.snrDb = silence > 0 ? std::optional(snrDb) : std::nullopt;
    c.verdict = std::move(verdict);
    return c;
}

QualityCase Clipped(std::string name, double level) {
    QualityCase c = Clean(std::move(name), 0.3);
    c.clipGain = 3;
    c.clipLevel = level;
    c.verdict = "poor: clipped (";
    return c;
}

QualityCase BandLimited(std::string name, std::int32_t upsampledTo, std::string verdict) {
    QualityCase c = Clean(std::move(name), 0.3);
    c.rate = 8000;
    c.upsampledTo = upsampledTo;
    c.verdict = std::move(verdict);
    return c;
}

INSTANTIATE_TEST_SUITE_P(
    Table, QualityOfRecordings,
    ::testing::Values(
        // Pauses of digital silence say nothing of the noise.
        Clean("CleanWithSilences", 0.3), Noisy("Noise20dB", 0.3, 20, "poor: noise (SNR "),
        Noisy("Noise40dB", 0.3, 40, "good"),
        Noisy("NoPausesNoiseNotMeasured", 0, 20, "good (noise not measured: no pause)"),
        Clipped("ClippedAtFullScale", 1), Clipped("ClippedBeforeTheConverter", 0.8),
        BandLimited("Rate8kHz", 0, "poor: band-limited (8 kHz rate)"),
        BandLimited("LowPassedAt3_6kHz", 44100, "poor: band-limited (nothing above 4 kHz)")),
    test::CaseName());

struct VerdictCase : test::NamedCase<VerdictCase> {
    RecordingQuality quality;
    std::string verdict;
};

class QualityVerdicts : public ::testing::TestWithParam<VerdictCase> {};

TEST_P(QualityVerdicts, NameEveryReason) {
    EXPECT_EQ(GetParam().quality.Verdict(), GetParam().verdict);
}

INSTANTIATE_TEST_SUITE_P(
    Table, QualityVerdicts,
    ::testing::Values(
        VerdictCase{{"AtTheLimits"}, {30, 0.001, 16000, false}, "good"},
        VerdictCase{
            {"NoPause"}, {std::nullopt, 0, 44100, false}, "good (noise not measured: no pause)"},
        VerdictCase{{"Noise"}, {20.6, 0, 44100, false}, "poor: noise (SNR 21 dB)"},
        VerdictCase{{"Clipped"}, {45, 0.0042, 44100, false}, "poor: clipped (0.4 % of samples)"},
        VerdictCase{{"LowRate"}, {45, 0, 11025, true}, "poor: band-limited (11 kHz rate)"},
        VerdictCase{{"Everything"},
                    {12, 0.02, 44100, true},
                    "poor: noise (SNR 12 dB), clipped (2.0 % of samples), band-limited "
                    "(nothing above 4 kHz)"}),
    test::CaseName());

TEST(QualityOfRecordings, IsJudgedOnlyOnAStretch) {
    const std::vector<double> silence(44100, 0.0);
    RecordingInMemory recording(silence, 44100);
    const MarkedStretch stretch = MarkStretch(recording, std::nullopt);
    EXPECT_THROW(AssessRecordingQuality(stretch, 44100, recording.Frames()), TesmeraError);
}

}  // namespace
}  // namespace tesmera
