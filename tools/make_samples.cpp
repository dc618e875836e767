// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the bundled voice files: one period each of a synthetic vowel, a
// glottal pulse train shaped by formant resonators, at 44100 Hz, 16-bit mono
// behind the canonical header. Grades 1 (clean) to 5 (very rough) follow the
// amount of jitter, shimmer and aspiration noise mixed in.
//
// Beside them, in recordings/, it writes one second of a sustained vowel as a
// microphone would capture it (48000 Hz, silence around it, a natural wobble
// in pitch), for cutting a period out with the command line's extract.
//
// Usage: make_samples <output folder>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <numbers>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "wave/peak_scaling.h"
#include "wave/sample_reader.h"
#include "wave/voice_period.h"
#include "wave/wave_header.h"

namespace tesmera {
namespace {

constexpr double PeriodSampleRate = NominalSampleRate;
// Periods synthesised before the one that is kept, so the resonators have
// left their start-up transient behind.
constexpr int LeadInPeriods = 12;
// Every one of the harmonics 1 to 6 must carry at least this share of the
// strongest of them, or the score models would see an empty coefficient.
constexpr double MinHarmonicShare = 0.002;
constexpr int CheckedHarmonics = 6;

struct Formant {
    double frequency;  // Hz
    double bandwidth;  // Hz
};
using VowelFormants = std::array<Formant, 4>;

// Typical adult formants.
constexpr VowelFormants MaleA{{{730, 90}, {1090, 110}, {2440, 170}, {3400, 250}}};
constexpr VowelFormants FemaleA{{{850, 100}, {1220, 120}, {2810, 170}, {3800, 250}}};
constexpr VowelFormants MaleI{{{270, 60}, {2290, 100}, {3010, 170}, {3500, 250}}};
constexpr VowelFormants FemaleI{{{310, 70}, {2790, 110}, {3310, 170}, {4000, 250}}};
constexpr VowelFormants MaleU{{{300, 60}, {870, 90}, {2240, 150}, {3300, 250}}};
constexpr VowelFormants FemaleE{{{610, 80}, {2330, 110}, {2990, 170}, {4000, 250}}};
constexpr VowelFormants MaleO{{{570, 80}, {840, 90}, {2410, 160}, {3400, 250}}};

struct VoiceRecipe {
    const char* fileName;  // the last digit before the extension is the grade
    VowelFormants formants;
    double fundamental;  // Hz
    double roughness;    // 0 (clean) to 1 (very rough)
    double peak;         // largest absolute sample value
    unsigned seed;
};

constexpr std::array<VoiceRecipe, 7> Recipes{{
    {"vowel_a_male1.wav", MaleA, 110, 0.0, 16000, 1},
    {"vowel_i_female2.wav", FemaleI, 220, 0.15, 12000, 2},
    {"vowel_u_male2.wav", MaleU, 100, 0.2, 9000, 3},
    {"vowel_a_female3.wav", FemaleA, 250, 0.4, 14000, 4},
    {"vowel_e_female4.wav", FemaleE, 300, 0.65, 11000, 5},
    {"vowel_o_male4.wav", MaleO, 130, 0.7, 18000, 6},
    {"vowel_i_male5.wav", MaleI, 150, 1.0, 10000, 7},
}};

// Second-order resonator with unit gain at 0 Hz.
class Resonator {
  public:
    Resonator(const Formant& formant, double sampleRate) {
        const double r = std::exp(-std::numbers::pi * formant.bandwidth / sampleRate);
        b_ = 2.0 * r * std::cos(2.0 * std::numbers::pi * formant.frequency / sampleRate);
        c_ = -r * r;
        a_ = 1.0 - b_ - c_;
    }

    double Step(double x) {
        const double y = a_ * x + b_ * y1_ + c_ * y2_;
        y2_ = y1_;
        y1_ = y;
        return y;
    }

