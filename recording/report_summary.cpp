// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/report_summary.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "analysis/number_text.h"
#include "recording/avqi_figures.h"

namespace tesmera {

namespace {

// The median of the voting grades, ascending and not empty.
double MedianGrade(const std::vector<std::int32_t>& sorted) {
    const std::size_t n = sorted.size();
    return n % 2 == 1 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2.0;
}

std::string GradeText(const GradeVote& vote) {
    const std::string of = vote.Voting == ScoreModelCount
                               ? " of " + std::to_string(ScoreModelCount) + " models)"
                               : " of " + std::to_string(vote.Voting) + " scored models)";
    return "Grade " + std::to_string(vote.Grade) + " (" + std::to_string(vote.Agreeing) + of;
}

std::string AvqiText(double avqi) {
    const char* side = avqi > AvqiDysphonicThreshold   ? "above"
                       : avqi < AvqiDysphonicThreshold ? "below"
                                                       : "at";
    return "AVQI " + FixedText(avqi, 15, 2, ".") + " (" + side + " " +
           FixedText(AvqiDysphonicThreshold, 15, 2, ".") + ")";
}

}  // namespace

GradeVote VoteGrade(const std::array<std::int32_t, ScoreModelCount>& modelGrades) {
    std::vector<std::int32_t> voting;
    std::ranges::copy_if(modelGrades, std::back_inserter(voting),
                         [](std::int32_t grade) { return grade > 0; });
    if (voting.empty()) {
        return {};
    }
    std::ranges::sort(voting);
    const double median = MedianGrade(voting);
    GradeVote vote{0, 0, voting.size()};
    for (const std::int32_t grade : voting) {
        const auto count = static_cast<std::size_t>(std::ranges::count(voting, grade));
        const bool more = count > vote.Agreeing;
        const bool nearer =
            count == vote.Agreeing && std::abs(grade - median) <= std::abs(vote.Grade - median);
        // Grades come in ascending order, so an equally near one is higher.
        if (more || nearer) {
            vote = {grade, count, voting.size()};
        }
    }
    return vote;
}

std::string ReportSummary(const VoiceReport& report, const Status& outcome) {
    if (!outcome.Ok()) {
        return "No grade: " + outcome.Text;
    }
    std::array<std::int32_t, ScoreModelCount> grades{};
    std::ranges::transform(report.Models, grades.begin(), &ModelSummary::Score);
    const GradeVote vote = VoteGrade(grades);
    std::string line = vote.Voting > 0 ? GradeText(vote) : "No grade";
    if (report.Avqi) {
        line += ", " + AvqiText(report.Avqi->Avqi);
    }
    line += report.Steady ? ", steady" : ", not steady";
    if (report.Quality) {
        line += report.Quality->Poor() ? ", poor recording" : ", good recording";
    }
    return line;
}

std::string ReportSummary(const VoiceReport& report) {
    return ReportSummary(report, report.Outcome);
}

}  // namespace tesmera
