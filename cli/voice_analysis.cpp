// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/voice_analysis.h"

#include <exception>

#include "wave/errors.h"

namespace tesmera {

std::string VoiceAnalysis::Status() const {
    if (Messages.empty()) {
        return "ok";
    }
    std::string status = Messages.front();
    for (std::size_t i = 1; i < Messages.size(); ++i) {
        status += " | ";
        status += Messages[i];
    }
    return status;
}

VoiceAnalysis VoiceFileAnalyser::Analyse(const std::string& path) {
    VoiceAnalysis record;
    record.Path = path;
    const WarningSink collect = [&record](const std::string& message) {
        record.Messages.push_back(message);
    };
    try {
        analyser_.AnalyseFile(record, collect);
    } catch (const std::exception& error) {
        // Whatever the window's error box would show; a batch goes on.
        collect(ErrorBoxText(error.what()));
    }
    return record;
}

VoiceAnalysis AnalyseVoiceFile(const std::string& path) {
    return VoiceFileAnalyser().Analyse(path);
}

}  // namespace tesmera
