// SPDX-License-Identifier: GPL-3.0-or-later
// Stands in for the sound devices: the test delivers the input's blocks
// and reads what was played.
#pragma once

#include "app/AudioDevices.h"

namespace tesmera::testing {

class ScriptedAudio final : public AudioDevices {
  public:
    std::vector<AudioInput> Inputs() override {
        return {{{}, QStringLiteral("Default input")}, {"usb", QStringLiteral("USB microphone")}};
    }
    void StartCapture(const QByteArray& inputId, int rate, Delivery deliver) override {
        captureInput = inputId;
        captureRate = rate;
        deliver_ = std::move(deliver);
    }
    void StopCapture() override { deliver_ = nullptr; }
    void Play(MonoRecording sound, bool loop, std::function<void()>) override {
        played = std::move(sound);
        looped = loop;
        playing = true;
    }
    void StopPlaying() override { playing = false; }
    std::optional<std::size_t> PlayingAt() const override {
        return playing ? std::optional<std::size_t>(0) : std::nullopt;
    }

    bool Capturing() const { return deliver_ != nullptr; }
    void Deliver(std::span<const double> block) const { deliver_(block); }

    QByteArray captureInput;
    int captureRate = 0;
    MonoRecording played;
    bool looped = false;
    bool playing = false;

  private:
    Delivery deliver_;
};

}  // namespace tesmera::testing
