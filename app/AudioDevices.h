// SPDX-License-Identifier: GPL-3.0-or-later
// The sound hardware, as the recorder and the recording window use it:
// which inputs there are, capturing from one, and playing a sound. The
// windows talk only to this interface, so tests can script the devices; the
// real one goes through Qt Multimedia to PulseAudio or PipeWire.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include <QByteArray>
#include <QString>

#include "base/TesmeraError.h"
#include "recording/sound_input.h"

namespace tesmera {

// A device that cannot be opened or refuses the format; the message says
// which and why, for the user.
class AudioError : public TesmeraError {
  public:
    explicit AudioError(const std::string& message) : TesmeraError(message) {}
};

struct AudioInput {
    QByteArray Id;  // empty for the system's default input
    QString Name;   // as the system describes it
};

class AudioDevices {
  public:
    // Consecutive mono blocks, full scale ±1.
    using Delivery = std::function<void(std::span<const double> block)>;

    virtual ~AudioDevices() = default;

    // The inputs the system offers, the default one first.
    virtual std::vector<AudioInput> Inputs() = 0;
    // Captures mono at `rate` Hz from the input of that id (the default one
    // for an empty id) until StopCapture; `deliver` is called on the
    // caller's thread. Throws AudioError.
    virtual void StartCapture(const QByteArray& inputId, int rate, Delivery deliver) = 0;
    virtual void StopCapture() = 0;

    // Plays `sound` on the default output from its start, once or over and
    // over, in place of anything playing; `ended` is called when a single
    // play has been handed out whole. Throws AudioError.
    virtual void Play(MonoRecording sound, bool loop, std::function<void()> ended) = 0;
    virtual void StopPlaying() = 0;
    // The sample of the sound being played; nothing when none plays.
    virtual std::optional<std::size_t> PlayingAt() const = 0;
};

// The devices through Qt Multimedia.
class QtAudioDevices final : public AudioDevices {
  public:
    QtAudioDevices();
    ~QtAudioDevices() override;

    std::vector<AudioInput> Inputs() override;
    void StartCapture(const QByteArray& inputId, int rate, Delivery deliver) override;
    void StopCapture() override;
    void Play(MonoRecording sound, bool loop, std::function<void()> ended) override;
    void StopPlaying() override;
    std::optional<std::size_t> PlayingAt() const override;

  private:
    struct Capture;
    struct Playback;
    std::unique_ptr<Capture> capture_;
    std::unique_ptr<Playback> playback_;
};

}  // namespace tesmera
