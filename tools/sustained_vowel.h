// SPDX-License-Identifier: GPL-3.0-or-later
// Synthetic sustained vowels with known perturbation, for tests, benchmarks
// and the comparison with a peer voice tool: silence, a faded-in steady
// voice whose periods and period amplitudes vary at random by stated
// amounts, a fade-out and silence again, with white noise at a stated
// harmonics-to-noise ratio throughout the voice.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tesmera::tools {

struct VowelRecipe {
    std::int32_t Rate = 44100;  // Hz
    double F0 = 150;            // Hz, the mean of the periods' frequencies
    // Mean absolute difference of consecutive periods (and period peak
    // amplitudes), as a fraction of the mean: 0.01 is 1 %.
    double Jitter = 0;
    double Shimmer = 0;
    double HnrDb = 80;     // voice power over noise power, dB
    double Seconds = 1;    // of voice, fades included
    double Silence = 0.2;  // seconds before and after the voice
    double Fade = 0.05;    // seconds of fade-in and fade-out
    double Peak = 0.5;     // about the largest sample, full scale 1
    std::uint32_t Seed = 1;
};

struct GeneratedVowel {
    std::int32_t Rate = 0;
    std::vector<double> Samples;       // full scale is ±1
    std::vector<double> PeriodStarts;  // seconds: each period begins with a rising zero crossing
};

// The same recipe always gives the same samples. Each period k has its own
// length T·(1 + σ_J·e_k) and amplitude A·(1 + σ_S·g_k), e_k and g_k standard
// normal, σ = fraction·√π/2 so that the expected |difference| of consecutive
// values is the stated fraction. Its waveform is a sum of harmonics with
// amplitudes falling as 1/h^1.5 (below 0.45 of the rate), each starting at
// phase 0, so period boundaries fall on zero crossings and amplitude steps
// leave the waveform continuous.
GeneratedVowel GenerateVowel(const VowelRecipe& recipe);

enum class MonoFormat { Wav16, Flac16 };  // 16-bit PCM in a WAV or FLAC file

// Writes mono samples (full scale ±1; keep them within it, as a sample
// beyond it wraps round to the other sign) through libsndfile;
// throws std::runtime_error when the file or its samples cannot be written.
void WriteMonoSound(const std::string& path, std::int32_t rate, const std::vector<double>& samples,
                    MonoFormat format);

inline void WriteMonoWav(const std::string& path, std::int32_t rate,
                         const std::vector<double>& samples) {
    WriteMonoSound(path, rate, samples, MonoFormat::Wav16);
}

inline void WriteVowel(const std::string& path, const GeneratedVowel& vowel) {
    WriteMonoWav(path, vowel.Rate, vowel.Samples);
}

}  // namespace tesmera::tools
