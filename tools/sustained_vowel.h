// SPDX-License-Identifier: GPL-3.0-or-later
// Synthetic sustained vowels with known perturbation, for tests, benchmarks
// and the comparison with a peer voice tool: silence, a faded-in voice whose
// periods and period amplitudes vary at random by stated amounts, a fade-out
// and silence again, with noise at a stated harmonics-to-noise ratio
// throughout the voice. Besides the steady voice, a recipe can ask for the
// kinds a clinic meets: a slow F0 drift, tremor, breathiness, a register
// jump, a fall into creak, diplophonia, a pure tone, a whisper, and two
// voices at once.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tesmera::tools {

// What makes the sound. A pure tone is the voice's fundamental alone, with
// the same period and amplitude perturbation; a whisper has no periodic
// source at all: white noise through the resonances of the vowel /a/.
enum class VowelSource { Voice, PureTone, Whisper };

// The noise mixed into a voice. White noise is flat and independent of the
// cycle; aspiration noise, as the turbulence at a leaky glottis, falls off
// with frequency about as the harmonics do and swells and ebbs with each
// glottal cycle, so a breathy voice sounds like one.
enum class VowelNoise { White, Aspiration };

// Every field past Seed changes nothing at its default, so a recipe that
// leaves them alone gives the same samples as before they existed.
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

    VowelSource Source = VowelSource::Voice;
    VowelNoise Noise = VowelNoise::White;
    // F0 rises linearly by this fraction from the voice's start to its end,
    // centred on F0: 0.03 goes from 0.985·F0 to 1.015·F0.
    double Drift = 0;
    // Tremor: F0 swings by ±TremorDepth (a fraction) at TremorHz, and the
    // amplitude by ±TremorAmplitude at the same rate and phase.
    double TremorDepth = 0;
    double TremorHz = 0;
    double TremorAmplitude = 0;
    // A register change: F0 is multiplied by JumpFactor from JumpAt seconds
    // of the voice on (2 is an octave up, 0.5 an octave down).
    double JumpAt = 0;
    double JumpFactor = 1;
    // Creak: the last CreakShare of the voice glides within 50 ms down to
    // vocal fry around CreakF0 Hz, whose periods vary irregularly (by about
    // 15 %) and whose pulses die away within each period.
    double CreakShare = 0;
    double CreakF0 = 45;
    // Diplophonia: every other period is longer by this fraction and the
    // ones between shorter by as much; every other amplitude likewise.
    double AlternatePeriods = 0;
    double AlternateAmplitudes = 0;
    // Two voices: a second, independent vowel of this F0 (0 for none) and
    // otherwise the same recipe, mixed in at the same level; each then has
    // half the peak.
    double SecondF0 = 0;
};

struct GeneratedVowel {
    std::int32_t Rate = 0;
    std::vector<double> Samples;  // full scale is ±1
    // Seconds: each period of the (first) voice begins with a rising zero
    // crossing. Empty for a whisper.
    std::vector<double> PeriodStarts;
};

// The same recipe always gives the same samples. Each period k has its own
// length T·(1 + σ_J·e_k) and amplitude A·(1 + σ_S·g_k), e_k and g_k standard
// normal, σ = fraction·√π/2 so that the expected |difference| of consecutive
// values is the stated fraction; T follows the F0 contour (drift, tremor,
// jump, creak) at the period's start. Its waveform is a sum of harmonics
// with amplitudes falling as 1/h^1.5 (below 0.45 of the rate), each starting
// at phase 0, so period boundaries fall on zero crossings and amplitude
// steps leave the waveform continuous.
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
