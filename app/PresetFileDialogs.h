// SPDX-License-Identifier: GPL-3.0-or-later
// The window's dialogs when it was started with a file to open: the first
// question for a voice file is answered with that file, everything else is
// asked of the user as usual.
#pragma once

#include <memory>
#include <optional>

#include "app/UserDialogs.h"

namespace tesmera {

class PresetFileDialogs final : public UserDialogs {
  public:
    // `inner` (owned) shows every box and every later file dialog.
    PresetFileDialogs(QString voiceFile, std::unique_ptr<UserDialogs> inner);

    void ShowWarning(const QString& message) override;
    void ShowError(const QString& message) override;
    std::optional<QString> ChooseVoiceFile() override;

  private:
    std::optional<QString> presetFile_;
    std::unique_ptr<UserDialogs> inner_;
};

}  // namespace tesmera
