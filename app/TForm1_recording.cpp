// SPDX-License-Identifier: GPL-3.0-or-later
// Recordings of a sustained vowel: the dialog that opens one, the report
// that decides whether it can be shown, and the window that shows it.
#include <QApplication>
#include <QFile>

#include "app/AudioDevices.h"
#include "app/CommandQueue.h"
#include "app/Recorder.h"
#include "app/RecordingAnalysis.h"
#include "app/RecordingProgress.h"
#include "app/RecordingWindow.h"
#include "app/TForm1.h"
#include "app/recording_texts.h"
#include "wave/errors.h"

namespace tesmera {

void TForm1::SpeedButton4Click() {
    const std::optional<QString> chosen = dialogs_->ChooseRecording(lastFolder_);
    if (!chosen) {
        return;
    }
    RememberFolderOf(*chosen);
    OpenRecording(*chosen);
}

void TForm1::CreateRecordingAnalysis() {
    recordings_ = new RecordingAnalysis(this);
    // The progress ends before the result is shown, so an error box never
    // comes up under the busy cursor.
    new RecordingProgress(*recordings_, *this);
    connect(recordings_, &RecordingAnalysis::Finished, this, &TForm1::ShowRecording);
}

void TForm1::OpenRecording(const QString& path) {
    recordings_->Start(path);
}

AudioDevices& TForm1::Audio() {
    if (!audio_) {
        audio_ = std::make_unique<QtAudioDevices>();
    }
    return *audio_;
}

void TForm1::RecordTake() {
    auto* recorder =
        new Recorder(Audio(), *dialogs_,
                     QApplication::activeWindow() != nullptr ? QApplication::activeWindow() : this);
    recorder->setAttribute(Qt::WA_DeleteOnClose);
    connect(recorder, &QDialog::accepted, this, [this, recorder] { OpenTake(recorder->Take()); });
    recorder->open();
}

void TForm1::OpenTake(MonoRecording take) {
    recordings_->StartTake(tr("New take"), std::make_shared<const MonoRecording>(std::move(take)));
}

void TForm1::ShowRecording(const AnalysedRecording& result) {
    if (!result.Model) {
        dialogs_->ShowError(QString::fromStdString(ErrorBoxText(result.Error)));
        return;
    }
    if (const QString reason = UnshowableReason(result.Model->Report); !reason.isEmpty()) {
        dialogs_->ShowError(reason);
        return;
    }
    auto* window = new RecordingWindow(
        result.Path, std::move(*result.Model), *dialogs_,
        [this](const QString& fileName, std::span<const std::int16_t> period) {
            // The period is copied: the load runs after the press returns.
            std::vector<std::int16_t> samples(period.begin(), period.end());
            commands_->Request([this, fileName, samples = std::move(samples)] {
                LoadPeriod(fileName, samples);
                // The user computes next, so the keyboard goes where F9 works.
                raise();
                activateWindow();
            });
        },
        this);
    window->AttachAudio(
        Audio(), [this] { Request(&TForm1::RecordTake); }, result.Take);
    window->PlaceBeside(*this);
    window->show();
}

}  // namespace tesmera
