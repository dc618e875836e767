// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Recorder.h"

#include <cmath>

#include <QAccessible>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include "app/RecorderLevelMeter.h"
#include "app/RecorderWaveform.h"
#include "wave/errors.h"

namespace tesmera {

namespace {

// How much input the live waveform shows, in seconds.
constexpr double WaveformSeconds = 5.0;

// Shows `text` on a label named for what it shows, and tells assistive
// technology when it changed (as the description under the fixed name), so
// a screen reader says it without the user moving there. The figures are in
// whole decibels, so it speaks only when a figure really moves, not once a
// block.
void ShowAnnounced(QLabel* label, const QString& text) {
    if (label->text() == text) {
        return;
    }
    label->setText(text);
    label->setAccessibleDescription(text);
    QAccessibleEvent changed(label, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&changed);
}

QString WholeDecibels(double dbfs) {
    return QString::number(std::lround(dbfs));
}

}  // namespace

Recorder::Recorder(AudioDevices& audio, UserDialogs& dialogs, QWidget* parent)
    : QDialog(parent), audio_(audio), dialogs_(dialogs) {
    setObjectName(QStringLiteral("Recorder"));
    setWindowTitle(tr("Record"));
    auto* layout = new QVBoxLayout(this);
    auto* guide =
        new QLabel(tr("Sustain /a/ at a comfortable pitch and loudness for 3 to 5 seconds"), this);
    guide->setObjectName(QStringLiteral("Guide"));
    layout->addWidget(guide);
    layout->addWidget(CreateChoices());
    waveform_ = new RecorderWaveform(WaveformSeconds, this);
    layout->addWidget(waveform_, 1);
    layout->addWidget(CreateFigures());
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    startStop_ = buttons->addButton(tr("&Record"), QDialogButtonBox::ActionRole);
    startStop_->setObjectName(QStringLiteral("StartStop"));
    startStop_->setAccessibleName(tr("Record"));
    startStop_->setAccessibleDescription(tr("Space starts and stops"));
    buttons->button(QDialogButtonBox::Cancel)->setAccessibleName(tr("Cancel"));
    connect(startStop_, &QPushButton::clicked, this, &Recorder::StartOrStop);
    connect(buttons, &QDialogButtonBox::rejected, this, &Recorder::reject);
    layout->addWidget(buttons);
    connect(new QShortcut(Qt::Key_Space, this), &QShortcut::activated, this,
            &Recorder::StartOrStop);
    ShowState(tr("Stopped"));
    ShowFigures();
}

QWidget* Recorder::CreateChoices() {
    auto* choices = new QWidget(this);
    auto* form = new QFormLayout(choices);
    form->setContentsMargins(0, 0, 0, 0);
    inputs_ = new QComboBox(choices);
    inputs_->setObjectName(QStringLiteral("InputDevice"));
    inputs_->setAccessibleName(tr("Input device"));
    for (const AudioInput& input : audio_.Inputs()) {
        inputs_->addItem(input.Name, input.Id);
    }
    rates_ = new QComboBox(choices);
    rates_->setObjectName(QStringLiteral("SampleRate"));
    rates_->setAccessibleName(tr("Sample rate"));
    for (const int rate : TakeRates) {
        rates_->addItem(tr("%1 Hz, mono").arg(rate), rate);
    }
    form->addRow(tr("Input &device"), inputs_);
    form->addRow(tr("&Sample rate"), rates_);
    return choices;
}

QWidget* Recorder::CreateFigures() {
    auto* figures = new QWidget(this);
    auto* layout = new QVBoxLayout(figures);
    layout->setContentsMargins(0, 0, 0, 0);
    levelMeter_ = new RecorderLevelMeter(figures);
    // The bar draws what the level line says.
    levelMeter_->setAccessibleName(tr("Level meter"));
    levelMeter_->setAccessibleDescription(
        tr("Level from -60 to 0 dBFS, a mark at the held peak, red once the input clipped"));
    levelLine_ = new QLabel(figures);
    levelLine_->setObjectName(QStringLiteral("LevelLine"));
    levelLine_->setAccessibleName(tr("Input level"));
    noiseLine_ = new QLabel(figures);
    noiseLine_->setObjectName(QStringLiteral("NoiseFloor"));
    noiseLine_->setAccessibleName(tr("Noise floor"));
    clipping_ = new QLabel(tr("Clipping"), figures);
    clipping_->setObjectName(QStringLiteral("Clipping"));
    clipping_->setAccessibleName(tr("Clipping"));
    clipping_->setStyleSheet(QStringLiteral("QLabel { color: white; background: #c00000; }"));
    clipping_->hide();
    state_ = new QLabel(figures);
    state_->setObjectName(QStringLiteral("RecorderState"));
    state_->setAccessibleName(tr("Recorder state"));
    for (QWidget* widget : {static_cast<QWidget*>(levelMeter_), static_cast<QWidget*>(levelLine_),
                            static_cast<QWidget*>(noiseLine_), static_cast<QWidget*>(clipping_),
                            static_cast<QWidget*>(state_)}) {
        layout->addWidget(widget);
    }
    return figures;
}

void Recorder::StartOrStop() {
    if (capturing_) {
        Stop();
    } else {
        Start();
    }
}

void Recorder::Start() {
    const int rate = rates_->currentData().toInt();
    meter_.emplace(rate);
    take_ = {rate, {}};
    waveform_->Restart(rate);
    try {
        audio_.StartCapture(inputs_->currentData().toByteArray(), rate,
                            [this](std::span<const double> block) { Receive(block); });
    } catch (const AudioError& error) {
        dialogs_.ShowError(QString::fromStdString(ErrorBoxText(error.what())));
        return;
    }
    capturing_ = true;
    inputs_->setEnabled(false);
    rates_->setEnabled(false);
    startStop_->setText(tr("S&top"));
    startStop_->setAccessibleName(tr("Stop"));
    ShowState(tr("Recording"));
    ShowFigures();
}

void Recorder::Stop() {
    audio_.StopCapture();
    capturing_ = false;
    ShowState(tr("Stopped"));
    if (!take_.Samples.empty()) {
        accept();
    }
}

void Recorder::reject() {
    if (capturing_) {
        audio_.StopCapture();
        capturing_ = false;
    }
    QDialog::reject();
}

void Recorder::Receive(std::span<const double> block) {
    take_.Samples.insert(take_.Samples.end(), block.begin(), block.end());
    meter_->Feed(block);
    waveform_->Append(block);
    ShowFigures();
}

void Recorder::ShowFigures() {
    const InputLevel level = meter_ ? meter_->Level() : InputLevel{};
    levelMeter_->Show(level);
    ShowAnnounced(levelLine_,
                  tr("Level %1 dBFS, peak %2 dBFS")
                      .arg(WholeDecibels(level.LevelDbfs), WholeDecibels(level.PeakHeldDbfs)));
    ShowAnnounced(noiseLine_,
                  level.NoiseFloorDbfs
                      ? tr("Noise floor %1 dBFS").arg(WholeDecibels(*level.NoiseFloorDbfs))
                      : tr("Noise floor: measured during the first second"));
    if (level.Clipped && clipping_->isHidden()) {
        clipping_->show();
        ShowState(tr("Recording, clipping"));
    }
}

void Recorder::ShowState(const QString& state) {
    ShowAnnounced(state_, state);
}

}  // namespace tesmera
