// SPDX-License-Identifier: GPL-3.0-or-later
// The capture and playback code against a real PulseAudio daemon, the one
// with_pulse_daemon.sh starts: what is played into its feed sink must come
// back as the saved take, and what the window plays must be heard on the
// output's monitor, both within 50 ms in length and correlating above 0.99
// once aligned.
#include "app/AudioDevices.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include <gtest/gtest.h>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTimer>

#include "recording/take_file.h"
#include "support/TempFolder.h"

namespace tesmera {
namespace {

constexpr int Rate = 44100;  // the daemon's own, so no resampling is compared

// 0.3 s of silence, then 1.5 s of a sweep from 150 to 900 Hz at peak 0.5:
// no two stretches alike, so the alignment has one answer. The daemon drops
// the first tens of milliseconds a new stream carries to a monitor (it
// rewinds the sink under it); a lead-in of silence, as any recording has,
// keeps the sweep itself out of that.
MonoRecording Sweep() {
    MonoRecording sound{Rate, std::vector<double>(Rate * 3 / 10, 0.0)};
    const double seconds = 1.5;
    for (int i = 0; i < static_cast<int>(seconds * Rate); ++i) {
        const double t = static_cast<double>(i) / Rate;
        const double phase = 2 * M_PI * (150 * t + (900 - 150) * t * t / (2 * seconds));
        sound.Samples.push_back(0.5 * std::sin(phase));
    }
    return sound;
}

// [first, end) of the samples above the silence of a null sink.
std::pair<std::size_t, std::size_t> Sounding(const std::vector<double>& samples) {
    const auto loud = [](double v) { return std::abs(v) > 0.02; };
    const auto first = std::find_if(samples.begin(), samples.end(), loud);
    const auto last = std::find_if(samples.rbegin(), samples.rend(), loud);
    if (first == samples.end()) {
        return {0, 0};
    }
    return {static_cast<std::size_t>(first - samples.begin()),
            static_cast<std::size_t>(samples.rend() - last)};
}

double CorrelationAt(const std::vector<double>& played, const std::vector<double>& heard,
                     std::ptrdiff_t lag) {
    double product = 0, playedEnergy = 0, heardEnergy = 0;
    for (std::size_t i = 0; i < played.size(); ++i) {
        const auto j = static_cast<std::ptrdiff_t>(i) + lag;
        const double h = j >= 0 && j < static_cast<std::ptrdiff_t>(heard.size())
                             ? heard[static_cast<std::size_t>(j)]
                             : 0;
        product += played[i] * h;
        playedEnergy += played[i] * played[i];
        heardEnergy += h * h;
    }
    return product / std::sqrt(playedEnergy * heardEnergy + 1e-300);
}

// Aligns by the onsets, then finds the best lag within 5 ms of it.
void ExpectHeardAsPlayed(const std::vector<double>& played, const std::vector<double>& heard) {
    const auto [playedFirst, playedEnd] = Sounding(played);
    const auto [heardFirst, heardEnd] = Sounding(heard);
    ASSERT_GT(heardEnd, heardFirst) << "nothing was heard";
    const double playedSeconds = static_cast<double>(playedEnd - playedFirst) / Rate;
    const double heardSeconds = static_cast<double>(heardEnd - heardFirst) / Rate;
    EXPECT_NEAR(heardSeconds, playedSeconds, 0.050);
    const auto onset =
        static_cast<std::ptrdiff_t>(heardFirst) - static_cast<std::ptrdiff_t>(playedFirst);
    double best = -1;
    for (std::ptrdiff_t lag = onset - Rate / 200; lag <= onset + Rate / 200; ++lag) {
        best = std::max(best, CorrelationAt(played, heard, lag));
    }
    EXPECT_GT(best, 0.99);
}

// Runs the event loop until `done` or `seconds` pass.
void RunUntil(const std::function<bool()>& done, double seconds) {
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done()) {
            loop.quit();
        }
    });
    poll.start(10);
    QTimer::singleShot(static_cast<int>(seconds * 1000), &loop, &QEventLoop::quit);
    loop.exec();
}

void Wait(double seconds) {
    RunUntil([] { return false; }, seconds);
}

TEST(QtAudioDevices, SavedTakeHoldsWhatWasPlayedIntoTheInput) {
    const test::TempFolder folder;
    const MonoRecording played = Sweep();
    const std::string playedPath = (folder.Path() / "played.wav").string();
    SaveTake(playedPath, played);

    QtAudioDevices devices;
    MonoRecording take{Rate, {}};
    devices.StartCapture({}, Rate, [&take](std::span<const double> block) {
        take.Samples.insert(take.Samples.end(), block.begin(), block.end());
    });
    Wait(0.3);
    QProcess player;
    player.start(QStringLiteral("paplay"),
                 {QStringLiteral("--device=tesmera_feed"), QString::fromStdString(playedPath)});
    RunUntil([&player] { return player.state() == QProcess::NotRunning; }, 20);
    Wait(0.5);
    devices.StopCapture();
    ASSERT_EQ(player.exitCode(), 0) << player.readAllStandardError().toStdString();

    const std::string takePath = (folder.Path() / "take.wav").string();
    SaveTake(takePath, take);
    const MonoRecording saved = [&] {
        RecordingFile file(takePath);
        const std::span<const double> samples = file.Samples(0, file.SampleCount());
        return MonoRecording{file.SampleRate(), {samples.begin(), samples.end()}};
    }();
    EXPECT_EQ(saved.SampleRate, Rate);
    ExpectHeardAsPlayed(played.Samples, saved.Samples);
}

TEST(QtAudioDevices, PlaysWhatTheOutputsMonitorHears) {
    const test::TempFolder folder;
    const QString heardPath = QString::fromStdString((folder.Path() / "heard.raw").string());
    QProcess listener;
    listener.setStandardOutputFile(heardPath);
    listener.start(QStringLiteral("parec"),
                   {QStringLiteral("--device=tesmera_out.monitor"), QStringLiteral("--rate=44100"),
                    QStringLiteral("--channels=1"), QStringLiteral("--format=float32le"),
                    QStringLiteral("--raw"), QStringLiteral("--latency-msec=20")});
    ASSERT_TRUE(listener.waitForStarted());
    Wait(0.3);

    const MonoRecording played = Sweep();
    QtAudioDevices devices;
    bool ended = false;
    devices.Play(played, false, [&ended] { ended = true; });
    EXPECT_TRUE(devices.PlayingAt().has_value());
    RunUntil([&ended] { return ended; }, 20);
    EXPECT_TRUE(ended);
    Wait(0.5);
    listener.terminate();
    listener.waitForFinished();

    QFile heardFile(heardPath);
    ASSERT_TRUE(heardFile.open(QIODevice::ReadOnly));
    const QByteArray bytes = heardFile.readAll();
    std::vector<float> floats(static_cast<std::size_t>(bytes.size()) / sizeof(float));
    std::memcpy(floats.data(), bytes.data(), floats.size() * sizeof(float));
    ExpectHeardAsPlayed(played.Samples, {floats.begin(), floats.end()});
}

}  // namespace
}  // namespace tesmera
