// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/voice_analysis.h"

#include <exception>

#include "wave/errors.h"

namespace tesmera {

namespace {

template <typename Part>
std::string Joined(const std::vector<Status>& problems, Part part) {
    std::string joined;
    for (const Status& problem : problems) {
        joined += (joined.empty() ? "" : " | ") + std::string(part(problem));
    }
    return joined;
}

}  // namespace

std::string VoiceAnalysis::StatusText() const {
    return Ok() ? "ok" : Joined(Problems, [](const Status& s) { return s.Text; });
}

std::string VoiceAnalysis::StatusCodes() const {
    if (Ok()) {
        return Stage == AnalysisStage::Analysed && !ExpertGrade ? "no_grade" : "ok";
    }
    return Joined(Problems, [](const Status& s) { return StatusCodeName(s.Code); });
}

VoiceAnalysis VoiceFileAnalyser::Analyse(const std::string& path) {
    VoiceAnalysis record;
    record.Path = path;
    const WarningSink collect = [&record](const Status& warning) {
        record.Problems.push_back(warning);
    };
    try {
        analyser_.AnalyseFile(record, collect);
    } catch (const TesmeraError& error) {
        // Whatever the window's error box would show; a batch goes on.
        collect({error.Code(), ErrorBoxText(error.what())});
    } catch (const std::exception& error) {
        collect({StatusCode::Error, ErrorBoxText(error.what())});
    }
    return record;
}

VoiceAnalysis AnalyseVoiceFile(const std::string& path) {
    return VoiceFileAnalyser().Analyse(path);
}

}  // namespace tesmera
