// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/agreement.h"

#include <cmath>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "cli/GradeSource.h"
#include "cli/agreement_output.h"
#include "support/param_name.h"

namespace tesmera {
namespace {

// Eight ratings worked out by hand. Expert grades (rows) 2, 1, 2, 1, 2 for
// grades 1..5, model scores (columns) 1, 3, 1, 2, 1; three pairs one grade
// apart, five exact.
//   Σ w·observed = 3 · 1/16;  Σ (e − m)² r_e c_m = 248, so
//   Σ w·expected = 248 / 16 / 8;  kappa = 1 − 3·8 / 248 = 28/31.
// Mean ranks (ties shared): expert 1.5 3 4.5 6 7.5 1.5 4.5 7.5, model
// 1 3 5 6.5 8 3 3 6.5; Σxy = 36.75, Σxx = 40.5, Σyy = 39.5 about the means.
const std::vector<GradePair> HandTable{{1, 1}, {2, 2}, {3, 3}, {4, 4},
                                       {5, 5}, {1, 2}, {3, 2}, {5, 4}};

TEST(MeasureAgreement, HandWorkedTable) {
    const AgreementFigures f = MeasureAgreement(HandTable);
    EXPECT_EQ(f.Count, 8);
    EXPECT_EQ(f.ExactCount, 5);
    EXPECT_EQ(f.WithinOneCount, 8);
    EXPECT_DOUBLE_EQ(*f.ExactRate, 5.0 / 8);
    EXPECT_DOUBLE_EQ(*f.WithinOneRate, 1.0);
    EXPECT_DOUBLE_EQ(*f.MeanAbsoluteError, 3.0 / 8);
    EXPECT_NEAR(*f.WeightedKappa, 28.0 / 31, 1e-12);
    EXPECT_NEAR(*f.SpearmanRho, 36.75 / std::sqrt(40.5 * 39.5), 1e-12);
    const ConfusionMatrix expected{
        {{1, 1, 0, 0, 0}, {0, 1, 0, 0, 0}, {0, 1, 1, 0, 0}, {0, 0, 0, 1, 0}, {0, 0, 0, 1, 1}}};
    EXPECT_EQ(f.Confusion, expected);
}

struct Extreme : test::NamedCase<Extreme> {
    std::vector<GradePair> pairs;
    std::optional<double> kappa;
    std::optional<double> rho;
};

class ExtremeTables : public ::testing::TestWithParam<Extreme> {};

TEST_P(ExtremeTables, KappaAndRho) {
    const AgreementFigures f = MeasureAgreement(GetParam().pairs);
    EXPECT_EQ(f.WeightedKappa, GetParam().kappa);
    EXPECT_EQ(f.SpearmanRho, GetParam().rho);
}

INSTANTIATE_TEST_SUITE_P(
    Tables, ExtremeTables,
    ::testing::Values(Extreme{"Perfect", {{1, 1}, {2, 2}, {4, 4}, {5, 5}}, 1.0, 1.0},
                      Extreme{"Opposite", {{1, 5}, {5, 1}}, -1.0, -1.0},
                      // One grade on both sides: no disagreement to expect.
                      Extreme{"AllThrees", {{3, 3}, {3, 3}}, std::nullopt, std::nullopt},
                      // The model never varies: kappa 0, no rank correlation.
                      Extreme{"ConstantModel", {{1, 3}, {5, 3}}, 0.0, std::nullopt},
                      Extreme{"OnePair", {{2, 4}}, 0.0, std::nullopt}),
    test::CaseName());

TEST(MeasureAgreement, NoPairsLeaveEveryFigureUndefined) {
    const AgreementFigures f = MeasureAgreement({});
    EXPECT_EQ(f.Count, 0);
    EXPECT_FALSE(f.ExactRate || f.WithinOneRate || f.MeanAbsoluteError || f.WeightedKappa ||
                 f.SpearmanRho);
}

TEST(MeasureAgreement, GradeOutsideTheScaleIsRefused) {
    const std::vector<GradePair> pairs{{0, 3}};
    EXPECT_THROW(MeasureAgreement(pairs), std::out_of_range);
}

VoiceAnalysis Scored(const std::string& path, std::optional<std::int32_t> grade,
                     std::int32_t score) {
    VoiceAnalysis record;
    record.Path = path;
    record.Stage = AnalysisStage::Analysed;
    record.Scored = true;
    record.ExpertGrade = grade;
    record.Score.fill(score);
    return record;
}

TEST(AgreementCollector, SkipsFilesWithoutScoresOrUsableGrades) {
    AgreementCollector collector;
    collector.Add(Scored("a3.wav", 3, 3));
    collector.Add(Scored("b5.wav", 5, 4));
    VoiceAnalysis silent = Scored("s2.wav", 2, 0);
    silent.Scored = false;
    silent.Problems.push_back({StatusCode::ZeroNorm, std::string(NormIsZeroWarning)});
    collector.Add(silent);
    VoiceAnalysis unnamed = Scored("x.wav", std::nullopt, 2);
    unnamed.GradeNote = "'x' is not a valid integer value.";
    collector.Add(unnamed);
    collector.Add(Scored("z0.wav", 0, 1));

    const AgreementReport report = collector.Report();
    for (const AgreementFigures& model : report.Models) {
        EXPECT_EQ(model.Count, 2);
        EXPECT_EQ(model.ExactCount, 1);
    }
    ASSERT_EQ(report.Skipped.size(), 3u);
    EXPECT_EQ(report.Skipped[0].Reason, "not scored:  !!!  norma = 0  !!! ");
    EXPECT_EQ(report.Skipped[1].Reason, "no grade: 'x' is not a valid integer value.");
    EXPECT_EQ(report.Skipped[2].Reason, "expert grade 0 outside 1..5");
}

TEST(AgreementOutput, TableAndJsonShowUndefinedFigures) {
    AgreementCollector collector;
    collector.Add(Scored("a3.wav", 3, 3));
    const AgreementReport report = collector.Report();
    const std::string table = AgreementTable(report);
    EXPECT_NE(table.find("SCORE(10)      1   1.000     1.000   0.000     n/a     n/a\n"),
              std::string::npos)
        << table;
    EXPECT_NE(table.find("  expert 3           0    0    1    0    0\n"), std::string::npos)
        << table;
    const auto json = nlohmann::json::parse(AgreementJson(report));
    EXPECT_EQ(json["models"][5],
              nlohmann::json::parse(
                  R"({"model": "25", "count": 1, "exact_count": 1, "exact_rate": 1.0,
                      "within_one_count": 1, "within_one_rate": 1.0, "mean_absolute_error": 0.0,
                      "weighted_kappa": null, "spearman_rho": null,
                      "confusion": [[0, 0, 0, 0, 0], [0, 0, 0, 0, 0],
                      [0, 0, 1, 0, 0], [0, 0, 0, 0, 0], [0, 0, 0, 0, 0]]})"));
    EXPECT_EQ(json["skipped"], nlohmann::json::array());
}

TEST(AgreementOutput, SaysWhereEachGradeCameFromAndWarnsOfNumbers) {
    AgreementCollector collector;
    VoiceAnalysis fromTable = Scored("rec_2023.wav", 4, 4);
    fromTable.GradeOrigin = GradeFromTable;
    collector.Add(fromTable);
    VoiceAnalysis fromName = Scored("take_2023.wav", 3, 3);
    fromName.GradeOrigin = GradeFromName;
    collector.Add(fromName);
    VoiceAnalysis plainName = Scored("caf\xE9_2.wav", 2, 2);
    plainName.GradeOrigin = GradeFromName;
    collector.Add(plainName);
    const AgreementReport report = collector.Report();

    const std::string table = AgreementTable(report);
    EXPECT_TRUE(table.ends_with(
        "\nGrades used: 3 (1 from the grade table, 2 from file names)\n"
        "Warning: 1 grade(s) the grade is the last digit of a number in the name; give grades "
        "with --grades FILE.csv or turn name grades off with --no-name-grades (marked !)\n"
        "  rec_2023.wav: 4 from the grade table\n"
        "  take_2023.wav: 3 from the file name !\n"
        "  caf\\xE9_2.wav: 2 from the file name\n"))
        << table;

    const auto json = nlohmann::json::parse(AgreementJson(report));
    ASSERT_EQ(json["grades"].size(), 3u);
    EXPECT_EQ(json["grades"][0],
              nlohmann::json::parse(
                  R"({"path": "rec_2023.wav", "expert_grade": 4, "grade_source": "table"})"));
    EXPECT_EQ(json["grades"][1]["grade_source"], "name");
    EXPECT_TRUE(json["grades"][1].contains("warning"));
    EXPECT_EQ(json["grades"][2]["path_bytes"], "636166e95f322e776176");
}

}  // namespace
}  // namespace tesmera
