// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/model_summary.h"
#include "support/param_name.h"

#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace tesmera {
namespace {

struct QuantileCase : test::NamedCase<QuantileCase> {
    std::vector<double> sorted;
    double q;
    double expected;
};

class Quantiles : public ::testing::TestWithParam<QuantileCase> {};

TEST_P(Quantiles, InterpolateBetweenOrderStatistics) {
    const QuantileCase& c = GetParam();
    EXPECT_DOUBLE_EQ(SortedQuantile(c.sorted, c.q), c.expected);
    if (c.q == 0.5) {
        // Found without sorting, from the values in any order, to the bit.
        std::vector<double> reversed(c.sorted.rbegin(), c.sorted.rend());
        EXPECT_EQ(MedianInPlace(reversed), SortedQuantile(c.sorted, c.q));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, Quantiles,
    ::testing::Values(QuantileCase{"MedianOfOdd", {1, 2, 10}, 0.5, 2},
                      QuantileCase{"MedianOfEven", {1, 2, 3, 10}, 0.5, 2.5},
                      QuantileCase{"FirstQuartile", {1, 2, 3, 4, 5}, 0.25, 2},
                      QuantileCase{"ThirdQuartileBetween", {1, 2, 3, 4}, 0.75, 3.25},
                      QuantileCase{"Single", {7}, 0.25, 7}, QuantileCase{"Lowest", {1, 2, 3}, 0, 1},
                      QuantileCase{"Highest", {1, 2, 3}, 1, 3}),
    test::CaseName());

struct SummaryCase : test::NamedCase<SummaryCase> {
    std::vector<double> values;
    double median;
    std::int32_t score;
    double iqr;
    std::array<double, ReportGradeCount> shares;
    bool borderline;
};

class ModelSummaries : public ::testing::TestWithParam<SummaryCase> {};

TEST_P(ModelSummaries, OfRawValues) {
    const SummaryCase& c = GetParam();
    const ModelSummary summary = SummariseModel(c.values);
    EXPECT_DOUBLE_EQ(summary.MedianValue, c.median);
    EXPECT_EQ(summary.Score, c.score);
    EXPECT_NEAR(summary.Iqr, c.iqr, 1e-12);
    for (std::size_t g = 0; g < ReportGradeCount; ++g) {
        EXPECT_DOUBLE_EQ(summary.GradeShares[g], c.shares[g]) << "grade " << g + 1;
    }
    EXPECT_EQ(summary.Borderline, c.borderline);
}

std::vector<double> Spread(double from, double to, int count) {
    std::vector<double> values;
    for (int i = 0; i < count; ++i) {
        values.push_back(from + (to - from) * i / (count - 1));
    }
    return values;
}

INSTANTIATE_TEST_SUITE_P(
    Table, ModelSummaries,
    ::testing::Values(
        SummaryCase{"Empty", {}, 0, 0, 0, {0, 0, 0, 0, 0}, false},
        SummaryCase{"AllAlike", std::vector<double>(25, 3.2), 3.2, 3, 0, {0, 0, 1, 0, 0}, false},
        // 41 values from 2.0 to 3.0: the median 2.5 rounds to the even 2,
        // and its interval (ranks 14 and 28) reaches both 2 and 3.
        SummaryCase{"AcrossAGradeBoundary",
                    Spread(2.0, 3.0, 41),
                    2.5,
                    2,
                    0.5,
                    {0, 21.0 / 41, 20.0 / 41, 0, 0},
                    true},
        // Narrow around 3.0: every cycle and the interval at grade 3.
        SummaryCase{"InsideOneGrade", Spread(2.9, 3.1, 41), 3.0, 3, 0.1, {0, 0, 1, 0, 0}, false},
        // A wide range with a tight middle is not borderline.
        SummaryCase{"OutliersDoNotMakeItBorderline",
                    {1.0, 3.0, 3.0, 3.0, 3.0, 3.0, 3.0, 3.0, 3.0, 3.0,
                     3.0, 3.0, 3.0, 3.0, 3.0, 3.0, 3.0, 3.0, 3.0, 5.4},
                    3.0,
                    3,
                    0,
                    {0.05, 0, 0.9, 0, 0.05},
                    false},
        // Values at or below 0.5 are grade 1, above 5 grade 5.
        SummaryCase{"ClampedGrades", {0.2, 0.5, 5.1, 5.6}, 2.8, 3, 4.8, {0.5, 0, 0, 0, 0.5}, true}),
    test::CaseName());

std::vector<CycleValues> Cycles(std::size_t count, double first, double second) {
    std::vector<CycleValues> cycles;
    for (std::size_t i = 0; i < count; ++i) {
        CycleValues values{};
        values.fill(i < count / 2 ? first : second);
        cycles.push_back(values);
    }
    return cycles;
}

struct HalvesCase : test::NamedCase<HalvesCase> {
    std::vector<CycleValues> cycles;
    bool agree;
    bool straddle;  // every model
};

class Halves : public ::testing::TestWithParam<HalvesCase> {};

TEST_P(Halves, AgreeOrStraddleABorder) {
    const HalvesComparison halves = CompareHalves(GetParam().cycles);
    EXPECT_EQ(halves.Agree, GetParam().agree);
    EXPECT_EQ(halves.StraddleBorder[0], GetParam().straddle);
}

std::vector<CycleValues> OneModelDrifts() {
    std::vector<CycleValues> cycles = Cycles(30, 3.0, 3.0);
    for (std::size_t i = 15; i < 30; ++i) {
        cycles[i][4] = 3.3;
    }
    return cycles;
}

INSTANTIATE_TEST_SUITE_P(
    Table, Halves,
    ::testing::Values(HalvesCase{"TwentyAlike", Cycles(20, 3.0, 3.0), true, false},
                      HalvesCase{"NineteenAreTooFew", Cycles(19, 3.0, 3.0), false, false},
                      HalvesCase{"CloseInOneGrade", Cycles(40, 2.9, 3.1), true, false},
                      HalvesCase{"TooFarApart", Cycles(40, 2.6, 2.9), false, false},
                      // 0.2 apart but on both sides of 2.5: a border, not a change.
                      HalvesCase{"CloseOnBothSidesOfABorder", Cycles(40, 2.4, 2.6), true, true},
                      HalvesCase{"OneModelDrifts", OneModelDrifts(), false, false}),
    test::CaseName());

}  // namespace
}  // namespace tesmera
