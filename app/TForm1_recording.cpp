// SPDX-License-Identifier: GPL-3.0-or-later
// Recordings of a sustained vowel: the dialog that opens one, the report
// that decides whether it can be shown, and the window that shows it.
#include <stdexcept>

#include <QFile>

#include "app/CommandQueue.h"
#include "app/RecordingWindow.h"
#include "app/TForm1.h"
#include "app/recording_texts.h"
#include "recording/sound_input.h"
#include "recording/voice_report.h"
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

void TForm1::OpenRecording(const QString& path) {
    MonoRecording recording;
    VoiceReport report;
    try {
        recording = ReadMonoRecording(QFile::encodeName(path).toStdString());
        report = ReportVoice(recording.Samples, recording.SampleRate);
    } catch (const std::runtime_error& error) {
        // The reader's refusal (RecordingError) or the rate converter's.
        dialogs_->ShowError(QString::fromStdString(ErrorBoxText(error.what())));
        return;
    }
    if (const QString reason = UnshowableReason(report); !reason.isEmpty()) {
        dialogs_->ShowError(reason);
        return;
    }
    auto* window = new RecordingWindow(
        path, std::move(recording), std::move(report), *dialogs_,
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
    window->PlaceBeside(*this);
    window->show();
}

}  // namespace tesmera
