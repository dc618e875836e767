// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/crosscheck_voices.h"

namespace tesmera::tools {

namespace {

// Jitter and shimmer are fractions; every voice lasts two seconds.
CrossCheckVoice Voice(std::string name, std::string kind, std::int32_t rate, double f0,
                      double jitter, double shimmer, double hnrDb, std::uint32_t seed) {
    return {std::move(name),
            std::move(kind),
            {.Rate = rate,
             .F0 = f0,
             .Jitter = jitter,
             .Shimmer = shimmer,
             .HnrDb = hnrDb,
             .Seconds = 2,
             .Seed = seed}};
}

CrossCheckVoice Drifting(std::string name, double f0, double drift, std::uint32_t seed) {
    CrossCheckVoice voice = Voice(std::move(name), "drift", 44100, f0, 0.005, 0.03, 25, seed);
    voice.Recipe.Drift = drift;
    return voice;
}

CrossCheckVoice Tremulous(std::string name, double f0, double depth, double hz,
                          std::uint32_t seed) {
    CrossCheckVoice voice = Voice(std::move(name), "tremor", 44100, f0, 0.005, 0.03, 25, seed);
    voice.Recipe.TremorDepth = depth;
    voice.Recipe.TremorHz = hz;
    voice.Recipe.TremorAmplitude = depth;
    return voice;
}

CrossCheckVoice Aspirated(std::string name, double f0, double hnrDb, std::uint32_t seed) {
    CrossCheckVoice voice = Voice(std::move(name), "breathy", 44100, f0, 0.008, 0.04, hnrDb, seed);
    voice.Recipe.Noise = VowelNoise::Aspiration;
    // Pulsed noise this strong peaks far above the voice: room to stay
    // below full scale.
    voice.Recipe.Peak = 0.3;
    return voice;
}

}  // namespace

std::vector<CrossCheckVoice> CrossCheckVoices() {
    return {Voice("Clean16k", "steady", 16000, 110, 0.004, 0.02, 40, 1),
            Voice("Healthy22k", "steady", 22050, 210, 0.006, 0.03, 22, 2),
            Voice("Breathy32k", "breathy", 32000, 180, 0.008, 0.04, 12, 3),
            Voice("Healthy44k", "steady", 44100, 125, 0.005, 0.025, 25, 4),
            Voice("Rough44k", "rough", 44100, 140, 0.015, 0.06, 8, 5),
            Voice("Rough48k", "rough", 48000, 230, 0.012, 0.05, 10, 6),
            Voice("VeryRough48k", "rough", 48000, 105, 0.02, 0.08, 5, 7),
            Voice("Steady48k", "steady", 48000, 160, 0.002, 0.01, 35, 8),
            Voice("VeryRough44k", "rough", 44100, 150, 0.03, 0.10, 12, 9),
            Drifting("DriftUp3pct", 140, 0.03, 10),
            Drifting("DriftUp5pct", 200, 0.05, 11),
            Tremulous("Tremor8pct3Hz", 130, 0.08, 3, 12),
            Tremulous("Tremor10pct5Hz", 180, 0.10, 5, 13),
            Tremulous("Tremor10pct8Hz", 150, 0.10, 8, 14),
            Aspirated("Aspirated5dB", 150, 5, 15),
            Aspirated("Aspirated3dB", 130, 3, 16),
            Voice("LowMale85Hz", "low", 44100, 85, 0.006, 0.03, 22, 17),
            Voice("Female220Hz", "high", 44100, 220, 0.005, 0.03, 24, 18),
            Voice("Female300Hz", "high", 48000, 300, 0.005, 0.03, 24, 19),
            Voice("Healthy8k", "rate", 8000, 140, 0.006, 0.03, 25, 20),
            Voice("Healthy96k", "rate", 96000, 150, 0.006, 0.03, 25, 21)};
}

void WriteCrossCheckVoices(const std::filesystem::path& folder) {
    for (const CrossCheckVoice& voice : CrossCheckVoices()) {
        const std::filesystem::path file = folder / (voice.Kind + "-" + voice.Name + ".wav");
        WriteVowel(file.string(), GenerateVowel(voice.Recipe));
    }
}

}  // namespace tesmera::tools
