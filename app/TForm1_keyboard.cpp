// SPDX-License-Identifier: GPL-3.0-or-later
// Keyboard and assistive access: the shortcuts, the queue every command
// request goes through, and the descriptions a screen reader announces.
#include <QKeySequence>
#include <QShortcut>
#include <QStringList>
#include <QToolButton>

#include "app/CommandQueue.h"
#include "app/TForm1.h"
#include "app/TImage.h"
#include "chart/TBarSeries.h"
#include "chart/TChartControl.h"

namespace tesmera {

namespace {

QString KeyText(const QKeySequence& keys) {
    return keys.toString(QKeySequence::NativeText);
}

const QKeySequence LoadKeys(Qt::CTRL | Qt::Key_O);
const QKeySequence ComputeKeys(Qt::Key_F9);
const QKeySequence ComputeKeysAlternative(Qt::CTRL | Qt::Key_Return);
const QKeySequence RecordingKeys(Qt::CTRL | Qt::SHIFT | Qt::Key_O);
const QKeySequence CloseKeys(Qt::CTRL | Qt::Key_Q);
const QKeySequence RecordKeys(Qt::CTRL | Qt::Key_R);

}  // namespace

void TForm1::Request(void (TForm1::*command)()) {
    commands_->Request([this, command] { (this->*command)(); });
}

void TForm1::AddShortcut(const QKeySequence& keys, void (TForm1::*command)()) {
    // The window's own context: the keys work whichever control has focus.
    auto* shortcut = new QShortcut(keys, this);
    connect(shortcut, &QShortcut::activated, this, [this, command] { Request(command); });
}

void TForm1::CreateShortcuts() {
    commands_ = new CommandQueue(this);
    connect(SpeedButton1, &QToolButton::clicked, this,
            [this] { Request(&TForm1::SpeedButton1Click); });
    connect(SpeedButton3, &QToolButton::clicked, this,
            [this] { Request(&TForm1::SpeedButton3Click); });
    connect(SpeedButton4, &QToolButton::clicked, this,
            [this] { Request(&TForm1::SpeedButton4Click); });
    AddShortcut(LoadKeys, &TForm1::SpeedButton1Click);
    AddShortcut(ComputeKeys, &TForm1::SpeedButton3Click);
    AddShortcut(ComputeKeysAlternative, &TForm1::SpeedButton3Click);
    AddShortcut(RecordingKeys, &TForm1::SpeedButton4Click);
    AddShortcut(RecordKeys, &TForm1::RecordTake);
    // Closing needs no queue: it starts no command and shows no dialog.
    connect(new QShortcut(CloseKeys, this), &QShortcut::activated, this, &QWidget::close);

    SpeedButton1->setAccessibleDescription(
        tr("Loads a voice period file. Shortcut: %1").arg(KeyText(LoadKeys)));
    SpeedButton3->setAccessibleDescription(
        tr("Computes the Fourier series, the harmonic amplitudes and the scores. Shortcut: "
           "%1 or %2")
            .arg(KeyText(ComputeKeys), KeyText(ComputeKeysAlternative)));
    SpeedButton4->setAccessibleDescription(
        tr("Opens a recording of a sustained vowel in a window of its own. Shortcut: %1")
            .arg(KeyText(RecordingKeys)));
    setAccessibleDescription(tr("%1 closes the window").arg(KeyText(CloseKeys)));
}

// "AA1 11549.8, AA2 1140.3, ...": the bars as a screen reader can say them.
void TForm1::DescribeChart() {
    QStringList bars;
    for (int i = 0; i < BarSeries1->NumPoints(); ++i) {
        bars << QStringLiteral("AA%1 %2").arg(i + 1).arg(Fixed(BarSeries1->PointY(i), 14, 1));
    }
    Chart1->setAccessibleDescription(bars.join(QStringLiteral(", ")));
}

void TForm1::DescribeOscilloscope(const QString& description) {
    Image1->setAccessibleDescription(description);
}

}  // namespace tesmera
