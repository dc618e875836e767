// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/report_summary.h"
#include "support/param_name.h"

#include <array>
#include <cstdint>

#include <gtest/gtest.h>

namespace tesmera {
namespace {

struct VoteCase : test::NamedCase<VoteCase> {
    std::array<std::int32_t, ScoreModelCount> grades;
    std::int32_t grade;
    std::size_t agreeing;
    std::size_t voting;
};

class Votes : public ::testing::TestWithParam<VoteCase> {};

TEST_P(Votes, TakeTheMostFrequentGradeAndBreakTiesByTheMedian) {
    const VoteCase& c = GetParam();
    const GradeVote vote = VoteGrade(c.grades);
    EXPECT_EQ(vote.Grade, c.grade);
    EXPECT_EQ(vote.Agreeing, c.agreeing);
    EXPECT_EQ(vote.Voting, c.voting);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Votes,
    ::testing::Values(VoteCase{"AllAgree", {2, 2, 2, 2, 2, 2}, 2, 6, 6},
                      VoteCase{"FiveOfSix", {3, 3, 4, 3, 3, 3}, 3, 5, 6},
                      VoteCase{"PluralityNotMedian", {1, 1, 1, 4, 5, 5}, 1, 3, 6},
                      // 2 and 4 tie; the median 3 is as near to both: the higher.
                      VoteCase{"EvenTieGoesToTheHigher", {2, 2, 2, 4, 4, 4}, 4, 3, 6},
                      // 1, 3 and 5 tie; the median 3 picks the middle.
                      VoteCase{"ThreeWayTieTakesTheMedian", {5, 1, 3, 1, 3, 5}, 3, 2, 6},
                      // 2 and 5 tie; the median (2 + 3) / 2 lies nearer 2.
                      VoteCase{"TieTakesTheNearerToTheMedian", {2, 2, 3, 1, 5, 5}, 2, 2, 6},
                      VoteCase{"UnscoredModelsDoNotVote", {0, 3, 0, 3, 4, 0}, 3, 2, 3},
                      VoteCase{"NoModelScored", {0, 0, 0, 0, 0, 0}, 0, 0, 0}),
    test::CaseName{});

VoiceReport GradedReport(std::int32_t mostModels, std::int32_t oneModel) {
    VoiceReport report;
    report.Outcome = {};
    report.AnalysedCycles = 40;
    for (ModelSummary& model : report.Models) {
        model.Score = mostModels;
    }
    report.Models[2].Score = oneModel;
    report.Steady = true;
    report.Quality = RecordingQuality{.SnrDb = 40, .SampleRate = 44100};
    return report;
}

TEST(Summary, ReadsGradeAvqiSteadinessAndQualityInOneLine) {
    VoiceReport report = GradedReport(3, 4);
    report.Avqi = AvqiFigures{.Avqi = 4.1};
    EXPECT_EQ(ReportSummary(report),
              "Grade 3 (5 of 6 models), AVQI 4.10 (above 2.43), steady, good recording");
    report.Avqi->Avqi = AvqiDysphonicThreshold;
    report.Steady = false;
    report.Quality->SnrDb = 5;
    EXPECT_EQ(ReportSummary(report),
              "Grade 3 (5 of 6 models), AVQI 2.43 (at 2.43), not steady, poor recording");
}

TEST(Summary, CountsOnlyScoredModels) {
    VoiceReport report = GradedReport(2, 0);
    report.Quality.reset();
    EXPECT_EQ(ReportSummary(report), "Grade 2 (5 of 5 scored models), steady");
}

TEST(Summary, OfAFailedReportSaysItsStatus) {
    VoiceReport report = GradedReport(3, 3);
    report.Outcome = {StatusCode::TooShort, "too short: fewer than 5 cycles"};
    EXPECT_EQ(ReportSummary(report), "No grade: too short: fewer than 5 cycles");
    // The file's own outcome wins over a report never made.
    EXPECT_EQ(ReportSummary(VoiceReport{}, {StatusCode::Unreadable, "unreadable: not a sound"}),
              "No grade: unreadable: not a sound");
}

}  // namespace
}  // namespace tesmera