  private:
    double a_, b_, c_;
    double y1_ = 0.0, y2_ = 0.0;
};

// The formant resonators of one vowel in series, fed one source sample at a
// time.
class VocalTract {
  public:
    VocalTract(const VowelFormants& formants, double sampleRate) {
        for (const Formant& formant : formants) {
            resonators_.emplace_back(formant, sampleRate);
        }
    }

    double Step(double source) {
        for (Resonator& resonator : resonators_) {
            source = resonator.Step(source);
        }
        return source;
    }

  private:
    std::vector<Resonator> resonators_;
};

// Uniform values in [-1, 1]. The Mersenne Twister's output is fixed by the
// standard (unlike the library's distributions), so the files come out the
// same everywhere.
class Noise {
  public:
    explicit Noise(unsigned seed) : generator_(seed) {}
    double Next() {
        return 2.0 * static_cast<double>(generator_()) / static_cast<double>(std::mt19937::max()) -
               1.0;
    }

  private:
    std::mt19937 generator_;
};

// Derivative of the Rosenberg glottal flow at `phase` (0..1 of a period):
// a raised-cosine opening over 40 % of the period, a quarter-cosine closing
// over 16 % that ends abruptly (the source of the higher harmonics), then
// closed. Unit: flow per period.
double GlottalFlowDerivative(double phase) {
    constexpr double Opening = 0.40;
    constexpr double Closing = 0.16;
    constexpr double pi = std::numbers::pi;
    if (phase < Opening) {
        return 0.5 * pi / Opening * std::sin(pi * phase / Opening);
    }
    if (phase < Opening + Closing) {
        return -0.5 * pi / Closing * std::sin(0.5 * pi * (phase - Opening) / Closing);
    }
    return 0.0;
}

// One period of the voice after the lead-in; the earlier periods vary in
// length (jitter) and strength (shimmer) with the roughness.
std::vector<double> SynthesizePeriod(const VoiceRecipe& recipe) {
    const auto periodLength = static_cast<int>(std::lround(PeriodSampleRate / recipe.fundamental));
    Noise noise(recipe.seed);
    VocalTract tract(recipe.formants, PeriodSampleRate);
    const double jitter = 0.04 * recipe.roughness;
    const double shimmer = 0.25 * recipe.roughness;
    const double aspiration = 6.0 * recipe.roughness;

    std::vector<double> period(static_cast<std::size_t>(periodLength));
    for (int p = 0; p <= LeadInPeriods; ++p) {
        const bool kept = p == LeadInPeriods;
        const int length =
            kept ? periodLength
                 : static_cast<int>(std::lround(periodLength * (1.0 + jitter * noise.Next())));
        const double gain = 1.0 + shimmer * noise.Next();
        for (int i = 0; i < length; ++i) {
            const double source = gain * GlottalFlowDerivative(static_cast<double>(i) / length) +
                                  aspiration * noise.Next();
            const double value = tract.Step(source);
            if (kept) {
                period[static_cast<std::size_t>(i)] = value;
            }
        }
    }
    return period;
}

// A steady vowel as sung into a microphone: quiet lead-in and tail, a soft
// onset and release, a slow vibrato and a little jitter, shimmer and breath.
struct SustainedVowel {
    const char* fileName;  // relative to the output folder
    VowelFormants formants;
    std::int32_t sampleRate;  // Hz; not the nominal rate, so extract has to resample
    double fundamental;       // Hz, the centre of the vibrato
    double leadSilence;       // s
    double voiced;            // s, including the onset and release ramps
    double tailSilence;       // s
    double peak;              // largest absolute sample value of the voice
    int hiss;                 // largest absolute value of the background noise
    unsigned seed;
};

constexpr SustainedVowel SampleRecording{
    "recordings/sustained_a_male.wav", MaleA, 48000, 120, 0.15, 0.70, 0.15, 20000, 3, 11};

constexpr double VibratoRate = 5.5;     // Hz
constexpr double VibratoDepth = 0.012;  // share of F0, either way
constexpr double RecordingJitter = 0.004;
constexpr double RecordingShimmer = 0.03;
constexpr double RecordingAspiration = 0.15;
constexpr double RampSeconds = 0.06;

// Raised-cosine rise over the first and fall over the last RampSeconds of
// the voiced stretch; 0 outside it.
double VoicingEnvelope(double t, double voiced) {
    if (t < 0.0 || t > voiced) {
        return 0.0;
    }
    const double edge = std::min(t, voiced - t);
    if (edge >= RampSeconds) {
        return 1.0;
    }
    return 0.5 - 0.5 * std::cos(std::numbers::pi * edge / RampSeconds);
}

// The whole recording, unscaled; silence is exactly 0 here. Each new glottal
// cycle draws its own frequency (vibrato times jitter) and strength.
std::vector<double> SynthesizeSustainedVowel(const SustainedVowel& recipe) {
    const double rate = recipe.sampleRate;
    const auto total = static_cast<std::size_t>(
        std::lround(rate * (recipe.leadSilence + recipe.voiced + recipe.tailSilence)));
    const auto voicedStart = static_cast<std::size_t>(std::lround(rate * recipe.leadSilence));
    std::vector<double> recording(total, 0.0);
    Noise noise(recipe.seed);
    VocalTract tract(recipe.formants, rate);
    double phase = 0.0;  // 0..1 of the current glottal cycle
    double frequency = recipe.fundamental;
    double gain = 1.0;
    // The tract keeps running through the tail so the last cycle rings out.
    for (std::size_t i = voicedStart; i < total; ++i) {
        const double t = static_cast<double>(i - voicedStart) / rate;
        const double envelope = VoicingEnvelope(t, recipe.voiced);
        const double source =
            envelope * (gain * GlottalFlowDerivative(phase) + RecordingAspiration * noise.Next());
        recording[i] = tract.Step(source);
        phase += frequency / rate;
        if (phase >= 1.0) {
            phase -= 1.0;
            const double vibrato =
                1.0 + VibratoDepth * std::sin(2.0 * std::numbers::pi * VibratoRate * t);
            frequency = recipe.fundamental * vibrato * (1.0 + RecordingJitter * noise.Next());
            gain = 1.0 + RecordingShimmer * noise.Next();
        }
    }
    return recording;
}

// Background noise of the room and the converter, a few units either way.
void AddHiss(std::vector<std::int16_t>& samples, int hiss, unsigned seed) {
    Noise noise(seed);
    for (std::int16_t& sample : samples) {
        sample = static_cast<std::int16_t>(sample + std::lround(hiss * noise.Next()));
    }
}

// Amplitude of harmonic k of the period (k cycles per period).
double HarmonicAmplitude(const std::vector<std::int16_t>& samples, int k) {
    double cosine = 0.0;
    double sine = 0.0;
    const double step = 2.0 * std::numbers::pi * k / static_cast<double>(samples.size());
    for (std::size_t i = 0; i < samples.size(); ++i) {
        cosine += samples[i] * std::cos(step * static_cast<double>(i));
        sine += samples[i] * std::sin(step * static_cast<double>(i));
    }
    return 2.0 * std::hypot(cosine, sine) / static_cast<double>(samples.size());
}

void RequireLowHarmonics(const char* fileName, const std::vector<std::int16_t>& samples) {
    std::array<double, CheckedHarmonics> amplitudes;
    for (int k = 1; k <= CheckedHarmonics; ++k) {
        amplitudes[static_cast<std::size_t>(k - 1)] = HarmonicAmplitude(samples, k);
    }
    const double strongest = *std::ranges::max_element(amplitudes);
    std::cout << fileName << ": " << samples.size() << " samples, harmonics 1-6:";
    for (const double amplitude : amplitudes) {
        std::cout << ' ' << std::lround(amplitude);
        if (amplitude < MinHarmonicShare * strongest) {
            throw std::runtime_error(std::string(fileName) + ": a low harmonic is missing");
        }
    }
    std::cout << '\n';
}

void WriteVoiceFile(const std::filesystem::path& path, std::int32_t sampleRate,
                    const std::vector<std::int16_t>& samples) {
    const auto dataSize = static_cast<std::int32_t>(2 * samples.size());
    WaveHeadWrite(path.string(), sampleRate, 36 + dataSize, dataSize);
    std::ofstream out(path, std::ios::binary | std::ios::app);
    for (const std::int16_t sample : samples) {
        const auto bits = static_cast<std::uint16_t>(sample);
        const std::array<char, 2> bytes{static_cast<char>(bits & 0xFF),
                                        static_cast<char>(bits >> 8)};
        out.write(bytes.data(), bytes.size());
    }
    if (!out.flush()) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

// Loads the file as the window would and checks that nothing was lost.
void VerifyVoiceFile(const std::filesystem::path& path, std::size_t expectedCount) {
    WaveHeadFields fields;
    bool warned = false;
    const std::int32_t status =
        WaveHeadRead(path.string(), fields, [&](const Status&) { warned = true; });
    std::vector<double> buffer(MaxSamples);
    if (status != HeaderAccepted || warned ||
        ReadSamples(path.string(), fields.DataOffset, fields.DataSize, buffer).SampleCount !=
            static_cast<std::int32_t>(expectedCount)) {
        throw std::runtime_error(path.string() + " does not load back");
    }
}

// The recording is no voice period, so only its header is checked: the
// window would refuse its length, but the command line reads it in full.
void VerifyRecordingHeader(const std::filesystem::path& path, std::int32_t sampleRate,
                           std::size_t expectedCount) {
    WaveHeadFields fields;
    const std::int32_t status = WaveHeadRead(path.string(), fields, [](const Status&) {});
    if (status != HeaderAccepted || fields.SampleRate != sampleRate ||
        fields.DataOffset != CanonicalHeaderSize ||
        fields.DataSize != static_cast<std::int32_t>(2 * expectedCount)) {
        throw std::runtime_error(path.string() + " does not read back");
    }
}

void WriteVoicePeriods(const std::filesystem::path& folder) {
    for (const VoiceRecipe& recipe : Recipes) {
        const std::vector<std::int16_t> samples =
            ScaledToPeak(SynthesizePeriod(recipe), recipe.peak);
        RequireLowHarmonics(recipe.fileName, samples);
        WriteVoiceFile(folder / recipe.fileName, NominalSampleRate, samples);
        VerifyVoiceFile(folder / recipe.fileName, samples.size());
    }
}

void WriteRecording(const std::filesystem::path& folder, const SustainedVowel& recipe) {
    const std::filesystem::path path = folder / recipe.fileName;
    std::filesystem::create_directories(path.parent_path());
    std::vector<std::int16_t> samples = ScaledToPeak(SynthesizeSustainedVowel(recipe), recipe.peak);
    AddHiss(samples, recipe.hiss, recipe.seed + 1);
    std::cout << recipe.fileName << ": " << samples.size() << " samples at " << recipe.sampleRate
              << " Hz\n";
    WriteVoiceFile(path, recipe.sampleRate, samples);
    VerifyRecordingHeader(path, recipe.sampleRate, samples.size());
}

}  // namespace
}  // namespace tesmera

int main(int argc, char** argv) {
    using namespace tesmera;
    if (argc != 2) {
        std::cerr << "usage: make_samples <output folder>\n";
        return 2;
    }
    try {
        const std::filesystem::path folder(argv[1]);
        std::filesystem::create_directories(folder);
        WriteVoicePeriods(folder);
        WriteRecording(folder, SampleRecording);
    } catch (const std::exception& e) {
        std::cerr << "make_samples: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
