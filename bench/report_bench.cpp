// SPDX-License-Identifier: GPL-3.0-or-later
// Time to report a recording of a sustained vowel, from its samples in
// memory to the finished report: pitch track, stretch, cycle marks and
// checks, perturbation, harmonicity and every cycle's analysis. Goals in an
// optimised build: a 3-s recording in under 50 ms, a 60-s one in under
// 0.3 s, with memory linear in the length.
#include <map>
#include <utility>

#include <benchmark/benchmark.h>

#include "recording/voice_report.h"
#include "tools/sustained_vowel.h"

namespace tesmera {
namespace {

// A mildly rough male vowel of the given length, made once per rate and length.
const tools::GeneratedVowel& Vowel(std::int32_t rate, double seconds) {
    static std::map<std::pair<std::int32_t, double>, tools::GeneratedVowel> made;
    const auto key = std::make_pair(rate, seconds);
    if (!made.contains(key)) {
        tools::VowelRecipe recipe;
        recipe.Rate = rate;
        recipe.F0 = 125;
        recipe.Jitter = 0.008;
        recipe.Shimmer = 0.03;
        recipe.HnrDb = 18;
        recipe.Seconds = seconds;
        recipe.Silence = 0.1;
        made.emplace(key, tools::GenerateVowel(recipe));
    }
    return made.at(key);
}

void BM_ReportVowel(benchmark::State& state) {
    const auto rate = static_cast<std::int32_t>(state.range(0));
    const auto seconds = static_cast<double>(state.range(1));
    const tools::GeneratedVowel& vowel = Vowel(rate, seconds);
    for (auto _ : state) {
        const VoiceReport report = ReportVoice(vowel.Samples, vowel.Rate);
        benchmark::DoNotOptimize(report.Models);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(vowel.Samples.size()));
}

BENCHMARK(BM_ReportVowel)
    ->ArgNames({"rate", "seconds"})
    ->Args({44100, 3})
    ->Args({48000, 3})
    ->Args({16000, 3})
    ->Args({44100, 60})
    ->Args({48000, 60})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tesmera
