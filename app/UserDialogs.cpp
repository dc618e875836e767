// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/UserDialogs.h"

#include "app/override_cursor.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>

namespace tesmera {

namespace {

void ShowMessageBox(QWidget* owner, QMessageBox::Icon icon, const QString& caption,
                    const QString& message) {
    QMessageBox box(icon, caption, message, QMessageBox::Ok, owner);
    // Messages carry file names and Czech texts, never markup.
    box.setTextFormat(Qt::PlainText);
    const IdleCursor idle;
    box.exec();
}

std::optional<QString> RunFileDialog(QFileDialog& dialog) {
    dialog.setSizeGripEnabled(true);
    const IdleCursor idle;
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().constFirst();
}

}  // namespace

QWidget* QtUserDialogs::Owner() const {
    QWidget* active = QApplication::activeWindow();
    return active != nullptr ? active : owner_;
}

void QtUserDialogs::ShowWarning(const QString& message) {
    ShowMessageBox(Owner(), QMessageBox::Warning, QStringLiteral("Warning"), message);
}

void QtUserDialogs::ShowError(const QString& message) {
    ShowMessageBox(Owner(), QMessageBox::Critical, QApplication::applicationName(), message);
}

std::optional<QString> QtUserDialogs::ChooseVoiceFile(const QString& startFolder) {
    QFileDialog dialog(Owner(), QString(), startFolder);
    dialog.setObjectName(QStringLiteral("OpenDialog1"));
    // AnyFile: a typed name that does not exist is handed to the load, which
    // then reports "File not found" like any other file error.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilter(QStringLiteral("[ * . wav ] (*.wav)"));
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    return RunFileDialog(dialog);
}

std::optional<QString> QtUserDialogs::ChooseRecording(const QString& startFolder) {
    QFileDialog dialog(Owner(), QStringLiteral("Open a Recording"), startFolder);
    dialog.setObjectName(QStringLiteral("RecordingDialog"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // The containers the recording reader opens; its refusal names any
    // sample format it cannot use.
    dialog.setNameFilters(
        {QStringLiteral("Recordings (*.wav *.flac *.aif *.aiff *.au *.caf *.w64)"),
         QStringLiteral("All files (*)")});
    return RunFileDialog(dialog);
}

std::optional<QString> QtUserDialogs::ChooseSavePath(const QString& proposedPath) {
    return ChooseWavToWrite(QStringLiteral("Save Period As"), QStringLiteral("SavePeriodDialog"),
                            proposedPath);
}

std::optional<QString> QtUserDialogs::ChooseTakePath(const QString& proposedPath) {
    return ChooseWavToWrite(QStringLiteral("Save Take As"), QStringLiteral("SaveTakeDialog"),
                            proposedPath);
}

std::optional<QString> QtUserDialogs::ChooseWavToWrite(const QString& title, const QString& name,
                                                       const QString& proposedPath) {
    QFileDialog dialog(Owner(), title);
    dialog.setObjectName(name);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(QStringLiteral("[ * . wav ] (*.wav)"));
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setDefaultSuffix(QStringLiteral("wav"));
    dialog.selectFile(proposedPath);
    return RunFileDialog(dialog);
}

std::optional<QString> QtUserDialogs::ChooseReportPdfPath(const QString& proposedPath) {
    QFileDialog dialog(Owner(), QStringLiteral("Save Report as PDF"));
    dialog.setObjectName(QStringLiteral("SaveReportDialog"));
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(QStringLiteral("PDF (*.pdf)"));
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    dialog.selectFile(proposedPath);
    return RunFileDialog(dialog);
}

bool QtUserDialogs::ChoosePrinter(QPrinter& printer) {
    QPrintDialog dialog(&printer, Owner());
    dialog.setObjectName(QStringLiteral("PrintDialog"));
    const IdleCursor idle;
    return dialog.exec() == QDialog::Accepted;
}

bool QtUserDialogs::ConfirmDiscard(const QString& question) {
    const IdleCursor idle;
    return QMessageBox::question(Owner(), QApplication::applicationName(), question,
                                 QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

}  // namespace tesmera
