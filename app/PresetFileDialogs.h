// SPDX-License-Identifier: GPL-3.0-or-later
// The window's dialogs when it was started with a file to open: the first
// question for a voice file is answered with that file, everything else is
// asked of the user as usual.
#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "app/UserDialogs.h"

namespace tesmera {

class PresetFileDialogs final : public UserDialogs {
  public:
    // The dialogs that show every box and every later file dialog, made on
    // first need: the real ones are modal to the window, which is built
    // after this object and before any box can show.
    using InnerFactory = std::function<std::unique_ptr<UserDialogs>()>;

    PresetFileDialogs(QString voiceFile, InnerFactory makeInner);

    void ShowWarning(const QString& message) override;
    void ShowError(const QString& message) override;
    std::optional<QString> ChooseVoiceFile() override;

  private:
    UserDialogs& Inner();

    std::optional<QString> presetFile_;
    InnerFactory makeInner_;
    std::unique_ptr<UserDialogs> inner_;
};

}  // namespace tesmera
