// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/autocorrelation.h"

#include <cmath>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "recording/pitch.h"
#include "support/param_name.h"
#include "support/synthetic_vowel.h"

namespace tesmera {
namespace {

// The sums taken one lag at a time: slow, and plainly right.
std::vector<double> DirectAutocorrelation(std::span<const double> x, std::size_t maxLag) {
    std::vector<double> r(maxLag + 1, 0.0);
    for (std::size_t lag = 0; lag <= maxLag; ++lag) {
        double cross = 0;
        double head = 0;
        double tail = 0;
        for (std::size_t i = 0; i + lag < x.size(); ++i) {
            cross += x[i] * x[i + lag];
            head += x[i] * x[i];
            tail += x[i + lag] * x[i + lag];
        }
        r[lag] = head > 0 && tail > 0 ? cross / std::sqrt(head * tail) : 0;
    }
    return r;
}

constexpr double TrackingRate = 11025;

std::vector<double> Vowel(double f0) {
    return test::SyntheticVowel({f0, static_cast<std::int32_t>(TrackingRate), 0.1, 0.3, 0.1})
        .Samples;
}

std::vector<double> Noise(std::size_t count, unsigned seed) {
    std::mt19937 generator(seed);
    std::normal_distribution<double> normal(0, 0.2);
    std::vector<double> samples(count);
    for (double& s : samples) {
        s = normal(generator);
    }
    return samples;
}

// A tone that stops halfway: the energy after late lags is only the noise
// floor, where a difference of running sums would lose every digit.
std::vector<double> ToneThatStops() {
    std::vector<double> samples = Noise(2000, 3);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        samples[i] = i < 1000 ? 0.5 * std::sin(0.05 * static_cast<double>(i)) : samples[i] * 1e-9;
    }
    return samples;
}

std::vector<double> ImpulseTrain(std::size_t count, std::size_t period) {
    std::vector<double> samples(count, 0.0);
    for (std::size_t i = 0; i < count; i += period) {
        samples[i] = 1;
    }
    return samples;
}

struct Signal : test::NamedCase<Signal> {
    std::vector<double> (*samples)();  // made when the case runs
};

const Signal Signals[] = {
    {"Vowel98Hz", [] { return Vowel(98.5); }},
    {"Vowel210Hz", [] { return Vowel(210.3); }},
    {"Vowel455Hz", [] { return Vowel(455.0); }},
    {"Vowel990Hz", [] { return Vowel(990.0); }},
    {"WhiteNoise", [] { return Noise(5000, 1); }},
    {"ToneThatStops", ToneThatStops},
    {"ImpulseTrain", [] { return ImpulseTrain(3000, 97); }},
    {"Silence", [] { return std::vector<double>(3000, 0.0); }},
    {"OneSample", [] { return std::vector<double>{0.25}; }},
    {"TwoSamples",
     [] {
         return std::vector<double>{0.25, -0.5};
     }},
    {"Empty", [] { return std::vector<double>{}; }},
};

class AutocorrelationOf : public ::testing::TestWithParam<Signal> {};

TEST_P(AutocorrelationOf, AgreesWithTheDirectSumsAtEveryLag) {
    const std::vector<double> x = GetParam().samples();
    // Past the signal's end too: lags without overlap are 0.
    const std::size_t maxLag = std::min<std::size_t>(x.size() + 2, 400);
    const std::vector<double> reference = DirectAutocorrelation(x, maxLag);
    for (const auto& [method, correlate] :
         {std::pair<const char*, AutocorrelationFunction>{"transform", NormalisedAutocorrelation},
          {"lag by lag", DirectNormalisedAutocorrelation}}) {
        const std::vector<double> r = correlate(x, maxLag);
        ASSERT_EQ(r.size(), reference.size()) << method;
        for (std::size_t lag = 0; lag <= maxLag; ++lag) {
            EXPECT_NEAR(r[lag], reference[lag], 1e-12) << method << ", lag " << lag;
        }
    }
}

TEST_P(AutocorrelationOf, GivesTheSameVoicingAsTheDirectSums) {
    const std::vector<double> x = GetParam().samples();
    const std::vector<VoicingFrame> fast = AnalyseVoicing(x, TrackingRate);
    const std::vector<VoicingFrame> direct = AnalyseVoicing(x, TrackingRate, DirectAutocorrelation);
    ASSERT_EQ(fast.size(), direct.size());
    for (std::size_t i = 0; i < fast.size(); ++i) {
        EXPECT_EQ(fast[i].Voiced, direct[i].Voiced) << "frame " << i;
        EXPECT_NEAR(fast[i].F0, direct[i].F0, 1e-9 * direct[i].F0) << "frame " << i;
        EXPECT_NEAR(fast[i].Strength, direct[i].Strength, 1e-12) << "frame " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Signals, AutocorrelationOf, ::testing::ValuesIn(Signals),
                         test::CaseName());

TEST(Autocorrelation, FindsTheVowelsPitch) {
    const std::vector<VoicingFrame> frames = AnalyseVoicing(Vowel(210.3), TrackingRate);
    std::size_t voiced = 0;
    for (const VoicingFrame& frame : frames) {
        if (frame.Voiced) {
            ++voiced;
            EXPECT_NEAR(frame.F0, 210.3, 2.0) << "at " << frame.Time << " s";
        }
    }
    EXPECT_GE(voiced, 20U);
}

}  // namespace
}  // namespace tesmera
