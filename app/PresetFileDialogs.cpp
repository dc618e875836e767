// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/PresetFileDialogs.h"

#include <utility>

namespace tesmera {

PresetFileDialogs::PresetFileDialogs(QString voiceFile, std::unique_ptr<UserDialogs> inner)
    : presetFile_(std::move(voiceFile)), inner_(std::move(inner)) {}

void PresetFileDialogs::ShowWarning(const QString& message) {
    inner_->ShowWarning(message);
}

void PresetFileDialogs::ShowError(const QString& message) {
    inner_->ShowError(message);
}

std::optional<QString> PresetFileDialogs::ChooseVoiceFile() {
    if (presetFile_) {
        return std::exchange(presetFile_, std::nullopt);
    }
    return inner_->ChooseVoiceFile();
}

}  // namespace tesmera
