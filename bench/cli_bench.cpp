// SPDX-License-Identifier: GPL-3.0-or-later
// Throughput of `tesmera-cli` as a user runs it: a whole process, start-up
// included. `analyze` over 1000 and 20000 one-period files of 100 to 1000
// samples, writing CSV to /dev/null, and the start-up cost alone (one file);
// `extract` on a 60-second recording.
//
// The program is found beside this benchmark's folder (../cli/tesmera-cli),
// as both are built into the same build tree.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <numbers>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "analysis/fourier_apr.h"
#include "tests/support/wav_test_support.h"

extern char** environ;

namespace tesmera {
namespace {

namespace fs = std::filesystem;

constexpr int SmallBatch = 1000;
constexpr int LargeBatch = 20000;
constexpr int RecordingSeconds = 60;
constexpr int RecordingRate = 48000;

fs::path ProgramPath() {
    return fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "cli" / "tesmera-cli";
}

// A voice-like period of N samples: 12 harmonics falling as 1/k with phases
// from the file's own seed, rounded to 16 bits.
std::vector<std::int16_t> PeriodSamples(int N, std::uint32_t seed) {
    std::mt19937 generator(seed);
    std::uniform_real_distribution<double> phase(0, static_cast<double>(TwoPi));
    std::vector<double> phases;
    for (int k = 1; k <= 12; ++k) {
        phases.push_back(phase(generator));
    }
    std::vector<std::int16_t> samples;
    for (int i = 1; i <= N; ++i) {
        double value = 0;
        for (int k = 1; k <= 12; ++k) {
            value += 9000.0 / k * std::cos(static_cast<double>(TwoPi) * k * i / N + phases[k - 1]);
        }
        samples.push_back(static_cast<std::int16_t>(std::lround(value)));
    }
    return samples;
}

// A temporary folder of voice files named "voice<i>_<grade>.wav".
class VoiceFolder {
  public:
    explicit VoiceFolder(int count)
        : path_(fs::temp_directory_path() /
                ("tesmera_cli_bench_" + std::to_string(getpid()) + "_" + std::to_string(count))) {
        fs::create_directories(path_);
        for (int i = 0; i < count; ++i) {
            const int N = 100 + (900 * i) / std::max(1, count - 1);  // 100..1000
            const std::string file =
                (path_ / ("voice" + std::to_string(i) + "_" + std::to_string(1 + i % 5) + ".wav"))
                    .string();
            test::WriteFile(file,
                            test::CanonicalWav(PeriodSamples(N, static_cast<std::uint32_t>(i))));
        }
    }
    ~VoiceFolder() { fs::remove_all(path_); }
    VoiceFolder(const VoiceFolder&) = delete;
    VoiceFolder& operator=(const VoiceFolder&) = delete;

    const fs::path& Path() const { return path_; }

  private:
    fs::path path_;
};

// Runs the program to its end; throws unless it exits with status 0.
void RunProgram(std::vector<std::string> arguments) {
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    pid_t child = 0;
    if (posix_spawn(&child, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
        throw std::runtime_error("cannot start " + arguments[0]);
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        throw std::runtime_error(arguments[0] + " " + arguments[1] + " failed");
    }
}

// Arguments: the number of files, then the worker count to ask for with
// --jobs (0: the option is left out, the program's default).
void BM_AnalyzeProcess(benchmark::State& state) {
    const auto files = static_cast<int>(state.range(0));
    const auto jobs = state.range(1);
    const VoiceFolder folder(files);
    std::vector<std::string> arguments{ProgramPath().string(), "analyze", folder.Path().string(),
                                       "--csv", "/dev/null"};
    if (jobs > 0) {
        arguments.push_back("--jobs");
        arguments.push_back(std::to_string(jobs));
    }
    for (auto _ : state) {
        RunProgram(arguments);
    }
    // Files per second of wall-clock time, the child's work included.
    state.SetItemsProcessed(state.iterations() * files);
}
BENCHMARK(BM_AnalyzeProcess)
    ->Args({1, 0})
    ->Args({SmallBatch, 1})
    ->Args({SmallBatch, 0})
    ->Args({LargeBatch, 1})
    ->Args({LargeBatch, 0})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// A sustained vowel as a microphone records it: a quarter second of
// silence, then harmonics 1..8 of about 140 Hz with a slow wobble in pitch
// and level, then silence again; 16-bit mono.
class Recording {
  public:
    Recording()
        : path_(fs::temp_directory_path() /
                ("tesmera_cli_bench_" + std::to_string(getpid()) + "_recording.wav")) {
        const int count = RecordingSeconds * RecordingRate;
        const int edge = RecordingRate / 4;
        std::vector<std::int16_t> samples;
        samples.reserve(static_cast<std::size_t>(count));
        double phase = 0;
        for (int n = 0; n < count; ++n) {
            const double t = static_cast<double>(n) / RecordingRate;
            phase += 2 * std::numbers::pi *
                     (140.0 + 3.0 * std::sin(2 * std::numbers::pi * 0.7 * t)) / RecordingRate;
            double value = 0;
            if (n >= edge && n < count - edge) {
                for (int k = 1; k <= 8; ++k) {
                    value += 6000.0 / k * std::sin(k * phase);
                }
                value *= 1.0 + 0.05 * std::sin(2 * std::numbers::pi * 0.3 * t);
            }
            samples.push_back(static_cast<std::int16_t>(std::lround(value)));
        }
        test::WriteFile(path_, test::CanonicalWav(samples, RecordingRate));
    }
    ~Recording() { fs::remove(path_); }
    Recording(const Recording&) = delete;
    Recording& operator=(const Recording&) = delete;

    const fs::path& Path() const { return path_; }

  private:
    fs::path path_;
};

void BM_ExtractProcess(benchmark::State& state) {
    const Recording recording;
    const fs::path output = recording.Path().string() + ".period.wav";
    for (auto _ : state) {
        RunProgram({ProgramPath().string(), "extract", recording.Path().string(), output.string()});
    }
    fs::remove(output);
    // Seconds of recording handled per second of wall-clock time.
    state.counters["audio_s_per_s"] = benchmark::Counter(
        static_cast<double>(RecordingSeconds), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_ExtractProcess)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace tesmera
