// SPDX-License-Identifier: GPL-3.0-or-later
// The bytes an audio output reads: a mono sound encoded in the output's
// sample format, once or over and over. Also the decoding of what an input
// delivers. Only 16-bit integers and 32-bit floats are spoken; the devices
// are asked for one of them.
#pragma once

#include <vector>

#include <QAudioFormat>
#include <QIODevice>

#include "recording/sound_input.h"

namespace tesmera {

// Whether the feed speaks `format`.
bool IsSpokenFormat(const QAudioFormat& format);
// Mono samples, full scale ±1, of whole frames of `bytes` (channels mixed).
std::vector<double> DecodeSamples(const QAudioFormat& format, QByteArrayView bytes);

class AudioFeed final : public QIODevice {
    Q_OBJECT
  public:
    // `format` is mono and spoken; the feed opens for reading.
    AudioFeed(MonoRecording sound, QAudioFormat format, bool loop, QObject* parent = nullptr);

    const MonoRecording& Sound() const { return sound_; }
    bool Loops() const { return loop_; }
    bool atEnd() const override;
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override;

  protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 maxSize) override;

  private:
    void Encode(double sample, char* target) const;

    MonoRecording sound_;
    QAudioFormat format_;
    bool loop_;
    std::size_t next_ = 0;  // the next sample handed out
};

}  // namespace tesmera
