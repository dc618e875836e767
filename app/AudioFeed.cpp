// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/AudioFeed.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace tesmera {

bool IsSpokenFormat(const QAudioFormat& format) {
    return format.sampleFormat() == QAudioFormat::Int16 ||
           format.sampleFormat() == QAudioFormat::Float;
}

std::vector<double> DecodeSamples(const QAudioFormat& format, QByteArrayView bytes) {
    const int width = format.bytesPerSample();
    const int channels = std::max(1, format.channelCount());
    const qsizetype frames = width == 0 ? 0 : bytes.size() / (width * channels);
    std::vector<double> samples(static_cast<std::size_t>(frames));
    for (qsizetype frame = 0; frame < frames; ++frame) {
        double sum = 0;
        for (int channel = 0; channel < channels; ++channel) {
            sum +=
                format.normalizedSampleValue(bytes.data() + (frame * channels + channel) * width);
        }
        samples[static_cast<std::size_t>(frame)] = sum / channels;
    }
    return samples;
}

AudioFeed::AudioFeed(MonoRecording sound, QAudioFormat format, bool loop, QObject* parent)
    : QIODevice(parent), sound_(std::move(sound)), format_(format), loop_(loop) {
    open(QIODevice::ReadOnly);
}

bool AudioFeed::atEnd() const {
    return !loop_ && next_ >= sound_.Samples.size();
}

qint64 AudioFeed::bytesAvailable() const {
    const std::size_t left = loop_ ? sound_.Samples.size() : sound_.Samples.size() - next_;
    return static_cast<qint64>(left) * format_.bytesPerSample() + QIODevice::bytesAvailable();
}

qint64 AudioFeed::readData(char* data, qint64 maxSize) {
    const int width = format_.bytesPerSample();
    qint64 written = 0;
    while (written + width <= maxSize && !sound_.Samples.empty()) {
        if (next_ >= sound_.Samples.size()) {
            if (!loop_) {
                break;
            }
            next_ = 0;
        }
        Encode(sound_.Samples[next_++], data + written);
        written += width;
    }
    return written;
}

qint64 AudioFeed::writeData(const char*, qint64) {
    return -1;
}

void AudioFeed::Encode(double sample, char* target) const {
    const double clipped = std::clamp(sample, -1.0, 1.0);
    if (format_.sampleFormat() == QAudioFormat::Float) {
        const auto value = static_cast<float>(clipped);
        std::memcpy(target, &value, sizeof value);
    } else {
        const auto value = static_cast<std::int16_t>(std::lround(clipped * 32767));
        std::memcpy(target, &value, sizeof value);
    }
}

}  // namespace tesmera
