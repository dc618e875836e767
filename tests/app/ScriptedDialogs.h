// Stands in for the user at the window's modal dialogs: answers the open
// dialog from a script and records every message box.
#pragma once

#include <deque>
#include <optional>
#include <vector>

#include <QApplication>
#include <QCursor>
#include <QString>

#include "app/UserDialogs.h"

namespace tesmera::testing {

struct ShownMessages {
    std::vector<QString> warnings;
    std::vector<QString> errors;
    // For every message, in order: the application's override cursor when
    // it was shown (nullopt: none, the window's own cursor).
    std::vector<std::optional<Qt::CursorShape>> cursors;
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

    // The next answers of the open dialog; nullopt is a cancel.
    void Choose(std::optional<QString> file) { answers_.push_back(std::move(file)); }

    void ShowWarning(const QString& message) override {
        shown_.warnings.push_back(message);
        shown_.cursors.push_back(CurrentOverrideCursor());
    }
    void ShowError(const QString& message) override {
        shown_.errors.push_back(message);
        shown_.cursors.push_back(CurrentOverrideCursor());
    }
    std::optional<QString> ChooseVoiceFile() override {
        if (answers_.empty()) {
            return std::nullopt;
        }
        std::optional<QString> answer = answers_.front();
        answers_.pop_front();
        return answer;
    }

  private:
    ShownMessages& shown_;
    std::deque<std::optional<QString>> answers_;
};

}  // namespace tesmera::testing
