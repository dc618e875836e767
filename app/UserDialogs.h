// Everything modal that a command may show. The window talks only to this
// interface, so tests can script the user's answers.
#pragma once

#include <optional>

#include <QString>

class QWidget;

namespace tesmera {

class UserDialogs {
  public:
    virtual ~UserDialogs() = default;

    // The program's own messages: caption "Warning", warning icon, one OK.
    virtual void ShowWarning(const QString& message) = 0;
    // An error that ended a command: caption = the application title, error
    // icon, one OK. The text already carries its closing full stop.
    virtual void ShowError(const QString& message) = 0;
    // The voice file to load, or nothing when the user cancels. The name need
    // not exist: the load then ends with "File not found".
    virtual std::optional<QString> ChooseVoiceFile() = 0;
};

// The real boxes and file dialog, modal to the given window.
class QtUserDialogs final : public UserDialogs {
  public:
    explicit QtUserDialogs(QWidget* owner) : owner_(owner) {}

    void ShowWarning(const QString& message) override;
    void ShowError(const QString& message) override;
    std::optional<QString> ChooseVoiceFile() override;

  private:
    QWidget* owner_;
};

}  // namespace tesmera
