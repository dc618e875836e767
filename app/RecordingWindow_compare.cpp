// SPDX-License-Identifier: GPL-3.0-or-later
// The recording window's "Compare with...": another recording of the same
// voice, analysed as the window's own was, beside this one.
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>

#include "app/ComparisonWindow.h"
#include "app/RecordingAnalysis.h"
#include "app/RecordingWindow.h"

namespace tesmera {

QPushButton* RecordingWindow::CreateCompareButton(QWidget* parent) {
    compared_ = new RecordingAnalysis(this);
    connect(compared_, &RecordingAnalysis::Finished, this, &RecordingWindow::ShowComparison);
    compareButton_ = new QPushButton(tr("Co&mpare with..."), parent);
    compareButton_->setObjectName(QStringLiteral("CompareButton"));
    compareButton_->setAccessibleName(tr("Compare with"));
    compareButton_->setAccessibleDescription(
        tr("Compare this recording (before) with another of the same voice (after)"));
    // Queued like the other commands: the press returns before the dialog.
    connect(compareButton_, &QPushButton::clicked, this, &RecordingWindow::CompareWithAnother,
            Qt::QueuedConnection);
    return compareButton_;
}

void RecordingWindow::CompareWithAnother() {
    const std::optional<QString> chosen = dialogs_.ChooseRecording(QFileInfo(path_).absolutePath());
    if (!chosen) {
        return;
    }
    compareButton_->setEnabled(false);
    statusLine_->setText(tr("Reading %1 to compare...").arg(QFileInfo(*chosen).fileName()));
    compared_->Start(*chosen);
}

void RecordingWindow::ShowComparison(const AnalysedRecording& result) {
    compareButton_->setEnabled(true);
    statusLine_->clear();
    if (!result.Model) {
        dialogs_.ShowError(tr("%1: %2.").arg(result.Path, QString::fromStdString(result.Error)));
        return;
    }
    if (!result.Model->Report.Ok()) {
        dialogs_.ShowWarning(tr("%1 cannot be compared: %2.")
                                 .arg(QFileInfo(result.Path).fileName(),
                                      QString::fromStdString(result.Model->Report.Outcome.Text)));
        return;
    }
    auto* window = new ComparisonWindow(path_, model_, result.Path, result.Model, this);
    window->show();
}

}  // namespace tesmera
