// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/sustained_vowel.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <random>
#include <stdexcept>

namespace tesmera::tools {

namespace {

constexpr double HighestHarmonicShare = 0.45;  // of the rate
constexpr int MostHarmonics = 40;

// σ of a normal variable whose consecutive independent draws differ by
// `meanDifference` on average: E|X − Y| = 2σ/√π.
double SpreadFor(double meanDifference) {
    return meanDifference * std::sqrt(std::numbers::pi) / 2;
}

std::vector<double> HarmonicAmplitudes(const VowelRecipe& recipe) {
    std::vector<double> amplitudes;
    for (int h = 1; h <= MostHarmonics && h * recipe.F0 < HighestHarmonicShare * recipe.Rate; ++h) {
        amplitudes.push_back(std::pow(h, -1.5));
    }
    return amplitudes;
}

double Envelope(const VowelRecipe& recipe, double t) {
    const double in = std::clamp(t / recipe.Fade, 0.0, 1.0);
    const double out = std::clamp((recipe.Seconds - t) / recipe.Fade, 0.0, 1.0);
    return std::min(in, out);
}

}  // namespace

GeneratedVowel GenerateVowel(const VowelRecipe& recipe) {
    std::mt19937 generator(recipe.Seed);
    std::normal_distribution<double> normal(0, 1);
    const std::vector<double> harmonics = HarmonicAmplitudes(recipe);
    double peakOfSum = 0;  // the waveform's peak at unit amplitude, measured on a grid
    for (int i = 0; i < 1000; ++i) {
        double v = 0;
        for (std::size_t h = 0; h < harmonics.size(); ++h) {
            v += harmonics[h] * std::sin(2 * std::numbers::pi * (h + 1) * i / 1000.0);
        }
        peakOfSum = std::max(peakOfSum, std::fabs(v));
    }
    const double gain = recipe.Peak / peakOfSum;
    const double rate = recipe.Rate;
    const auto silence = static_cast<std::size_t>(recipe.Silence * rate);
    const auto voiced = static_cast<std::size_t>(recipe.Seconds * rate);

    GeneratedVowel vowel;
    vowel.Rate = recipe.Rate;
    vowel.Samples.assign(2 * silence + voiced, 0.0);
    double periodStart = 0;  // seconds from the voice's start
    double power = 0;
    while (periodStart < recipe.Seconds) {
        const double length =
            std::max(0.2, 1 + SpreadFor(recipe.Jitter) * normal(generator)) / recipe.F0;
        const double amplitude =
            gain * std::max(0.1, 1 + SpreadFor(recipe.Shimmer) * normal(generator));
        vowel.PeriodStarts.push_back(recipe.Silence + periodStart);
        const auto first = static_cast<std::size_t>(std::ceil(periodStart * rate));
        const auto end =
            std::min(voiced, static_cast<std::size_t>(std::ceil((periodStart + length) * rate)));
        for (std::size_t i = first; i < end; ++i) {
            const double t = i / rate;
            const double phase = 2 * std::numbers::pi * (t - periodStart) / length;
            double v = 0;
            for (std::size_t h = 0; h < harmonics.size(); ++h) {
                v += harmonics[h] * std::sin((h + 1) * phase);
            }
            v *= amplitude * Envelope(recipe, t);
            vowel.Samples[silence + i] = v;
            power += v * v;
        }
        periodStart += length;
    }
    const double noise = std::sqrt(power / voiced / std::pow(10, recipe.HnrDb / 10));
    for (std::size_t i = 0; i < voiced; ++i) {
        vowel.Samples[silence + i] += noise * Envelope(recipe, i / rate) * normal(generator);
    }
    return vowel;
}

void WriteMonoSound(const std::string& path, std::int32_t rate, const std::vector<double>& samples,
                    MonoFormat format) {
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = 1;
    info.format =
        (format == MonoFormat::Flac16 ? SF_FORMAT_FLAC : SF_FORMAT_WAV) | SF_FORMAT_PCM_16;
    const std::unique_ptr<SNDFILE, int (*)(SNDFILE*)> file(sf_open(path.c_str(), SFM_WRITE, &info),
                                                           sf_close);
    if (!file) {
        throw std::runtime_error("cannot write " + path + ": " + sf_strerror(nullptr));
    }
    const auto count = static_cast<sf_count_t>(samples.size());
    if (sf_writef_double(file.get(), samples.data(), count) != count) {
        throw std::runtime_error("cannot write the samples of " + path);
    }
}

}  // namespace tesmera::tools
