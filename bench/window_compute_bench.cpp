// SPDX-License-Identifier: GPL-3.0-or-later
// CPU time of the window's compute command on a 10000-sample period (the
// longest that can be analysed): the expansion, the score models, the
// reports and the repaint of the whole window, shown on the offscreen
// platform. The period is loaded once through the window's own load command,
// with the file dialog answered by the benchmark.
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <numbers>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <QApplication>
#include <QString>

#include <benchmark/benchmark.h>

#include "app/AnalysisState.h"
#include "app/TForm1.h"
#include "app/UserDialogs.h"
#include "wave/voice_period.h"
#include "wave/wave_header.h"

namespace tesmera {
namespace {

constexpr std::int32_t PeriodLength = MaxSamples;

// A voice-like period: 30 harmonics whose amplitudes fall as 1/k, each with
// its own phase, peaking near 20000. The name ends in a grade, so the compute
// command reports the scores instead of stopping at the grade.
class PeriodFile {
  public:
    PeriodFile()
        : folder_(std::filesystem::temp_directory_path() / "tesmera_window_compute_bench"),
          path_((folder_ / "period3.wav").string()) {
        std::filesystem::create_directories(folder_);
        const std::int32_t dataSize = 2 * PeriodLength;
        WaveHeadWrite(path_, NominalSampleRate, 36 + dataSize, dataSize);
        std::vector<char> bytes;
        for (std::int32_t i = 0; i < PeriodLength; ++i) {
            double value = 0;
            for (int k = 1; k <= 30; ++k) {
                const double phase = 2 * std::numbers::pi * k * i / PeriodLength + 0.7 * k;
                value += 5000.0 / k * std::sin(phase);
            }
            const auto bits = static_cast<std::uint16_t>(std::lround(value));
            bytes.push_back(static_cast<char>(bits & 0xFF));
            bytes.push_back(static_cast<char>(bits >> 8));
        }
        std::ofstream(path_, std::ios::binary | std::ios::app)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    ~PeriodFile() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    PeriodFile(const PeriodFile&) = delete;
    PeriodFile& operator=(const PeriodFile&) = delete;

    const std::string& Path() const { return path_; }

  private:
    std::filesystem::path folder_;
    std::string path_;
};

// Answers the file dialog with the period and counts every message, which
// a sound run never shows.
class BenchDialogs final : public UserDialogs {
  public:
    BenchDialogs(QString file, int& messages) : file_(std::move(file)), messages_(messages) {}

    void ShowWarning(const QString&) override { ++messages_; }
    void ShowError(const QString&) override { ++messages_; }
    std::optional<QString> ChooseVoiceFile(const QString&) override { return file_; }
    std::optional<QString> ChooseRecording(const QString&) override { return std::nullopt; }
    std::optional<QString> ChooseSavePath(const QString&) override { return std::nullopt; }
    std::optional<QString> ChooseReportPdfPath(const QString&) override { return std::nullopt; }
    bool ChoosePrinter(QPrinter&) override { return false; }
    std::optional<QString> ChooseTakePath(const QString&) override { return std::nullopt; }
    bool ConfirmDiscard(const QString&) override { return true; }

  private:
    QString file_;
    int& messages_;
};

void BM_WindowCompute(benchmark::State& state) {
    const PeriodFile file;
    int messages = 0;
    const auto analysis = std::make_unique<AnalysisState>();
    TForm1 form(*analysis,
                std::make_unique<BenchDialogs>(QString::fromStdString(file.Path()), messages));
    form.show();
    form.SpeedButton1Click();
    if (analysis->SampleCount != PeriodLength || messages != 0) {
        state.SkipWithError("the period did not load quietly");
        return;
    }
    for (auto _ : state) {
        form.SpeedButton3Click();
        // The chart is refilled last and only scheduled for painting; the
        // command's work ends when the window shows it.
        form.repaint();
    }
    if (messages != 0) {
        state.SkipWithError("the compute command showed a message");
    }
}

// Every thread of the process counts, in case the toolkit paints on another.
BENCHMARK(BM_WindowCompute)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tesmera

int main(int argc, char** argv) {
    // The window is shown and painted, but never on a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
