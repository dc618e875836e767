// SPDX-License-Identifier: GPL-3.0-or-later
// Time to load a voice file as the load command does: header check, sample
// loop and statistics. Files of 10000 samples (the largest that can be
// analysed) and of one million samples (counted in full, stored in part).
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <numbers>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "tests/support/wav_test_support.h"
#include "wave/sample_reader.h"
#include "wave/voice_period.h"
#include "wave/wave_header.h"

namespace tesmera {
namespace {

// A canonical file of `count` samples of a 100 Hz sinusoid, amplitude 12000,
// removed again when the benchmark ends.
class VoiceFile {
  public:
    explicit VoiceFile(std::int64_t count)
        : path_((std::filesystem::temp_directory_path() /
                 ("tesmera_load_bench_" + std::to_string(count) + ".wav"))
                    .string()) {
        std::vector<std::int16_t> samples;
        samples.reserve(static_cast<std::size_t>(count));
        for (std::int64_t i = 0; i < count; ++i) {
            const double phase = 2.0 * std::numbers::pi * static_cast<double>(i % 441) / 441.0;
            samples.push_back(static_cast<std::int16_t>(std::lround(12000.0 * std::sin(phase))));
        }
        test::WriteFile(path_, test::CanonicalWav(samples));
    }
    ~VoiceFile() { std::filesystem::remove(path_); }
    VoiceFile(const VoiceFile&) = delete;
    VoiceFile& operator=(const VoiceFile&) = delete;

    const std::string& Path() const { return path_; }

  private:
    std::string path_;
};

void BM_LoadVoiceFile(benchmark::State& state) {
    const VoiceFile file(state.range(0));
    std::vector<double> samples(MaxSamples);
    for (auto _ : state) {
        WaveHeadFields fields;
        WaveHeadRead(file.Path(), fields, [](const Status&) {});
        const SampleReadResult read =
            ReadSamples(file.Path(), fields.DataOffset, fields.DataSize, samples);
        benchmark::DoNotOptimize(ComputePeriodStatistics(read));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

BENCHMARK(BM_LoadVoiceFile)->Arg(10000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tesmera
