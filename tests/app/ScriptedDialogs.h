// SPDX-License-Identifier: GPL-3.0-or-later
// Stands in for the user at the window's modal dialogs: answers the file
// dialogs from a script and records every message box and where each file
// dialog started.
#pragma once

#include <deque>
#include <optional>
#include <utility>
#include <vector>

#include <QApplication>
#include <QCursor>
#include <QPrinter>
#include <QString>

#include "app/UserDialogs.h"

namespace tesmera::testing {

struct ShownMessages {
    std::vector<QString> warnings;
    std::vector<QString> errors;
    // Each file dialog in order: which one ("voice", "recording", "save",
    // "report", or "print" for the print dialog)
    // and its start folder or proposed path.
    std::vector<std::pair<QString, QString>> fileDialogs;
    // For every message, in order: the application's override cursor when
    // it was shown (nullopt: none, the window's own cursor).
    std::vector<std::optional<Qt::CursorShape>> cursors;
    // Every question whether to discard something, in order.
    std::vector<QString> questions;
};

inline std::optional<Qt::CursorShape> CurrentOverrideCursor() {
    const QCursor* cursor = QApplication::overrideCursor();
    return cursor ? std::optional(cursor->shape()) : std::nullopt;
}

class ScriptedDialogs final : public UserDialogs {
  public:
    // The window owns its dialogs; the test keeps reading what was shown
    // through the shared record.
    explicit ScriptedDialogs(ShownMessages& shown) : shown_(shown) {}

    // The next answers of the file dialogs, whichever opens; nullopt is a
    // cancel, and so is a dialog without a scripted answer.
    void Choose(std::optional<QString> file) { answers_.push_back(std::move(file)); }
    // The answer to every question whether to discard something (no until set).
    void AgreeToDiscard(bool agree) { agreeToDiscard_ = agree; }

    void ShowWarning(const QString& message) override {
        shown_.warnings.push_back(message);
        shown_.cursors.push_back(CurrentOverrideCursor());
    }
    void ShowError(const QString& message) override {
        shown_.errors.push_back(message);
        shown_.cursors.push_back(CurrentOverrideCursor());
    }
    std::optional<QString> ChooseVoiceFile(const QString& startFolder) override {
        return Answer("voice", startFolder);
    }
    std::optional<QString> ChooseRecording(const QString& startFolder) override {
        return Answer("recording", startFolder);
    }
    std::optional<QString> ChooseSavePath(const QString& proposedPath) override {
        return Answer("save", proposedPath);
    }
    std::optional<QString> ChooseReportPdfPath(const QString& proposedPath) override {
        return Answer("report", proposedPath);
    }
    // The scripted answer names the PDF file the printer prints into.
    bool ChoosePrinter(QPrinter& printer) override {
        const std::optional<QString> file = Answer("print", QString());
        if (file) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(*file);
        }
        return file.has_value();
    }
    std::optional<QString> ChooseTakePath(const QString& proposedPath) override {
        return Answer("take", proposedPath);
    }
    bool ConfirmDiscard(const QString& question) override {
        shown_.questions.push_back(question);
        return agreeToDiscard_;
    }

  private:
    std::optional<QString> Answer(const char* dialog, const QString& start) {
        shown_.fileDialogs.emplace_back(QString::fromLatin1(dialog), start);
        if (answers_.empty()) {
            return std::nullopt;
        }
        // Swapped out rather than copied: GCC 12 takes a copy of an
        // optional QString for one that may be uninitialised.
        std::optional<QString> answer;
        answer.swap(answers_.front());
        answers_.pop_front();
        return answer;
    }

    ShownMessages& shown_;
    std::deque<std::optional<QString>> answers_;
    bool agreeToDiscard_ = false;
};

}  // namespace tesmera::testing
