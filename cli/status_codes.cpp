// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/status_codes.h"

#include <array>
#include <string>

#include "analysis/reports.h"
#include "analysis/scores.h"
#include "cli/voice_file_list.h"
#include "wave/errors.h"
#include "wave/wave_header.h"

namespace tesmera {

namespace {

struct KnownText {
    std::string text;
    std::string_view code;
};

std::string BoxText(int fileErrorCode) {
    return ErrorBoxText(FileError::MessageFor(fileErrorCode));
}

std::string BoxText(FloatingPointError::Kind kind) {
    return ErrorBoxText(FloatingPointError(kind).what());
}

// Texts matched whole; built from the texts the analysis itself uses, so
// the two cannot drift apart.
const std::array<KnownText, 20>& WholeTexts() {
    static const std::array<KnownText, 20> texts{{
        {BoxText(FileError::FileNotFound), "not_found"},
        {BoxText(FileError::InvalidFilename), "invalid_name"},
        {BoxText(FileError::AccessDenied), "access_denied"},
        {BoxText(FileError::TooManyOpenFiles), "too_many_open_files"},
        {BoxText(FileError::ReadBeyondEnd), "read_beyond_end"},
        {std::string(NotRiffWarning), "not_riff"},
        {std::string(NotWaveWarning), "not_wave"},
        {std::string(NoFormatTagWarning), "no_fmt"},
        {std::string(NotPcmWarning), "not_pcm"},
        {std::string(NotMonoWarning), "not_mono"},
        {std::string(Not16BitWarning), "not_16bit"},
        {std::string(NoDataTagWarning), "no_data"},
        {std::string(NothingToAnalyseWarning), "too_long"},
        {std::string(NormIsZeroWarning), "zero_norm"},
        {std::string(ZeroCoefficientWarning), "zero_amplitude"},
        {BoxText(FloatingPointError::Kind::DivisionByZero), "division_by_zero"},
        {BoxText(FloatingPointError::Kind::InvalidOperation), "invalid_operation"},
        {BoxText(FloatingPointError::Kind::Overflow), "overflow"},
        {FolderNamedLikeVoiceFileStatus, "is_folder"},
        {NotARegularFileStatus, "not_regular_file"},
    }};
    return texts;
}

// Texts that go on with a number or a reason.
const std::array<KnownText, 3>& TextStarts() {
    static const std::array<KnownText, 3> starts{{
        {std::string(RateNoticeStart), "rate_notice"},
        {"I/O error ", "io_error"},
        {FolderNotReadStatus, "folder_not_read"},
    }};
    return starts;
}

}  // namespace

std::string StatusCodeOf(std::string_view message) {
    for (const KnownText& known : WholeTexts()) {
        if (message == known.text) {
            return std::string(known.code);
        }
    }
    for (const KnownText& known : TextStarts()) {
        if (message.starts_with(known.text)) {
            return std::string(known.code);
        }
    }
    return "error";
}

std::string StatusCode(const VoiceAnalysis& record) {
    if (record.Messages.empty()) {
        return record.Stage == AnalysisStage::Analysed && !record.ExpertGrade ? "no_grade" : "ok";
    }
    std::string code;
    for (const std::string& message : record.Messages) {
        code += (code.empty() ? "" : " | ") + StatusCodeOf(message);
    }
    return code;
}

}  // namespace tesmera
