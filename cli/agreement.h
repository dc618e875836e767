// SPDX-License-Identifier: GPL-3.0-or-later
// How well each score model agrees with the expert grades: plain figures
// over pairs of grades, and the collection of those pairs from a batch.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "analysis/scores.h"
#include "cli/voice_analysis.h"

namespace tesmera {

// The grades a score can take, and so the categories of the figures.
constexpr std::int32_t LowestGrade = 1;
constexpr std::int32_t HighestGrade = 5;
constexpr std::size_t GradeCount = HighestGrade - LowestGrade + 1;

struct GradePair {
    std::int32_t expert;  // LowestGrade..HighestGrade
    std::int32_t model;   // LowestGrade..HighestGrade
};

// Confusion[e][m] counts the pairs with expert grade LowestGrade + e and
// model score LowestGrade + m.
using ConfusionMatrix = std::array<std::array<std::int32_t, GradeCount>, GradeCount>;

struct AgreementFigures {
    std::int32_t Count = 0;
    std::int32_t ExactCount = 0;      // model == expert
    std::int32_t WithinOneCount = 0;  // |model − expert| <= 1
    // Each figure is absent where it is undefined: the rates and the error
    // for no pairs; kappa when both sides put every pair into one and the
    // same grade; rho for fewer than two pairs or a side without variation.
    std::optional<double> ExactRate;
    std::optional<double> WithinOneRate;
    std::optional<double> MeanAbsoluteError;  // in grades
    // Cohen's kappa with weights (e − m)² / (GradeCount − 1)².
    std::optional<double> WeightedKappa;
    // Pearson correlation of the ranks, ties given their mean rank.
    std::optional<double> SpearmanRho;
    ConfusionMatrix Confusion{};
};

// Throws std::out_of_range for a grade outside LowestGrade..HighestGrade.
AgreementFigures MeasureAgreement(std::span<const GradePair> pairs);

struct SkippedFile {
    std::string Path;
    std::string Reason;
};

// A file whose grade was used, and where the grade came from.
struct GradedFile {
    std::string Path;
    std::int32_t Grade = 0;
    std::string Origin;          // GradeFromTable or GradeFromName
    bool PartOfANumber = false;  // a name's grade that ends a number (rec_2023)

    bool operator==(const GradedFile&) const = default;
};

struct AgreementReport {
    std::array<AgreementFigures, ScoreModelCount> Models;  // in ScoreModels order
    std::vector<SkippedFile> Skipped;
    std::vector<GradedFile> Graded;  // in batch order
};

// One file's (or recording's) scores beside its expert grade.
struct GradedScores {
    std::string Path;
    std::optional<std::string> NotScored;  // why there are no scores; nothing when scored
    std::optional<std::int32_t> ExpertGrade;
    std::string GradeNote;    // why there is no grade; may be empty
    std::string GradeOrigin;  // GradeFromTable, GradeFromName, or empty without a grade
    std::array<std::int32_t, ScoreModelCount> Score{};
};

// Gathers, file by file, the expert grade against each model's score.
// A file is skipped, with its reason, when it was not scored or its name
// gives no grade from LowestGrade to HighestGrade.
class AgreementCollector {
  public:
    void Add(const VoiceAnalysis& record);
    void Add(const GradedScores& scores);
    AgreementReport Report() const;

  private:
    std::array<std::vector<GradePair>, ScoreModelCount> pairs_;
    std::vector<SkippedFile> skipped_;
    std::vector<GradedFile> graded_;
};

}  // namespace tesmera
