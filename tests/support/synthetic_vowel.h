// SPDX-License-Identifier: GPL-3.0-or-later
// A synthetic sustained vowel: silence, then a steady voiced stretch, then
// silence, with its harmonics stated, for the extraction tests.
#pragma once

#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "analysis/fourier_apr.h"
#include "recording/sound_input.h"
#include "tools/sustained_vowel.h"

namespace tesmera::test {

struct VowelRecipe {
    double f0;            // Hz
    std::int32_t rate;    // Hz
    double onset = 0.25;  // seconds of silence before the vowel
    double length = 0.8;  // seconds of vowel
    double tail = 0.25;   // seconds of silence after it
};

// Amplitudes of harmonics 1..6 (full scale 1), each a sine of phase 0 at
// the start, so every period starts with a rising zero crossing at
// t = onset + n / f0 (the slope there, Σ k·a_k, is the steepest).
constexpr double VowelAmplitudes[] = {0.3, 0.18, 0.12, 0.075, 0.045, 0.03};

// Harmonics 1..6 normalised to a unit norm, as the score models see them.
inline std::vector<double> VowelNormalisedAmplitudes() {
    double norm = 0;
    for (const double a : VowelAmplitudes) {
        norm += a * a;
    }
    std::vector<double> normalised;
    for (const double a : VowelAmplitudes) {
        normalised.push_back(a / std::sqrt(norm));
    }
    return normalised;
}

// The vowel with a little white noise (about −66 dBFS) everywhere.
inline MonoRecording SyntheticVowel(const VowelRecipe& vowel) {
    std::mt19937 generator(7);
    std::normal_distribution<double> noise(0, 5e-4);
    const auto count =
        static_cast<std::size_t>((vowel.onset + vowel.length + vowel.tail) * vowel.rate);
    MonoRecording recording{vowel.rate, {}};
    for (std::size_t i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / vowel.rate - vowel.onset;
        double value = noise(generator);
        if (t >= 0 && t < vowel.length) {
            for (int k = 1; k <= 6; ++k) {
                value += VowelAmplitudes[k - 1] *
                         std::sin(static_cast<double>(TwoPi) * k * vowel.f0 * t);
            }
        }
        recording.Samples.push_back(value);
    }
    return recording;
}

// Writes a recording as a 16-bit PCM WAV file; throws when it cannot.
inline void WriteRecording(const std::string& path, const MonoRecording& recording) {
    tools::WriteMonoWav(path, recording.SampleRate, recording.Samples);
}

}  // namespace tesmera::test
