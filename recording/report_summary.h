// SPDX-License-Identifier: GPL-3.0-or-later
// The one line a clinician reads first, at the top of every report:
// "Grade 3 (5 of 6 models), AVQI 4.10 (above 2.43), steady, good recording".
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "analysis/scores.h"
#include "base/Status.h"
#include "recording/voice_report.h"

namespace tesmera {

struct GradeVote {
    std::int32_t Grade = 0;    // 1..5; 0 when no model has a grade
    std::size_t Agreeing = 0;  // models whose median grade is Grade
    std::size_t Voting = 0;    // models with a median grade (0 counts as none)
};

// The grade most models give by their median grade (each model's
// ModelSummary::Score; 0 is no grade and does not vote). On a tie of the
// most frequent grades, the tied grade nearest the median of all voting
// models' grades wins (the mean of the middle two for an even count); when
// two are equally near, the higher, so a tie never hides the more severe
// reading.
GradeVote VoteGrade(const std::array<std::int32_t, ScoreModelCount>& modelGrades);

// The summary line of `report`, whose outcome as the user sees it is
// `outcome` (the report's own, or why the file was not read):
// - not ok: "No grade: " and the status ("No grade: too short: fewer than 5
//   cycles");
// - else "Grade G (A of 6 models)" ("of N scored models" when fewer vote),
//   then ", AVQI 4.10 (above 2.43)" with "below" / "at" as the value lies,
//   when a speech sample gave one, then ", steady" or ", not steady", then
//   ", good recording" or ", poor recording" when the quality is known.
std::string ReportSummary(const VoiceReport& report, const Status& outcome);
std::string ReportSummary(const VoiceReport& report);

}  // namespace tesmera
