// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/RecordingProgress.h"

#include <cmath>

#include <QFileInfo>
#include <QProgressDialog>
#include <QShortcut>
#include <QWidget>

#include "app/RecordingAnalysis.h"

namespace tesmera {

namespace {

// A recording opened faster than this never shows the progress window.
constexpr int ProgressDelayMs = 400;
constexpr int ProgressSteps = 100;

}  // namespace

RecordingProgress::RecordingProgress(RecordingAnalysis& analysis, QWidget& window)
    : QObject(&window), analysis_(analysis), window_(window) {
    escape_ = new QShortcut(QKeySequence(Qt::Key_Escape), &window);
    escape_->setEnabled(false);
    connect(escape_, &QShortcut::activated, this, &RecordingProgress::Cancel);
    connect(&analysis, &RecordingAnalysis::Started, this, &RecordingProgress::Begin);
    connect(&analysis, &RecordingAnalysis::Progressed, this, &RecordingProgress::Show);
    connect(&analysis, &RecordingAnalysis::Finished, this, &RecordingProgress::End);
}

void RecordingProgress::Begin(const QString& path) {
    End();
    cursor_.emplace();
    escape_->setEnabled(true);
    dialog_ = new QProgressDialog(tr("Reading %1...").arg(QFileInfo(path).fileName()), tr("Cancel"),
                                  0, ProgressSteps, &window_);
    dialog_->setObjectName(QStringLiteral("RecordingProgress"));
    dialog_->setWindowTitle(QStringLiteral("Tesmera"));
    dialog_->setWindowModality(Qt::NonModal);
    // Kept up after the reading, while the report of the stretch is made.
    dialog_->setAutoReset(false);
    dialog_->setAutoClose(false);
    dialog_->setMinimumDuration(ProgressDelayMs);
    connect(dialog_, &QProgressDialog::canceled, this, &RecordingProgress::Cancel);
    dialog_->setValue(0);
}

void RecordingProgress::Show(double share) {
    if (dialog_ != nullptr) {
        dialog_->setValue(static_cast<int>(std::lround(share * ProgressSteps)));
    }
}

void RecordingProgress::End() {
    if (dialog_ != nullptr) {
        // Not deleted at once: End may run inside the dialog's own signal.
        dialog_->disconnect(this);
        dialog_->hide();
        dialog_->deleteLater();
        dialog_ = nullptr;
    }
    escape_->setEnabled(false);
    cursor_.reset();
}

void RecordingProgress::Cancel() {
    analysis_.Cancel();
    End();
}

}  // namespace tesmera
