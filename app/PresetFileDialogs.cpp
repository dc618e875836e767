// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/PresetFileDialogs.h"

#include <utility>

namespace tesmera {

PresetFileDialogs::PresetFileDialogs(QString voiceFile, InnerFactory makeInner)
    : presetFile_(std::move(voiceFile)), makeInner_(std::move(makeInner)) {}

void PresetFileDialogs::ShowWarning(const QString& message) {
    Inner().ShowWarning(message);
}

void PresetFileDialogs::ShowError(const QString& message) {
    Inner().ShowError(message);
}

std::optional<QString> PresetFileDialogs::ChooseVoiceFile() {
    if (presetFile_) {
        return std::exchange(presetFile_, std::nullopt);
    }
    return Inner().ChooseVoiceFile();
}

UserDialogs& PresetFileDialogs::Inner() {
    if (!inner_) {
        inner_ = makeInner_();
    }
    return *inner_;
}

}  // namespace tesmera
