// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/reading_sample.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <random>

namespace tesmera::tools {

namespace {

struct VowelFormants {
    double F1;
    double F2;
};
// /a/, /e/, /i/, /o/, /u/ of an adult voice.
constexpr std::array<VowelFormants, 5> Vowels{
    {{700, 1220}, {500, 1900}, {300, 2300}, {500, 900}, {320, 870}}};
constexpr double FormantBandwidth = 90;   // Hz
constexpr double FricativeCentre = 4500;  // Hz, a /s/-like hiss
constexpr double FricativeBandwidth = 2000;
constexpr double FricativeLevel = 0.3;            // of the voice's peak
constexpr double NoiseFloor = 0.0003;             // full scale: a quiet room
constexpr double SyllableFade = 0.03;             // seconds
constexpr std::uint32_t LayoutSeed = 0x9e3779b9;  // mixed into the seed for the layout

// A two-pole resonance with unit gain at 0 Hz, whose centre may move from
// sample to sample.
class MovingResonator {
  public:
    MovingResonator(double bandwidth, double rate)
        : radius_(std::exp(-std::numbers::pi * bandwidth / rate)), rate_(rate) {}

    double operator()(double x, double centre) {
        const double b = 2 * radius_ * std::cos(2 * std::numbers::pi * centre / rate_);
        const double c = -radius_ * radius_;
        const double y = (1 - b - c) * x + b * y1_ + c * y2_;
        y2_ = y1_;
        y1_ = y;
        return y;
    }

  private:
    double radius_;
    double rate_;
    double y1_ = 0;
    double y2_ = 0;
};

void ScalePeak(std::vector<double>& samples, double peak) {
    double highest = 0;
    for (const double v : samples) {
        highest = std::max(highest, std::fabs(v));
    }
    for (double& v : samples) {
        v *= highest > 0 ? peak / highest : 0;
    }
}

// One voiced syllable: the recipe's voice gliding by `glide` (a fraction of
// F0) and moving from vowel `from` to vowel `to`.
std::vector<double> Syllable(const VowelRecipe& voice, double seconds, double f0, double glide,
                             const VowelFormants& from, const VowelFormants& to,
                             std::uint32_t seed) {
    VowelRecipe recipe = voice;
    recipe.F0 = f0;
    recipe.Drift = glide;
    recipe.Seconds = seconds;
    recipe.Silence = 0;
    recipe.Fade = SyllableFade;
    recipe.Seed = seed;
    std::vector<double> samples = GenerateVowel(recipe).Samples;
    MovingResonator first(FormantBandwidth, voice.Rate);
    MovingResonator second(FormantBandwidth, voice.Rate);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const double share = static_cast<double>(i) / static_cast<double>(samples.size());
        const double f1 = from.F1 + share * (to.F1 - from.F1);
        const double f2 = from.F2 + share * (to.F2 - from.F2);
        samples[i] = second(first(samples[i], f1), f2);
    }
    ScalePeak(samples, voice.Peak);
    return samples;
}

// A voiceless hiss with raised-cosine ends.
std::vector<double> Fricative(const VowelRecipe& voice, double seconds, std::mt19937& random) {
    std::normal_distribution<double> normal(0, 1);
    const auto count = static_cast<std::size_t>(seconds * voice.Rate);
    const double centre = std::min(FricativeCentre, 0.4 * voice.Rate);
    MovingResonator hiss(FricativeBandwidth, voice.Rate);
    std::vector<double> samples(count);
    double previous = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const double white = normal(random);
        const double shape =
            std::sin(std::numbers::pi * static_cast<double>(i) / static_cast<double>(count));
        samples[i] = hiss(white - previous, centre) * shape;  // differenced: no low end
        previous = white;
    }
    ScalePeak(samples, FricativeLevel * voice.Peak);
    return samples;
}

}  // namespace

std::vector<double> GenerateReading(const VowelRecipe& voice) {
    std::mt19937 random(voice.Seed ^ LayoutSeed);
    std::uniform_real_distribution<double> unit(0, 1);
    const auto silence = static_cast<std::size_t>(voice.Silence * voice.Rate);
    std::vector<double> speech(silence, 0.0);
    std::size_t vowel = 0;
    for (std::uint32_t syllable = 0; speech.size() < silence + voice.Seconds * voice.Rate;
         ++syllable) {
        const double seconds = 0.15 + 0.2 * unit(random);
        const double f0 = voice.F0 * (0.9 + 0.2 * unit(random));
        const double glide = 0.5 * unit(random) - 0.25;
        const std::size_t next =
            (vowel + 1 + static_cast<std::size_t>(3 * unit(random))) % Vowels.size();
        const std::vector<double> voiced = Syllable(voice, seconds, f0, glide, Vowels[vowel],
                                                    Vowels[next], voice.Seed * 977 + syllable);
        speech.insert(speech.end(), voiced.begin(), voiced.end());
        vowel = next;
        // Between syllables, in turn: a fricative, a pause, or nothing.
        if (syllable % 3 == 0) {
            const std::vector<double> hiss = Fricative(voice, 0.08 + 0.07 * unit(random), random);
            speech.insert(speech.end(), hiss.begin(), hiss.end());
        } else if (syllable % 3 == 1) {
            speech.resize(
                speech.size() + static_cast<std::size_t>((0.2 + 0.2 * unit(random)) * voice.Rate),
                0.0);
        }
    }
    speech.resize(speech.size() + silence, 0.0);
    std::normal_distribution<double> normal(0, NoiseFloor);
    for (double& v : speech) {
        v += normal(random);
    }
    return speech;
}

}  // namespace tesmera::tools
