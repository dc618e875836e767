// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/AudioDevices.h"

#include <chrono>

#include <QAudioDevice>
#include <QAudioSink>
#include <QAudioSource>
#include <QDir>
#include <QFile>
#include <QMediaDevices>
#include <QTimer>

#include "app/AudioFeed.h"

namespace tesmera {

namespace {

// Mono at `rate` in the first sample format the device takes of those the
// feed speaks: floats keep a 24-bit input's detail, 16-bit integers are
// what every device takes.
QAudioFormat MonoFormat(const QAudioDevice& device, int rate) {
    QAudioFormat format;
    format.setSampleRate(rate);
    format.setChannelCount(1);
    for (const QAudioFormat::SampleFormat sampleFormat :
         {QAudioFormat::Float, QAudioFormat::Int16}) {
        format.setSampleFormat(sampleFormat);
        if (device.isFormatSupported(format)) {
            return format;
        }
    }
    throw AudioError(QStringLiteral("%1 does not take mono sound at %2 Hz")
                         .arg(device.description())
                         .arg(rate)
                         .toStdString());
}

// libpulse, which Qt Multimedia reaches the sound server through, writes a
// new cookie into the user's configuration folder when it finds none. A
// server that asks for a cookie made one there when it started, so where
// there is none, none is needed: libpulse is handed 256 zero bytes that no
// file holds, and the window keeps its promise to write nothing of its own.
void KeepTheSoundCookieOutOfHome() {
    if (!qEnvironmentVariableIsEmpty("PULSE_COOKIE")) {
        return;
    }
    const QString home = QDir::homePath();
    const QString config =
        qEnvironmentVariable("XDG_CONFIG_HOME", home + QStringLiteral("/.config"));
    if (!QFile::exists(config + QStringLiteral("/pulse/cookie")) &&
        !QFile::exists(home + QStringLiteral("/.pulse-cookie"))) {
        qputenv("PULSE_COOKIE", "/dev/zero");
    }
}

QAudioDevice InputOfId(const QByteArray& id) {
    if (!id.isEmpty()) {
        for (const QAudioDevice& device : QMediaDevices::audioInputs()) {
            if (device.id() == id) {
                return device;
            }
        }
    }
    const QAudioDevice device = QMediaDevices::defaultAudioInput();
    if (device.isNull()) {
        throw AudioError("no sound input was found");
    }
    return device;
}

}  // namespace

struct QtAudioDevices::Capture {
    QAudioFormat Format;
    std::unique_ptr<QAudioSource> Source;
};

struct QtAudioDevices::Playback {
    std::unique_ptr<AudioFeed> Feed;
    std::unique_ptr<QAudioSink> Sink;
};

QtAudioDevices::QtAudioDevices() {
    KeepTheSoundCookieOutOfHome();
}

QtAudioDevices::~QtAudioDevices() {
    StopCapture();
    StopPlaying();
}

std::vector<AudioInput> QtAudioDevices::Inputs() {
    std::vector<AudioInput> inputs;
    const QAudioDevice chosen = QMediaDevices::defaultAudioInput();
    if (!chosen.isNull()) {
        inputs.push_back({{}, chosen.description()});
    }
    for (const QAudioDevice& device : QMediaDevices::audioInputs()) {
        if (device.id() != chosen.id()) {
            inputs.push_back({device.id(), device.description()});
        }
    }
    return inputs;
}

void QtAudioDevices::StartCapture(const QByteArray& inputId, int rate, Delivery deliver) {
    StopCapture();
    const QAudioDevice device = InputOfId(inputId);
    auto capture = std::make_unique<Capture>();
    capture->Format = MonoFormat(device, rate);
    capture->Source = std::make_unique<QAudioSource>(device, capture->Format);
    QIODevice* input = capture->Source->start();
    if (input == nullptr || capture->Source->error() != QAudio::NoError) {
        throw AudioError(
            QStringLiteral("cannot record from %1").arg(device.description()).toStdString());
    }
    const QAudioFormat format = capture->Format;
    QObject::connect(input, &QIODevice::readyRead, input,
                     [input, format, deliver = std::move(deliver)] {
                         const QByteArray bytes = input->readAll();
                         if (!bytes.isEmpty()) {
                             deliver(DecodeSamples(format, bytes));
                         }
                     });
    capture_ = std::move(capture);
}

void QtAudioDevices::StopCapture() {
    if (capture_) {
        capture_->Source->stop();
        capture_.reset();
    }
}

void QtAudioDevices::Play(MonoRecording sound, bool loop, std::function<void()> ended) {
    StopPlaying();
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull()) {
        throw AudioError("no sound output was found");
    }
    auto playback = std::make_unique<Playback>();
    const QAudioFormat format = MonoFormat(device, sound.SampleRate);
    playback->Feed = std::make_unique<AudioFeed>(std::move(sound), format, loop);
    playback->Sink = std::make_unique<QAudioSink>(device, format);
    QAudioSink* sink = playback->Sink.get();
    // A single play that has handed out its last byte goes idle; it is over
    // once the output's buffer has been heard too (stopping at once would
    // drop it).
    QObject::connect(
        sink, &QAudioSink::stateChanged, sink,
        [this, sink, format, ended = std::move(ended)](QAudio::State state) {
            const auto current = [this, sink] {
                return playback_ && playback_->Sink.get() == sink;
            };
            if (state != QAudio::IdleState || !current() || !playback_->Feed->atEnd()) {
                return;
            }
            const auto drain =
                std::chrono::microseconds(format.durationForBytes(sink->bufferSize()));
            QTimer::singleShot(std::chrono::duration_cast<std::chrono::milliseconds>(drain), sink,
                               [this, current, ended] {
                                   if (!current()) {
                                       return;
                                   }
                                   StopPlaying();
                                   if (ended) {
                                       ended();
                                   }
                               });
        });
    sink->start(playback->Feed.get());
    if (sink->error() != QAudio::NoError && sink->error() != QAudio::UnderrunError) {
        throw AudioError(
            QStringLiteral("cannot play on %1").arg(device.description()).toStdString());
    }
    playback_ = std::move(playback);
}

void QtAudioDevices::StopPlaying() {
    if (playback_) {
        // Dropped after the sink's signal that got here has returned.
        playback_->Sink->disconnect();
        playback_->Sink->stop();
        playback_->Sink.release()->deleteLater();
        playback_->Feed.release()->deleteLater();
        playback_.reset();
    }
}

std::optional<std::size_t> QtAudioDevices::PlayingAt() const {
    if (!playback_) {
        return std::nullopt;
    }
    const MonoRecording& sound = playback_->Feed->Sound();
    const auto played =
        static_cast<std::size_t>(playback_->Sink->processedUSecs() * sound.SampleRate / 1000000);
    if (sound.Samples.empty()) {
        return 0;
    }
    return playback_->Feed->Loops() ? played % sound.Samples.size()
                                    : std::min(played, sound.Samples.size() - 1);
}

}  // namespace tesmera
