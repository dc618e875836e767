#include "app/UserDialogs.h"

#include "app/BusyCursor.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

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

}  // namespace

void QtUserDialogs::ShowWarning(const QString& message) {
    ShowMessageBox(owner_, QMessageBox::Warning, QStringLiteral("Warning"), message);
}

void QtUserDialogs::ShowError(const QString& message) {
    ShowMessageBox(owner_, QMessageBox::Critical, QApplication::applicationName(), message);
}

std::optional<QString> QtUserDialogs::ChooseVoiceFile() {
    QFileDialog dialog(owner_);
    dialog.setObjectName(QStringLiteral("OpenDialog1"));
    // AnyFile: a typed name that does not exist is handed to the load, which
    // then reports "File not found" like any other file error.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilter(QStringLiteral("[ * . wav ] (*.wav)"));
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setSizeGripEnabled(true);
    const IdleCursor idle;
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().constFirst();
}

}  // namespace tesmera
