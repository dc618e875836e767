// Throughput of `tesmera-cli analyze` as a user runs it: a whole process,
// start-up included, over 1000 one-period files of 100 to 1000 samples,
// writing CSV to /dev/null. Also the start-up cost alone: one file.
//
// The program is found beside this benchmark's folder (../cli/tesmera-cli),
// as both are built into the same build tree.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "analysis/FourierApr.h"
#include "wave/WaveHeader.h"
#include "wave/voice_period.h"

extern char** environ;

namespace tesmera {
namespace {

namespace fs = std::filesystem;

constexpr int kBatchFiles = 1000;

fs::path ProgramPath() {
    return fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "cli" / "tesmera-cli";
}

// A voice-like period of N samples: 12 harmonics falling as 1/k with phases
// from the file's own seed, rounded to 16 bits.
std::vector<char> PeriodBytes(int N, std::uint32_t seed) {
    std::mt19937 generator(seed);
    std::uniform_real_distribution<double> phase(0, static_cast<double>(TwoPi));
    std::vector<double> phases;
    for (int k = 1; k <= 12; ++k) {
        phases.push_back(phase(generator));
    }
    std::vector<char> bytes;
    for (int i = 1; i <= N; ++i) {
        double value = 0;
        for (int k = 1; k <= 12; ++k) {
            value += 9000.0 / k * std::cos(static_cast<double>(TwoPi) * k * i / N + phases[k - 1]);
        }
        const auto bits = static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(value)));
        bytes.push_back(static_cast<char>(bits & 0xFF));
        bytes.push_back(static_cast<char>(bits >> 8));
    }
    return bytes;
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
            const std::vector<char> samples = PeriodBytes(N, static_cast<std::uint32_t>(i));
            const auto dataSize = static_cast<std::int32_t>(samples.size());
            WaveHeadWrite(file, NominalSampleRate, 36 + dataSize, dataSize);
            std::ofstream(file, std::ios::binary | std::ios::app)
                .write(samples.data(), static_cast<std::streamsize>(samples.size()));
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
void RunAnalyze(const std::string& program, const std::string& folder) {
    std::vector<std::string> arguments{program, "analyze", folder, "--csv", "/dev/null"};
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    pid_t child = 0;
    if (posix_spawn(&child, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0) {
        throw std::runtime_error("cannot start " + program);
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        throw std::runtime_error(program + " analyze failed");
    }
}

void BM_AnalyzeProcess(benchmark::State& state) {
    const auto files = static_cast<int>(state.range(0));
    const VoiceFolder folder(files);
    const std::string program = ProgramPath().string();
    for (auto _ : state) {
        RunAnalyze(program, folder.Path().string());
    }
    // Files per second of wall-clock time, the child's work included.
    state.SetItemsProcessed(state.iterations() * files);
}
BENCHMARK(BM_AnalyzeProcess)
    ->Arg(1)
    ->Arg(kBatchFiles)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
}  // namespace tesmera
