// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/status_codes.h"

#include <gtest/gtest.h>

#include "analysis/reports.h"
#include "analysis/scores.h"
#include "cli/voice_file_list.h"
#include "support/param_name.h"
#include "wave/wave_header.h"

namespace tesmera {
namespace {

struct CodeCase : test::NamedCase<CodeCase> {
    std::string message;
    std::string code;
};

class StatusCodes : public ::testing::TestWithParam<CodeCase> {};

TEST_P(StatusCodes, NameEachMessage) {
    EXPECT_EQ(StatusCodeOf(GetParam().message), GetParam().code);
}

INSTANTIATE_TEST_SUITE_P(
    Messages, StatusCodes,
    ::testing::Values(
        CodeCase{"NotFound", "File not found.", "not_found"},
        CodeCase{"ReadBeyondEnd", "Read beyond end of file.", "read_beyond_end"},
        CodeCase{"AccessDenied", "File access denied.", "access_denied"},
        CodeCase{"LinkLoop", "I/O error 40.", "io_error"},
        CodeCase{"NotRiff", std::string(NotRiffWarning), "not_riff"},
        CodeCase{"NotWave", std::string(NotWaveWarning), "not_wave"},
        CodeCase{"NoFmt", std::string(NoFormatTagWarning), "no_fmt"},
        CodeCase{"NotPcm", std::string(NotPcmWarning), "not_pcm"},
        CodeCase{"NotMono", std::string(NotMonoWarning), "not_mono"},
        CodeCase{"Not16Bit", std::string(Not16BitWarning), "not_16bit"},
        CodeCase{"NoData", std::string(NoDataTagWarning), "no_data"},
        CodeCase{"RateNotice", std::string(RateNoticeStart) + "48000", "rate_notice"},
        CodeCase{"TooLong", std::string(NothingToAnalyseWarning), "too_long"},
        CodeCase{"ZeroNorm", std::string(NormIsZeroWarning), "zero_norm"},
        CodeCase{"ZeroAmplitude", std::string(ZeroCoefficientWarning), "zero_amplitude"},
        CodeCase{"DivisionByZero", "Floating point division by zero.", "division_by_zero"},
        CodeCase{"FolderNotRead", std::string(FolderNotReadStatus) + "File access denied.",
                 "folder_not_read"},
        CodeCase{"Folder", FolderNamedLikeVoiceFileStatus, "is_folder"},
        CodeCase{"Pipe", NotARegularFileStatus, "not_regular_file"},
        CodeCase{"Unknown", "Something else.", "error"}),
    test::CaseName());

TEST(StatusCode, FollowsTheStatusAndTellsAMissingGrade) {
    VoiceAnalysis record;
    record.Stage = AnalysisStage::Analysed;
    record.ExpertGrade = 3;
    EXPECT_EQ(StatusCode(record), "ok");
    record.ExpertGrade.reset();
    EXPECT_EQ(StatusCode(record), "no_grade");
    record.Messages = {std::string(RateNoticeStart) + "22050",
                       std::string(NothingToAnalyseWarning)};
    EXPECT_EQ(StatusCode(record), "rate_notice | too_long");
}

}  // namespace
}  // namespace tesmera
