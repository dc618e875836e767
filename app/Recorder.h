// SPDX-License-Identifier: GPL-3.0-or-later
// The recorder: captures one take of a sustained vowel from an input the
// user picks, showing the live waveform, the level with its held peak,
// whether the input clipped and the noise floor of the first second. Space
// starts and stops; a stopped take ends the dialog as accepted, and Take()
// hands it over.
#pragma once

#include <optional>
#include <span>

#include <QDialog>

#include "app/AudioDevices.h"
#include "app/UserDialogs.h"
#include "recording/input_level.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace tesmera {

class RecorderLevelMeter;
class RecorderWaveform;

// The rates a take may have, in Hz; the first is proposed.
constexpr int TakeRates[] = {44100, 48000};

class Recorder : public QDialog {
    Q_OBJECT
  public:
    // `audio` and `dialogs` outlive the recorder.
    Recorder(AudioDevices& audio, UserDialogs& dialogs, QWidget* parent = nullptr);

    bool Recording() const { return capturing_; }
    // Starts a take, or stops it and accepts the dialog.
    void StartOrStop();
    // The take once the dialog is accepted; moved out.
    MonoRecording Take() { return std::move(take_); }

    void reject() override;

  private:
    QWidget* CreateChoices();
    QWidget* CreateFigures();
    void Start();
    void Stop();
    void Receive(std::span<const double> block);
    void ShowFigures();
    void ShowState(const QString& state);

    AudioDevices& audio_;
    UserDialogs& dialogs_;
    std::optional<InputLevelMeter> meter_;
    bool capturing_ = false;
    MonoRecording take_;

    QComboBox* inputs_ = nullptr;
    QComboBox* rates_ = nullptr;
    RecorderWaveform* waveform_ = nullptr;
    RecorderLevelMeter* levelMeter_ = nullptr;
    QLabel* levelLine_ = nullptr;
    QLabel* noiseLine_ = nullptr;
    QLabel* clipping_ = nullptr;
    QLabel* state_ = nullptr;
    QPushButton* startStop_ = nullptr;
};

}  // namespace tesmera
