// SPDX-License-Identifier: GPL-3.0-or-later
// Time to cut one period out of a 60-s recording at 48 kHz, as `extract`
// does once the file is read: tracking the pitch over the whole recording,
// then resampling and marking the chosen place, on one thread
// ("threads:1") and on every core ("threads:0"), in wall-clock (real) time.
// The tracking alone is timed too, at the quarter rate it runs at.
#include <benchmark/benchmark.h>

#include "recording/parallel_work.h"
#include "recording/period_extraction.h"
#include "recording/pitch.h"
#include "recording/resampling.h"
#include "tests/support/synthetic_vowel.h"

namespace tesmera {
namespace {

const MonoRecording& MinuteOfVowel() {
    static const MonoRecording recording = test::SyntheticVowel({147.3, 48000, 1.0, 58.0, 1.0});
    return recording;
}

void ExtractFromAMinuteAt48k(benchmark::State& state) {
    const MonoRecording& recording = MinuteOfVowel();
    const auto threads =
        state.range(0) == 0 ? AvailableCores() : static_cast<unsigned>(state.range(0));
    for (auto _ : state) {
        RecordingInMemory memory(recording.Samples, recording.SampleRate, threads);
        benchmark::DoNotOptimize(ExtractPeriod(memory, std::nullopt));
    }
    state.counters["seconds_of_sound_per_s"] =
        benchmark::Counter(static_cast<double>(recording.Samples.size()) / recording.SampleRate,
                           benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(ExtractFromAMinuteAt48k)
    ->ArgName("threads")
    ->Arg(1)
    ->Arg(0)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

void VoicingOfAMinuteAtTrackingRate(benchmark::State& state) {
    constexpr double TrackingRate = 11025;
    const MonoRecording& recording = MinuteOfVowel();
    const std::vector<double> tracking =
        Resample(recording.Samples, TrackingRate / recording.SampleRate, ResamplingQuality::Fast);
    for (auto _ : state) {
        benchmark::DoNotOptimize(AnalyseVoicing(tracking, TrackingRate));
    }
}
BENCHMARK(VoicingOfAMinuteAtTrackingRate)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tesmera
