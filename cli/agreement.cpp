// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/agreement.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <stdexcept>

#include "analysis/number_text.h"
#include "cli/GradeSource.h"

namespace tesmera {

namespace {

std::size_t GradeIndex(std::int32_t grade) {
    if (grade < LowestGrade || grade > HighestGrade) {
        throw std::out_of_range("grade " + IntegerText(grade) + " outside 1..5");
    }
    return static_cast<std::size_t>(grade - LowestGrade);
}

double QuadraticWeight(std::size_t e, std::size_t m) {
    const double distance = static_cast<double>(e) - static_cast<double>(m);
    const double widest = GradeCount - 1;
    return distance * distance / (widest * widest);
}

// 1 − Σ w·observed / Σ w·expected, with the expected counts from the
// products of the margins.
std::optional<double> WeightedKappa(const ConfusionMatrix& confusion, std::int32_t count) {
    std::array<double, GradeCount> expertTotals{};
    std::array<double, GradeCount> modelTotals{};
    for (std::size_t e = 0; e < GradeCount; ++e) {
        for (std::size_t m = 0; m < GradeCount; ++m) {
            expertTotals[e] += confusion[e][m];
            modelTotals[m] += confusion[e][m];
        }
    }
    double observed = 0;
    double expected = 0;
    for (std::size_t e = 0; e < GradeCount; ++e) {
        for (std::size_t m = 0; m < GradeCount; ++m) {
            observed += QuadraticWeight(e, m) * confusion[e][m];
            expected += QuadraticWeight(e, m) * expertTotals[e] * modelTotals[m] / count;
        }
    }
    if (expected == 0) {
        return std::nullopt;
    }
    return 1 - observed / expected;
}

// Rank 1 for the smallest value; tied values share the mean of their ranks.
std::vector<double> MeanRanks(const std::vector<double>& values) {
    std::vector<std::size_t> order(values.size());
    std::iota(order.begin(), order.end(), 0);
    std::ranges::sort(order, {}, [&](std::size_t i) { return values[i]; });
    std::vector<double> ranks(values.size());
    for (std::size_t first = 0; first < order.size();) {
        std::size_t last = first;
        while (last + 1 < order.size() && values[order[last + 1]] == values[order[first]]) {
            ++last;
        }
        const double meanRank = (static_cast<double>(first + last) + 2) / 2;
        for (std::size_t i = first; i <= last; ++i) {
            ranks[order[i]] = meanRank;
        }
        first = last + 1;
    }
    return ranks;
}

std::optional<double> PearsonCorrelation(const std::vector<double>& x,
                                         const std::vector<double>& y) {
    const double n = static_cast<double>(x.size());
    const double meanX = std::accumulate(x.begin(), x.end(), 0.0) / n;
    const double meanY = std::accumulate(y.begin(), y.end(), 0.0) / n;
    double sxy = 0;
    double sxx = 0;
    double syy = 0;
    for (std::size_t i = 0; i < x.size(); ++i) {
        sxy += (x[i] - meanX) * (y[i] - meanY);
        sxx += (x[i] - meanX) * (x[i] - meanX);
        syy += (y[i] - meanY) * (y[i] - meanY);
    }
    if (sxx == 0 || syy == 0) {
        return std::nullopt;
    }
    return sxy / std::sqrt(sxx * syy);
}

std::optional<double> SpearmanRho(std::span<const GradePair> pairs) {
    if (pairs.size() < 2) {
        return std::nullopt;
    }
    std::vector<double> expert;
    std::vector<double> model;
    for (const GradePair& pair : pairs) {
        expert.push_back(pair.expert);
        model.push_back(pair.model);
    }
    return PearsonCorrelation(MeanRanks(expert), MeanRanks(model));
}

std::optional<std::string> SkipReason(const GradedScores& scores) {
    if (scores.NotScored) {
        return "not scored: " + *scores.NotScored;
    }
    if (!scores.ExpertGrade) {
        return scores.GradeNote.empty() ? std::string("no grade") : "no grade: " + scores.GradeNote;
    }
    if (*scores.ExpertGrade < LowestGrade || *scores.ExpertGrade > HighestGrade) {
        return "expert grade " + IntegerText(*scores.ExpertGrade) + " outside 1..5";
    }
    return std::nullopt;
}

}  // namespace

AgreementFigures MeasureAgreement(std::span<const GradePair> pairs) {
    AgreementFigures figures;
    figures.Count = static_cast<std::int32_t>(pairs.size());
    std::int64_t absoluteErrorSum = 0;
    for (const GradePair& pair : pairs) {
        ++figures.Confusion[GradeIndex(pair.expert)][GradeIndex(pair.model)];
        const std::int32_t error = std::abs(pair.model - pair.expert);
        absoluteErrorSum += error;
        figures.ExactCount += error == 0 ? 1 : 0;
        figures.WithinOneCount += error <= 1 ? 1 : 0;
    }
    if (figures.Count == 0) {
        return figures;
    }
    const double count = figures.Count;
    figures.ExactRate = figures.ExactCount / count;
    figures.WithinOneRate = figures.WithinOneCount / count;
    figures.MeanAbsoluteError = static_cast<double>(absoluteErrorSum) / count;
    figures.WeightedKappa = WeightedKappa(figures.Confusion, figures.Count);
    figures.SpearmanRho = SpearmanRho(pairs);
    return figures;
}

void AgreementCollector::Add(const VoiceAnalysis& record) {
    GradedScores scores{record.Path,      std::nullopt,       record.ExpertGrade,
                        record.GradeNote, record.GradeOrigin, record.Score};
    if (!record.Scored) {
        scores.NotScored = record.StatusText();
    }
    Add(scores);
}

void AgreementCollector::Add(const GradedScores& scores) {
    if (const auto reason = SkipReason(scores)) {
        skipped_.push_back({scores.Path, *reason});
        return;
    }
    graded_.push_back({scores.Path, *scores.ExpertGrade, scores.GradeOrigin,
                       scores.GradeOrigin == GradeFromName && GradeIsPartOfANumber(scores.Path)});
    for (std::size_t m = 0; m < ScoreModelCount; ++m) {
        pairs_[m].push_back({*scores.ExpertGrade, scores.Score[m]});
    }
}

AgreementReport AgreementCollector::Report() const {
    AgreementReport report;
    for (std::size_t m = 0; m < ScoreModelCount; ++m) {
        report.Models[m] = MeasureAgreement(pairs_[m]);
    }
    report.Skipped = skipped_;
    report.Graded = graded_;
    return report;
}

}  // namespace tesmera
