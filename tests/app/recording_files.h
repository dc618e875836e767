// SPDX-License-Identifier: GPL-3.0-or-later
// Recordings written for the window tests: a voiced sustained vowel with
// stated perturbation, silence and noise, as 16-bit WAV files.
#pragma once

#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "support/TempFolder.h"
#include "support/wav_test_support.h"
#include "tools/sustained_vowel.h"

namespace tesmera::testing {

// A steady vowel at 150 Hz, 0.2 s of silence on each side of 1 s of voice.
inline std::string AddVowel(const test::TempFolder& folder, const std::string& name,
                            tools::VowelRecipe recipe = {}) {
    const std::string path = (folder.Path() / name).string();
    tools::WriteVowel(path, tools::GenerateVowel(recipe));
    return path;
}

// A rough voice: 3 % jitter, 12 % shimmer and a harmonics-to-noise ratio
// of 8 dB.
inline tools::VowelRecipe RoughVoice() {
    return {.F0 = 130, .Jitter = 0.03, .Shimmer = 0.12, .HnrDb = 8, .Seed = 5};
}

// `count` samples of 16-bit mono PCM at 44100 Hz behind the canonical header.
inline std::string AddSamples(const test::TempFolder& folder, const std::string& name,
                              std::vector<std::int16_t> samples, std::int32_t rate = 44100) {
    return folder.Add(name, test::CanonicalWav(samples, rate));
}

inline std::vector<std::int16_t> WhiteNoise(std::size_t count) {
    std::mt19937 generator(11);
    std::uniform_int_distribution<int> value(-8000, 8000);
    std::vector<std::int16_t> samples(count);
    for (std::int16_t& s : samples) {
        s = static_cast<std::int16_t>(value(generator));
    }
    return samples;
}

// One period of a two-harmonic wave, `count` samples long.
inline std::vector<std::int16_t> Period(std::size_t count) {
    std::vector<std::int16_t> samples(count);
    for (std::size_t i = 0; i < count; ++i) {
        const double phase = 6.283185307179586 * static_cast<double>(i) / count;
        samples[i] =
            static_cast<std::int16_t>(12000 * std::sin(phase) + 4000 * std::sin(2 * phase));
    }
    return samples;
}

}  // namespace tesmera::testing
