// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/cepstral_peak.h"
#include "recording/cepstral_peak_resampling.h"
#include "recording/cepstral_peak_smoothing.h"
#include "recording/cepstral_peak_transform.h"
#include "recording/voice_report.h"
#include "support/param_name.h"
#include "tools/sustained_vowel.h"

#include <cmath>
#include <complex>
#include <numbers>
#include <optional>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "base/TesmeraError.h"

namespace tesmera {
namespace {

// One second of a 125 Hz voice over a noise floor, the same band-limited
// signal at every whole rate of at least 10 kHz: the harmonics below 5 kHz
// with amplitude 0.02, and under them components every 1 Hz up to 4.99 kHz
// with amplitude 0.0002 and random phases (together about 21 dB below the
// harmonics). Built as one inverse transform of a one-second spectrum,
// sample k standing at (k + 1/2) / rate. Without such a floor a cepstrum is
// ruled by the rounding noise in the spectrum's deep valleys, which differs
// from one rate to another.
std::vector<double> VoiceOverNoiseFloor(std::size_t rate) {
    constexpr std::size_t F0 = 125;
    constexpr std::size_t Top = 4990;
    std::mt19937 generator(3);
    std::uniform_real_distribution<double> turn(0, 2 * std::numbers::pi);
    std::vector<std::complex<double>> spectrum(rate / 2 + 1);
    for (std::size_t f = 1; f < Top; ++f) {
        const double amplitude = f % F0 == 0 ? 0.02 : 0.0002;
        const double halfSampleShift = std::numbers::pi * static_cast<double>(f) / rate;
        spectrum[f] = std::polar(amplitude / 2, turn(generator) + halfSampleShift);
    }
    return RealSignal(spectrum, rate);
}

std::vector<double> WhiteNoise(double rate, double seconds = 1) {
    std::mt19937 generator(5);
    std::normal_distribution<double> normal(0, 0.1);
    std::vector<double> samples(static_cast<std::size_t>(seconds * rate));
    for (double& s : samples) {
        s = normal(generator);
    }
    return samples;
}

double Cpps(const std::vector<double>& samples, double rate, unsigned threads = 1) {
    const std::optional<double> cpps = SmoothedCepstralPeakProminence(samples, rate, threads);
    EXPECT_TRUE(cpps.has_value());
    return cpps.value_or(NAN);
}

TEST(SmoothedCepstralPeakProminence, SeparatesAPeriodicSignalFromNoise) {
    const double periodic = Cpps(VoiceOverNoiseFloor(16000), 16000);
    const double noise = Cpps(WhiteNoise(16000), 16000);
    EXPECT_GT(periodic, 18);
    EXPECT_LT(noise, 6);
}

TEST(SmoothedCepstralPeakProminence, DoesNotDependOnTheRateOnceTheBandIsTheSame) {
    const double at10k = Cpps(VoiceOverNoiseFloor(10000), 10000);
    for (const std::size_t rate : {16000, 22050, 44100, 48000, 96000}) {
        SCOPED_TRACE(rate);
        const auto r = static_cast<double>(rate);
        EXPECT_NEAR(Cpps(VoiceOverNoiseFloor(rate), r), at10k, 0.02);
    }
}

TEST(SmoothedCepstralPeakProminence, DoesNotDependOnLoudnessOrThreads) {
    const tools::GeneratedVowel vowel = tools::GenerateVowel(
        {.Rate = 22050, .F0 = 140, .Jitter = 0.01, .Shimmer = 0.04, .HnrDb = 15, .Seconds = 1});
    const double cpps = Cpps(vowel.Samples, vowel.Rate);
    std::vector<double> quiet = vowel.Samples;
    for (double& s : quiet) {
        s *= 0.01;
    }
    EXPECT_NEAR(Cpps(quiet, vowel.Rate), cpps, 0.01);
    EXPECT_EQ(Cpps(vowel.Samples, vowel.Rate, 3), cpps);
}

TEST(SmoothedCepstralPeakProminence, FallsAsTheVoiceGetsNoisier) {
    double previous = INFINITY;
    for (const double hnrDb : {40.0, 20.0, 10.0, 5.0, 0.0}) {
        SCOPED_TRACE(hnrDb);
        const tools::GeneratedVowel vowel =
            tools::GenerateVowel({.Rate = 16000, .F0 = 120, .HnrDb = hnrDb, .Seconds = 1});
        const double cpps = Cpps(vowel.Samples, vowel.Rate);
        EXPECT_LT(cpps, previous - 1);
        previous = cpps;
    }
}

// The report's CPPS is that of the whole recording whenever there is sound
// to measure, its status ok or not, and nothing for silence or a sound
// shorter than one frame.
struct ReportCase : test::NamedCase<ReportCase> {
    std::vector<double> samples;
    StatusCode status;
    bool measured;
};

class ReportedCpps : public ::testing::TestWithParam<ReportCase> {};

TEST_P(ReportedCpps, IsThatOfTheWholeRecordingWhenThereIsSound) {
    const ReportCase& c = GetParam();
    constexpr std::int32_t Rate = 16000;
    const VoiceReport report = ReportVoice(c.samples, Rate, std::nullopt, 2);
    EXPECT_EQ(report.Outcome.Code, c.status) << report.Outcome.Text;
    if (!c.measured) {
        EXPECT_EQ(report.CppsDb, std::nullopt);
        return;
    }
    ASSERT_TRUE(report.CppsDb.has_value()) << report.Outcome.Text;
    EXPECT_EQ(*report.CppsDb, Cpps(c.samples, Rate));
}

std::vector<double> Vowel(double seconds, double hnrDb) {
    return tools::GenerateVowel(
               {.Rate = 16000, .F0 = 130, .HnrDb = hnrDb, .Seconds = seconds, .Silence = 0.05})
        .Samples;
}

INSTANTIATE_TEST_SUITE_P(
    Table, ReportedCpps,
    ::testing::Values(ReportCase{"AClearVowel", Vowel(1, 30), StatusCode::Ok, true},
                      ReportCase{"NoiseWithoutAVoice", WhiteNoise(16000), StatusCode::Unvoiced,
                                 true},
                      ReportCase{"Silence", std::vector<double>(16000), StatusCode::Silent, false},
                      ReportCase{"ASoundShorterThanAFrame", std::vector<double>(1200, 0.3),
                                 StatusCode::TooShort, false}),
    test::CaseName());

TEST(SmoothedCepstralPeakProminence, NeedsOneWholeFrameAndAPositiveRate) {
    EXPECT_EQ(SmoothedCepstralPeakProminence(std::vector<double>(999, 0.1), 10000), std::nullopt);
    EXPECT_TRUE(SmoothedCepstralPeakProminence(std::vector<double>(1000, 0.1), 10000));
    EXPECT_THROW(SmoothedCepstralPeakProminence(std::vector<double>(1000, 0.1), 0), TesmeraError);
}

// Means of the ramp v[i] = i (five samples) over windows of half-width 2.5,
// with the curve defined on [lowest, highest].
struct RampCase : test::NamedCase<RampCase> {
    double lowest;
    double highest;
    std::vector<double> means;
};

class MovingMeanOfARamp : public ::testing::TestWithParam<RampCase> {};

TEST_P(MovingMeanOfARamp, AveragesTheInterpolatedCurve) {
    const RampCase& c = GetParam();
    const MovingMeanTable mean(MovingMean(5, 2.5, c.lowest, c.highest));
    const std::vector<double> ramp{0, 1, 2, 3, 4};
    std::vector<double> out(5);
    mean.Apply(ramp, out);
    for (std::size_t i = 0; i < out.size(); ++i) {
        EXPECT_NEAR(out[i], c.means[i], 1e-12) << "at " << i;
    }
}

// With the constant half samples at both ends, the window around 0 covers
// [−0.5, 2.5]: area 0 (the first half sample) + 2.5²/2 over a length of 3;
// around 1, [−0.5, 3.5]: the line's mean 1.5 plus the 0.125 that the flat
// half sample lies above the line, over 4. Clipped to [0, 4], each mean is
// the middle of the part of the line the window keeps.
INSTANTIATE_TEST_SUITE_P(
    Table, MovingMeanOfARamp,
    ::testing::Values(RampCase{"BeyondTheEndSamples",
                               -10,
                               10,
                               {3.125 / 3, 1.5 + 0.125 / 4, 2, 2.5 - 0.125 / 4, 4 - 3.125 / 3}},
                      RampCase{"WithinTheEndSamples", 0, 4, {1.25, 1.75, 2, 2.25, 2.75}}),
    test::CaseName());

TEST(BandLimitedResample, KeepsTheBandBelowHalfTheNewRateAndNothingAbove) {
    constexpr double Rate = 44100;
    std::vector<double> kept(44100);
    std::vector<double> removed(44100);
    for (std::size_t i = 0; i < kept.size(); ++i) {
        const double t = (static_cast<double>(i) + 0.5) / Rate;
        kept[i] = std::sin(2 * std::numbers::pi * 1000 * t);
        removed[i] = std::sin(2 * std::numbers::pi * 7000 * t);
    }
    const TimedSamples low = BandLimitedResample(kept, Rate, 10000);
    const TimedSamples high = BandLimitedResample(removed, Rate, 10000);
    ASSERT_EQ(low.Samples.size(), 10000U);
    EXPECT_NEAR(low.FirstTime, 0.5e-4, 1e-15);
    // Away from the ends, where the abrupt start and stop ring.
    for (std::size_t k = 1000; k < 9000; ++k) {
        const double t = low.FirstTime + static_cast<double>(k) / 10000;
        ASSERT_NEAR(low.Samples[k], std::sin(2 * std::numbers::pi * 1000 * t), 1e-3) << k;
        ASSERT_NEAR(high.Samples[k], 0, 1e-3) << k;
    }
}

}  // namespace
}  // namespace tesmera
