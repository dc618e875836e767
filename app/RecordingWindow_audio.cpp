// SPDX-License-Identifier: GPL-3.0-or-later
// Listening to the recording and recording takes: the play buttons and
// Space, the line that follows what plays over the overview, and the take
// from the recorder that waits to be saved.
#include <algorithm>
#include <cmath>
#include <cstddef>

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>

#include "app/AudioDevices.h"
#include "app/RecordingOverview.h"
#include "app/RecordingWindow.h"
#include "app/native_file_name.h"
#include "recording/take_file.h"
#include "wave/OutputFile.h"
#include "wave/errors.h"

namespace tesmera {

namespace {

// How often the position line moves while playing, in milliseconds.
constexpr int PlayingFollowInterval = 40;

}  // namespace

QWidget* RecordingWindow::CreateAudioRow() {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    CreateAudioButton(row, tr("&Record..."), QStringLiteral("RecordButton"), [this] {
        if (record_) {
            record_();
        }
    });
    CreateAudioButton(row, tr("Play &whole"), QStringLiteral("PlayWholeButton"),
                      [this] { Play(PlayedPart::Whole); });
    CreateAudioButton(row, tr("Play s&tretch"), QStringLiteral("PlayStretchButton"),
                      [this] { Play(PlayedPart::Stretch); });
    CreateAudioButton(row, tr("Loop c&ycle"), QStringLiteral("LoopCycleButton"),
                      [this] { Play(PlayedPart::Cycle); });
    CreateAudioButton(row, tr("Save ta&ke as..."), QStringLiteral("SaveTakeButton"),
                      [this] { SaveTake(); });
    saveTakeButton_ = audioButtons_.back();
    saveTakeButton_->hide();
    layout->addStretch(1);
    playTimer_ = new QTimer(this);
    playTimer_->setInterval(PlayingFollowInterval);
    connect(playTimer_, &QTimer::timeout, this, &RecordingWindow::FollowPlaying);
    connect(new QShortcut(Qt::Key_Space, this), &QShortcut::activated, this,
            &RecordingWindow::PlayOrStop);
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_R), this), &QShortcut::activated,
            audioButtons_.front(), &QPushButton::click);
    return row;
}

void RecordingWindow::CreateAudioButton(QWidget* row, const QString& text, const QString& name,
                                        const std::function<void()>& command) {
    auto* button = new QPushButton(text, row);
    button->setObjectName(name);
    button->setAccessibleName(QString(text).remove(QLatin1Char('&')).remove(QStringLiteral("...")));
    button->setEnabled(false);
    // Queued like the other commands: a press returns before a dialog opens.
    connect(button, &QPushButton::clicked, this, command, Qt::QueuedConnection);
    row->layout()->addWidget(button);
    audioButtons_.push_back(button);
}

void RecordingWindow::AttachAudio(AudioDevices& audio, std::function<void()> record,
                                  std::shared_ptr<const MonoRecording> take) {
    audio_ = &audio;
    record_ = std::move(record);
    take_ = std::move(take);
    for (QPushButton* button : audioButtons_) {
        button->setEnabled(true);
    }
    saveTakeButton_->setVisible(take_ != nullptr);
    ShowTakeState();
}

void RecordingWindow::ShowTakeState() {
    if (TakeUnsaved()) {
        statusLine_->setText(tr("This take is not saved yet."));
    }
}

void RecordingWindow::Play(PlayedPart part) {
    if (audio_ == nullptr) {
        return;
    }
    StopPlaying();
    lastPlayed_ = part;
    try {
        audio_->Play(PlayedSound(part), part == PlayedPart::Cycle, [this] { FollowPlaying(); });
    } catch (const TesmeraError& error) {
        dialogs_.ShowError(QString::fromStdString(ErrorBoxText(error.what())));
        return;
    }
    playing_ = true;
    playTimer_->start();
}

void RecordingWindow::StopPlaying() {
    if (playing_) {
        playing_ = false;
        audio_->StopPlaying();
        playTimer_->stop();
        overview_->SetPlayingAt(std::nullopt);
    }
}

void RecordingWindow::PlayOrStop() {
    if (playing_) {
        StopPlaying();
    } else {
        Play(lastPlayed_);
    }
}

void RecordingWindow::FollowPlaying() {
    const std::optional<std::size_t> at = playing_ ? audio_->PlayingAt() : std::nullopt;
    if (!at) {
        playing_ = false;
        playTimer_->stop();
        overview_->SetPlayingAt(std::nullopt);
        return;
    }
    overview_->SetPlayingAt(static_cast<double>(playedFirst_ + *at));
}

MonoRecording RecordingWindow::PlayedSound(PlayedPart part) {
    playedFirst_ = 0;
    if (part == PlayedPart::Whole) {
        return WholeRecording();
    }
    std::size_t first = model_.StretchFirst;
    std::size_t end = model_.StretchFirst + model_.Stretch.size();
    if (part == PlayedPart::Cycle) {
        // The samples the cycle's marks enclose, within the stretch.
        const ReportedCycle& cycle = report_.Cycles[selected_];
        first = std::clamp(static_cast<std::size_t>(std::ceil(cycle.StartSample)), first, end);
        end = std::clamp(static_cast<std::size_t>(std::ceil(cycle.EndSample)), first, end);
    }
    playedFirst_ = first;
    const auto from =
        model_.Stretch.begin() + static_cast<std::ptrdiff_t>(first - model_.StretchFirst);
    return {model_.SampleRate, {from, from + static_cast<std::ptrdiff_t>(end - first)}};
}

// Read again when asked: the window keeps only what it draws of a file.
// TODO: feed the output from the file block by block, so playing an
// hour-long recording does not hold it whole the way this copy does.
MonoRecording RecordingWindow::WholeRecording() const {
    if (take_) {
        return *take_;
    }
    SoundFileReader reader(NativeFileName(path_));
    MonoRecording sound{reader.SampleRate(), {}};
    sound.Samples.reserve(reader.Frames());
    reader.ReadBlocks(0, reader.Frames(), [&sound](std::span<const double> block) {
        sound.Samples.insert(sound.Samples.end(), block.begin(), block.end());
    });
    return sound;
}

void RecordingWindow::SaveTake() {
    if (!take_) {
        return;
    }
    const std::optional<QString> chosen = dialogs_.ChooseTakePath(path_ + QStringLiteral(".wav"));
    if (!chosen) {
        return;
    }
    try {
        tesmera::SaveTake(NativeFileName(*chosen), *take_);
    } catch (const OutputFileError& error) {
        dialogs_.ShowError(QString::fromStdString(ErrorBoxText(error.what())));
        return;
    }
    takeSaved_ = true;
    path_ = *chosen;
    ShowTitle();
    statusLine_->setText(tr("Take saved as %1.").arg(*chosen));
}

void RecordingWindow::closeEvent(QCloseEvent* event) {
    if (TakeUnsaved() &&
        !dialogs_.ConfirmDiscard(tr("The take is not saved. Close the window and discard it?"))) {
        event->ignore();
        return;
    }
    // Closing is the one way a window goes before the main window: a sound
    // still playing would call back into it.
    StopPlaying();
    QWidget::closeEvent(event);
}

}  // namespace tesmera
