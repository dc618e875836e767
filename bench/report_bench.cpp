// SPDX-License-Identifier: GPL-3.0-or-later
// Time to report a recording of a sustained vowel, from its samples in
// memory to the finished report: pitch track, stretch, cycle marks and
// checks, perturbation, harmonicity and every cycle's analysis. Goals in an
// optimised build: a 3-s recording in under 50 ms, a 60-s one in under
// 0.3 s, with memory linear in the length.
//
// The report runs on one thread ("threads:1") and on every core
// ("threads:0"); the times are wall-clock (real) time, as a user waits for
// it, so with several threads the CPU column shows only the calling thread.
#include <map>
#include <utility>

#include <benchmark/benchmark.h>

#include "recording/cepstral_peak.h"
#include "recording/parallel_work.h"
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

// The vowel of the arguments rate and seconds, and the thread count of the
// third (0: every core).
struct VowelArguments {
    const tools::GeneratedVowel& Vowel;
    unsigned Threads;
};

VowelArguments ArgumentsOf(const benchmark::State& state) {
    const auto rate = static_cast<std::int32_t>(state.range(0));
    const auto seconds = static_cast<double>(state.range(1));
    return {Vowel(rate, seconds),
            state.range(2) == 0 ? AvailableCores() : static_cast<unsigned>(state.range(2))};
}

void BM_ReportVowel(benchmark::State& state) {
    const auto [vowel, threads] = ArgumentsOf(state);
    for (auto _ : state) {
        const VoiceReport report = ReportVoice(vowel.Samples, vowel.Rate, std::nullopt, threads);
        benchmark::DoNotOptimize(report.Models);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(vowel.Samples.size()));
}

BENCHMARK(BM_ReportVowel)
    ->ArgNames({"rate", "seconds", "threads"})
    ->ArgsProduct({{44100, 48000, 16000}, {3}, {1, 0}})
    ->ArgsProduct({{44100, 48000}, {60}, {1, 0}})
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// The smoothed cepstral peak prominence alone, the report's costliest single
// measure: its frames are 2 ms apart whatever the voice.
void BM_CppsVowel(benchmark::State& state) {
    const auto [vowel, threads] = ArgumentsOf(state);
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            SmoothedCepstralPeakProminence(vowel.Samples, vowel.Rate, threads));
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(vowel.Samples.size()));
}

BENCHMARK(BM_CppsVowel)
    ->ArgNames({"rate", "seconds", "threads"})
    ->ArgsProduct({{44100}, {3, 60}, {1, 0}})
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tesmera
