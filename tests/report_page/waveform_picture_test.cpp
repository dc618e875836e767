// SPDX-License-Identifier: GPL-3.0-or-later
#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "report_page/waveform_picture.h"
#include "support/param_name.h"

namespace tesmera {
namespace {

struct ColumnsCase : test::NamedCase<ColumnsCase> {
    std::vector<double> samples;
    double first;
    double end;
    int width;
    std::vector<std::pair<double, double>> expected;  // low, high per column
    std::size_t samplesFirst = 0;                     // the position of samples[0]
};

class Columns : public ::testing::TestWithParam<ColumnsCase> {};

TEST_P(Columns, HoldEveryPeakOfTheirSamples) {
    const ColumnsCase& c = GetParam();
    const std::vector<ColumnRange> columns =
        ColumnExtremes(c.samples, c.samplesFirst, SampleAxis(c.first, c.end, 1, c.width));
    std::vector<std::pair<double, double>> got;
    for (const ColumnRange& r : columns) {
        got.emplace_back(r.Low, r.High);
    }
    EXPECT_EQ(got, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    WaveformPicture, Columns,
    ::testing::Values(
        ColumnsCase{
            "TwoSamplesPerColumn", {1, -2, 3, 0, -5, 4}, 0, 6, 3, {{-2, 1}, {0, 3}, {-5, 4}}},
        ColumnsCase{"UnevenSplitLosesNoSample", {1, 9, 2, -7, 3}, 0, 5, 2, {{1, 9}, {-7, 3}}},
        ColumnsCase{"OneSampleSpreadWide", {4, -4}, 0, 2, 4, {{4, 4}, {4, 4}, {-4, -4}, {-4, -4}}},
        ColumnsCase{"PartOfTheSignal", {9, 1, 2, 3, 4, 9}, 1, 5, 2, {{1, 2}, {3, 4}}},
        ColumnsCase{"BeyondTheSignalIsEmpty", {5, 6}, 0, 4, 2, {{5, 6}, {0, 0}}},
        ColumnsCase{"BeforeTheSignalIsEmpty", {5, 6}, -2, 2, 2, {{0, 0}, {5, 6}}},
        ColumnsCase{
            "SamplesFromALaterPosition", {1, 2, 3, 4}, 2, 8, 3, {{0, 0}, {1, 2}, {3, 4}}, 4}),
    test::CaseName());

// Drawn from an outline, a column holds its own samples' extremes: exactly
// them at runs of one sample, and at longer runs perhaps a neighbour's too.
TEST(WaveformPicture, OutlineColumnsHoldTheirSamplesExtremes) {
    for (const std::size_t count : {std::size_t{5000}, 4 * SampleEnvelope::MaxBuckets + 3}) {
        std::vector<double> samples(count);
        for (std::size_t i = 0; i < count; ++i) {
            samples[i] = std::sin(static_cast<double>(i) * 0.01) * static_cast<double>(i % 13);
        }
        SampleEnvelope envelope;
        envelope.Add(samples);
        for (const int width : {7, 700, 9000}) {
            const SampleAxis axis(0, static_cast<double>(count), 1, width);
            const std::vector<ColumnRange> exact = ColumnExtremes(samples, 0, axis);
            const std::vector<ColumnRange> outlined = EnvelopeColumns(envelope, axis);
            if (envelope.BucketLength() == 1) {
                EXPECT_EQ(outlined, exact) << width;
                continue;
            }
            for (std::size_t c = 0; c < exact.size(); ++c) {
                ASSERT_LE(outlined[c].Low, exact[c].Low) << width << " " << c;
                ASSERT_GE(outlined[c].High, exact[c].High) << width << " " << c;
            }
        }
    }
}

struct CycleCase : test::NamedCase<CycleCase> {
    double sample;
    std::optional<std::size_t> expected;
};

class CycleUnder : public ::testing::TestWithParam<CycleCase> {};

TEST_P(CycleUnder, IsTheOneHoldingThePoint) {
    std::vector<ReportedCycle> cycles(3);
    cycles[0].StartSample = 100;
    cycles[0].EndSample = 180.5;
    cycles[1].StartSample = 180.5;
    cycles[1].EndSample = 260;
    cycles[2].StartSample = 300;  // a gap before it
    cycles[2].EndSample = 380;
    EXPECT_EQ(CycleAt(cycles, GetParam().sample), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(WaveformPicture, CycleUnder,
                         ::testing::Values(CycleCase{"BeforeTheFirst", 99.9, std::nullopt},
                                           CycleCase{"FirstStart", 100, 0},
                                           CycleCase{"SharedMarkBelongsToTheLater", 180.5, 1},
                                           CycleCase{"InAGap", 280, std::nullopt},
                                           CycleCase{"LastCycle", 379.9, 2},
                                           CycleCase{"LastEnd", 380, std::nullopt}),
                         test::CaseName());

TEST(WaveformPicture, AxisMapsBothWays) {
    const SampleAxis axis(1000, 3000, 10, 400);
    EXPECT_DOUBLE_EQ(axis.ToX(1000), 10);
    EXPECT_DOUBLE_EQ(axis.ToX(3000), 410);
    EXPECT_DOUBLE_EQ(axis.ToSample(axis.ToX(1234.5)), 1234.5);
}

struct TickCase : test::NamedCase<TickCase> {
    double seconds;
    double step;
    std::size_t count;
};

class TimeTickSpacing : public ::testing::TestWithParam<TickCase> {};

// 70 pixels at least between labels over 700 pixels.
TEST_P(TimeTickSpacing, TakesTheShortestRoundStepThatFits) {
    const TimeTicks ticks = TimeAxisTicks(GetParam().seconds, 700, 70);
    EXPECT_DOUBLE_EQ(ticks.Step, GetParam().step);
    ASSERT_EQ(ticks.Seconds.size(), GetParam().count);
    EXPECT_EQ(ticks.Seconds.front(), 0);
    EXPECT_NEAR(ticks.Seconds.back(), GetParam().step * static_cast<double>(GetParam().count - 1),
                1e-12);
}

INSTANTIATE_TEST_SUITE_P(WaveformPicture, TimeTickSpacing,
                         ::testing::Values(TickCase{"ThreeSeconds", 3, 0.5, 7},
                                           TickCase{"HalfAMinute", 30, 5, 7},
                                           TickCase{"AnHour", 3600, 500, 8},
                                           TickCase{"ExactlyOneStep", 10, 1, 11},
                                           TickCase{"FortyMilliseconds", 0.04, 0.005, 9}),
                         test::CaseName());

}  // namespace
}  // namespace tesmera
