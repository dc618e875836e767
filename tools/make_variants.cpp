// SPDX-License-Identifier: GPL-3.0-or-later
// Writes eleven variants of one recording, the changes a recording meets
// between a clinic's microphone and the report, to see whether its grades
// hold: each variant goes to a folder of its own under the output folder,
// under the recording's own name (so the expert grade at the end of the name
// still reads), as 16-bit mono PCM:
//
//   quieter      gain -20 dB
//   louder       gain +6 dB, less where the peak would pass 0.99
//   rate16k      resampled to 16 kHz
//   rate96k      resampled to 96 kHz
//   first_half   the first half of the samples
//   second_half  the second half
//   trimmed      0.3 s cut from both ends
//   noise30      white noise 30 dB under the voice's RMS
//   noise20      white noise 20 dB under the voice's RMS
//   hum          50 Hz mains hum 30 dB under the voice's RMS, with its
//                150 Hz harmonic 10 dB under the hum
//   flac         the samples as they are, in a FLAC file (.flac)
//
// The voice's RMS is taken over the frames the voicing track finds voiced.
// The same input always gives the same files: the noise has fixed seeds.
//
// Usage: make_variants IN.wav OUT_FOLDER

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <functional>
#include <iostream>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "recording/resampling.h"
#include "recording/scanned_recording.h"
#include "recording/sound_input.h"
#include "tools/sustained_vowel.h"

namespace tesmera {
namespace {

constexpr double TrimSeconds = 0.3;
constexpr double LouderPeak = 0.99;
constexpr double HumHz = 50;

struct Sound {
    std::int32_t Rate = 0;
    std::vector<double> Samples;
};

double DbGain(double db) {
    return std::pow(10.0, db / 20);
}

Sound Read(const std::string& path) {
    SoundFileReader reader(path);
    Sound sound{reader.SampleRate(), {}};
    reader.ReadBlocks(0, reader.Frames(), [&](std::span<const double> block) {
        sound.Samples.insert(sound.Samples.end(), block.begin(), block.end());
    });
    return sound;
}

// The RMS of the voiced frames, from their power on the voicing track; the
// whole recording's when none is voiced.
double VoiceRms(const Sound& sound) {
    RecordingInMemory recording(sound.Samples, sound.Rate);
    double power = 0;
    std::size_t voiced = 0;
    for (const VoicingFrame& frame : recording.Frames()) {
        if (frame.Voiced) {
            power += frame.Rms * frame.Rms;
            ++voiced;
        }
    }
    if (voiced == 0) {
        for (const double v : sound.Samples) {
            power += v * v;
        }
        return std::sqrt(power /
                         static_cast<double>(std::max<std::size_t>(1, sound.Samples.size())));
    }
    return std::sqrt(power / static_cast<double>(voiced));
}

Sound Scaled(Sound sound, double gain) {
    for (double& v : sound.Samples) {
        v *= gain;
    }
    return sound;
}

Sound Louder(const Sound& sound) {
    double peak = 0;
    for (const double v : sound.Samples) {
        peak = std::max(peak, std::abs(v));
    }
    const double gain = DbGain(6);
    return Scaled(sound, peak * gain > LouderPeak ? LouderPeak / peak : gain);
}

Sound Resampled(const Sound& sound, std::int32_t rate) {
    return {rate, Resample(sound.Samples, static_cast<double>(rate) / sound.Rate,
                           ResamplingQuality::Best)};
}

Sound Part(const Sound& sound, std::size_t first, std::size_t end) {
    end = std::max(first, end);
    return {sound.Rate,
            {sound.Samples.begin() + static_cast<std::ptrdiff_t>(first),
             sound.Samples.begin() + static_cast<std::ptrdiff_t>(end)}};
}

// Standard normal values by Box and Muller from the generator's own words,
// so every standard library gives the same noise.
Sound WithNoise(Sound sound, double rms, std::uint32_t seed) {
    std::mt19937 generator(seed);
    const auto uniform = [&] { return (static_cast<double>(generator()) + 0.5) / 4294967296.0; };
    for (double& v : sound.Samples) {
        v += rms * std::sqrt(-2 * std::log(uniform())) * std::cos(2 * std::numbers::pi * uniform());
    }
    return sound;
}

Sound WithHum(Sound sound, double rms) {
    // A sine of RMS r has amplitude r·√2.
    const double amplitude = rms * std::numbers::sqrt2;
    const double step = 2 * std::numbers::pi * HumHz / sound.Rate;
    for (std::size_t i = 0; i < sound.Samples.size(); ++i) {
        const double phase = step * static_cast<double>(i);
        sound.Samples[i] += amplitude * (std::sin(phase) + DbGain(-10) * std::sin(3 * phase));
    }
    return sound;
}

struct Variant {
    const char* Name;
    std::function<Sound(const Sound&, double voiceRms)> Make;
    tools::MonoFormat Format = tools::MonoFormat::Wav16;
};

std::vector<Variant> Variants() {
    const auto half = [](const Sound& s) { return s.Samples.size() / 2; };
    const auto trim = [](const Sound& s) { return static_cast<std::size_t>(TrimSeconds * s.Rate); };
    return {
        {"quieter", [](const Sound& s, double) { return Scaled(s, DbGain(-20)); }},
        {"louder", [](const Sound& s, double) { return Louder(s); }},
        {"rate16k", [](const Sound& s, double) { return Resampled(s, 16000); }},
        {"rate96k", [](const Sound& s, double) { return Resampled(s, 96000); }},
        {"first_half", [=](const Sound& s, double) { return Part(s, 0, half(s)); }},
        {"second_half", [=](const Sound& s, double) { return Part(s, half(s), s.Samples.size()); }},
        {"trimmed",
         [=](const Sound& s, double) {
             return Part(s, trim(s), s.Samples.size() - std::min(trim(s), s.Samples.size()));
         }},
        {"noise30", [](const Sound& s, double rms) { return WithNoise(s, rms * DbGain(-30), 30); }},
        {"noise20", [](const Sound& s, double rms) { return WithNoise(s, rms * DbGain(-20), 20); }},
        {"hum", [](const Sound& s, double rms) { return WithHum(s, rms * DbGain(-30)); }},
        {"flac", [](const Sound& s, double) { return s; }, tools::MonoFormat::Flac16},
    };
}

void WriteVariants(const std::filesystem::path& input, const std::filesystem::path& folder) {
    const Sound original = Read(input.string());
    const double voiceRms = VoiceRms(original);
    for (const Variant& variant : Variants()) {
        Sound sound = variant.Make(original, voiceRms);
        // Added noise or hum may pass full scale; a converter would clip it.
        for (double& v : sound.Samples) {
            v = std::clamp(v, -1.0, 1.0);
        }
        std::filesystem::path file = folder / variant.Name / input.filename();
        file.replace_extension(variant.Format == tools::MonoFormat::Flac16 ? ".flac" : ".wav");
        std::filesystem::create_directories(file.parent_path());
        tools::WriteMonoSound(file.string(), sound.Rate, sound.Samples, variant.Format);
    }
}

}  // namespace
}  // namespace tesmera

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: make_variants IN.wav OUT_FOLDER\n";
        return 2;
    }
    try {
        tesmera::WriteVariants(argv[1], argv[2]);
    } catch (const std::exception& error) {
        std::cerr << "make_variants: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
