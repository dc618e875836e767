// SPDX-License-Identifier: GPL-3.0-or-later
// Files from outside the window: the command line and drops, and the folder
// the next file dialog starts in.
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

#include "app/CommandQueue.h"
#include "app/TForm1.h"
#include "app/native_file_name.h"
#include "app/override_cursor.h"
#include "wave/errors.h"
#include "wave/period_file.h"

namespace tesmera {

namespace {

// The local files among dropped URLs; empty when any of them is not one.
QStringList LocalFiles(const QMimeData* data) {
    QStringList paths;
    if (data == nullptr || !data->hasUrls()) {
        return paths;
    }
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile()) {
            return {};
        }
        paths << url.toLocalFile();
    }
    return paths;
}

}  // namespace

void TForm1::OpenFiles(const QStringList& paths) {
    if (paths.size() != 1) {
        if (!paths.isEmpty()) {
            dialogs_->ShowWarning(
                tr("Tesmera opens one file at a time; %1 files were given.").arg(paths.size()));
        }
        return;
    }
    OpenFile(paths.constFirst());
}

void TForm1::OpenFromOutside(const std::vector<std::string>& files) {
    setWindowState(windowState() & ~Qt::WindowMinimized);
    raise();
    activateWindow();
    if (files.empty()) {
        return;
    }
    QStringList paths;
    for (const std::string& file : files) {
        // Shown as Qt shows names; the open finds the native name again.
        paths.append(QFile::decodeName(file.c_str()));
    }
    commands_->Request([this, paths] { OpenFiles(paths); });
}

void TForm1::OpenFile(const QString& path) {
    bool period = false;
    try {
        // The check reads up to the whole header search of a large file; the
        // error box after it is no longer work in progress.
        const BusyCursor busy;
        period = IsVoicePeriodFile(NativeFileName(path));
    } catch (const FileError& error) {
        dialogs_->ShowError(
            QString::fromStdString(ErrorBoxText(path.toStdString() + ": " + error.what())));
        return;
    }
    RememberFolderOf(path);
    if (period) {
        RunCommand([&] {
            StartLoad();
            LoadVoiceFile(path);
        });
    } else {
        OpenRecording(path);
    }
}

void TForm1::RememberFolderOf(const QString& path) {
    lastFolder_ = QFileInfo(path).absolutePath();
}

void TForm1::dragEnterEvent(QDragEnterEvent* event) {
    if (!LocalFiles(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void TForm1::dropEvent(QDropEvent* event) {
    const QStringList paths = LocalFiles(event->mimeData());
    if (paths.isEmpty()) {
        return;
    }
    event->acceptProposedAction();
    // The drag source waits for the drop to return, so the file opens after.
    commands_->Request([this, paths] { OpenFiles(paths); });
}

}  // namespace tesmera
