// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/measure_norms.h"
#include "support/param_name.h"

#include <algorithm>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

namespace tesmera {
namespace {

const MeasureNorm& NormOf(std::string_view key) {
    const auto norms = MeasureNorms();
    const auto found = std::ranges::find(norms, key, &MeasureNorm::Key);
    EXPECT_NE(found, norms.end()) << key;
    return *found;
}

struct MarkCase : test::NamedCase<MarkCase> {
    std::string_view key;
    double value;  // in the norm's unit
    bool outside;
};

class NormMarks : public ::testing::TestWithParam<MarkCase> {};

TEST_P(NormMarks, MarkOnlyTheDisordersSideOfTheThreshold) {
    const MarkCase& c = GetParam();
    EXPECT_EQ(OutsideNorm(NormOf(c.key), c.value), c.outside);
}

INSTANTIATE_TEST_SUITE_P(Table, NormMarks,
                         ::testing::Values(
                             // Perturbation and AVQI: the threshold itself speaks for a disorder.
                             MarkCase{"JitterLocalAtThreshold", "jitter_local_pct", 1.04, true},
                             MarkCase{"JitterLocalJustBelow", "jitter_local_pct", 1.0399, false},
                             MarkCase{"JitterAbsoluteAbove", "jitter_local_abs_us", 90, true},
                             MarkCase{"JitterRapBelow", "jitter_rap_pct", 0.2, false},
                             MarkCase{"JitterPpq5AtThreshold", "jitter_ppq5_pct", 0.84, true},
                             MarkCase{"ShimmerLocalAbove", "shimmer_local_pct", 5, true},
                             MarkCase{"ShimmerDbJustBelow", "shimmer_local_db", 0.349, false},
                             MarkCase{"AvqiAtThreshold", "avqi", 2.43, true},
                             MarkCase{"AvqiBelow", "avqi", 2.42, false},
                             // CPPS: a disorder lies below the cut-off, the cut-off is normal.
                             MarkCase{"CppsAtCutOff", "cpps_db", 14.45, false},
                             MarkCase{"CppsJustBelow", "cpps_db", 14.44, true},
                             // References without a threshold never mark.
                             MarkCase{"F0HasNoSexFreeRange", "f0_mean_hz", 600, false},
                             MarkCase{"HnrIsAReference", "hnr_db", 0, false},
                             MarkCase{"ShimmerApq3HasNoThreshold", "shimmer_apq3_pct", 50, false}),
                         test::CaseName{});

const MeasureLine& LineOf(const std::vector<MeasureLine>& lines, std::string_view key) {
    const auto found =
        std::ranges::find_if(lines, [key](const MeasureLine& l) { return l.Norm->Key == key; });
    EXPECT_NE(found, lines.end()) << key;
    return *found;
}

VoiceReport AnalysedReport() {
    VoiceReport report;
    report.Outcome = {};
    report.AnalysedCycles = 40;
    report.F0MeanHz = 180;
    report.Jitter.Local = 0.02;             // 2 %: outside
    report.Jitter.LocalAbsolute = 21.5e-6;  // 21.5 µs: inside
    report.Shimmer.LocalDb = 0.2;
    report.CppsDb = 12;  // below 14.45: outside
    return report;
}

TEST(MeasureLines, GiveEveryMeasureInDisplayUnitsWithItsMark) {
    const std::vector<MeasureLine> lines = MeasureLines(AnalysedReport());
    ASSERT_EQ(lines.size(), MeasureNorms().size() - 1);  // no AVQI without speech
    EXPECT_EQ(lines.front().Norm->Key, "f0_mean_hz");
    EXPECT_EQ(MeasureValueText(LineOf(lines, "jitter_local_pct")), "2.000 %");
    EXPECT_TRUE(LineOf(lines, "jitter_local_pct").Outside);
    EXPECT_EQ(MeasureValueText(LineOf(lines, "jitter_local_abs_us")), "21.5 µs");
    EXPECT_FALSE(LineOf(lines, "jitter_local_abs_us").Outside);
    EXPECT_EQ(MeasureValueText(LineOf(lines, "jitter_rap_pct")), "n/a");
    EXPECT_FALSE(LineOf(lines, "jitter_rap_pct").Outside);
    EXPECT_EQ(MeasureValueText(LineOf(lines, "cpps_db"), ","), "12,00 dB");
    EXPECT_TRUE(LineOf(lines, "cpps_db").Outside);
}

TEST(MeasureLines, WithoutCyclesKeepOnlyCppsAndAvqi) {
    VoiceReport report = AnalysedReport();
    report.Outcome = {StatusCode::Unvoiced, "no voiced stretch"};
    report.AnalysedCycles = 0;
    report.Avqi = AvqiFigures{.Avqi = 4.1};
    for (const MeasureLine& line : MeasureLines(report)) {
        const bool kept = line.Norm->Key == "cpps_db" || line.Norm->Key == "avqi";
        EXPECT_EQ(line.Value.has_value(), kept) << line.Norm->Key;
        EXPECT_EQ(line.Outside, kept) << line.Norm->Key;
    }
    EXPECT_EQ(MeasureValueText(LineOf(MeasureLines(report), "avqi")), "4.10");
}

TEST(MeasureNorms, NameTheirSourceWhereverTheyMark) {
    for (const MeasureNorm& norm : MeasureNorms()) {
        EXPECT_FALSE(norm.Norm.empty()) << norm.Key;
        EXPECT_TRUE(!norm.Threshold || !norm.Source.empty()) << norm.Key;
    }
}

}  // namespace
}  // namespace tesmera
