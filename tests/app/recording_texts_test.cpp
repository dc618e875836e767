// SPDX-License-Identifier: GPL-3.0-or-later
#include <string>

#include <gtest/gtest.h>

#include "analysis/reports.h"
#include "app/recording_texts.h"
#include "support/param_name.h"
#include "support/qt_printers.h"
#include "wave/file_name.h"

namespace tesmera {
namespace {

TEST(ProposedName, LiesBesideTheRecordingUnderTheCyclesOwnName) {
    EXPECT_EQ(ProposedPeriodPath(QStringLiteral("/data/voice3.flac"), 12),
              QStringLiteral("/data/voice3_c012_3.wav"));
    EXPECT_EQ(ProposedPeriodPath(QString::fromUtf8("/d/hlas\xc3\xa9"
                                                   "2.wav"),
                                 9),
              QString::fromUtf8("/d/hlas\xc3\xa9"
                                "2_c009_2.wav"));
}

const Status TooShort{StatusCode::TooShort, "too short: fewer than 5 cycles"};

VoiceReport ReportWith(const Status& status, std::size_t cycles, std::size_t analysed, bool steady,
                       std::string unsteadyReason = {}) {
    VoiceReport report;
    report.Outcome = status;
    report.Cycles.resize(cycles);
    report.AnalysedCycles = analysed;
    report.Steady = steady;
    report.UnsteadyReason = std::move(unsteadyReason);
    return report;
}

struct VerdictCase : test::NamedCase<VerdictCase> {
    VoiceReport report;
    const char* steadiness;
    const char* unshowable;
};

class Verdict : public ::testing::TestWithParam<VerdictCase> {};

TEST_P(Verdict, IsWordedPlainly) {
    EXPECT_EQ(SteadinessText(GetParam().report), GetParam().steadiness);
    EXPECT_EQ(UnshowableReason(GetParam().report), GetParam().unshowable);
}

INSTANTIATE_TEST_SUITE_P(
    RecordingTexts, Verdict,
    ::testing::Values(
        VerdictCase{"Steady", ReportWith({}, 80, 78, true),
                    "Steady voice: one voice throughout, and the halves of the stretch agree on "
                    "every model.",
                    ""},
        VerdictCase{"NotSteadySaysWhere",
                    ReportWith({}, 80, 78, false, "the pitch jumps from 150 to 240 Hz at 1.50 s"),
                    "Not steady: the pitch jumps from 150 to 240 Hz at 1.50 s, so read the "
                    "medians with care.",
                    ""},
        VerdictCase{"TooShort", ReportWith(TooShort, 4, 3, false),
                    "Not enough for a report: too short: fewer than 5 cycles.", ""},
        VerdictCase{"Silent", ReportWith({StatusCode::Silent, "silent"}, 0, 0, false),
                    "Not enough for a report: silent.",
                    "The recording is silent: there is no voice to analyse."},
        VerdictCase{"Unvoiced", ReportWith({StatusCode::Unvoiced, "unvoiced"}, 0, 0, false),
                    "Not enough for a report: unvoiced.",
                    "The recording holds no steady voiced stretch: no vowel was found to "
                    "analyse."},
        VerdictCase{"NoCyclesInAStretch", ReportWith(TooShort, 0, 0, false),
                    "Not enough for a report: too short: fewer than 5 cycles.",
                    "The recording holds no voice cycles to analyse (too short: fewer than 5 "
                    "cycles)."}),
    test::CaseName());

TEST(RecordingTexts, ModelRowsUseTheDecimalSeparatorAndRoundTheShares) {
    VoiceReport report = ReportWith({}, 40, 40, true);
    report.Models[0] = {.MedianValue = 0.84949,
                        .Score = 1,
                        .Iqr = 0.053251,
                        .GradeShares = {0.975, 0.025, 0, 0, 0},
                        .Borderline = false};
    report.Models[5] = {.MedianValue = 2.5,
                        .Score = 2,
                        .Iqr = 0,
                        .GradeShares = {0, 0.5, 0.5, 0, 0},
                        .Borderline = true};
    const std::vector<QStringList> rows = ModelRows(report, QStringLiteral(","));
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[0], (QStringList{"10", "0,8495", "1", "0,0533",
                                    "1: 98 %, 2: 3 %, 3: 0 %, "
                                    "4: 0 %, 5: 0 %",
                                    "no"}));
    EXPECT_EQ(rows[5], (QStringList{"25", "2,5000", "2", "0,0000",
                                    "1: 0 %, 2: 50 %, 3: 50 %, "
                                    "4: 0 %, 5: 0 %",
                                    "yes"}));
    EXPECT_EQ(rows[0].size(), ModelColumnTitles().size());
}

TEST(RecordingTexts, MeasuresGiveEveryFigureAndSayWhenOneIsNotDefined) {
    VoiceReport report = ReportWith({}, 40, 40, true);
    report.StretchStartSeconds = 0.2195;
    report.StretchEndSeconds = 2.5;
    report.F0MeanHz = 120.06;
    report.F0SdHz = 0.96;
    report.Jitter.Local = 0.00254;
    report.Jitter.LocalAbsolute = 21.16e-6;
    report.Jitter.Ppq5 = 0.0015;
    report.Shimmer.Local = 0.0339;
    report.Shimmer.LocalDb = 0.331;
    report.Shimmer.Apq5 = 0.0201;
    for (ReportedCycle& cycle : report.Cycles) {
        cycle.Scored = true;
    }
    report.Cycles[3].Verdict = CycleVerdict::CvOffTrack;
    report.Cycles[5].Verdict = CycleVerdict::CvMisshapen;
    report.Cycles[8].Verdict = CycleVerdict::CvOffTrack;
    const std::vector<MeasureText> rows = MeasureRows(report, 3, QStringLiteral("."));
    QStringList values;
    for (const MeasureText& row : rows) {
        values << row.name + ": " + row.value + (row.norm.isEmpty() ? "" : " | " + row.norm);
    }
    EXPECT_EQ(values, (QStringList{
                          "Expert grade: 3 (from the file name)",
                          "Analysed stretch: 0.220 s to 2.500 s",
                          "Cycles: 37 of 40 cycles analysed (left out: 2 off the pitch track, "
                          "1 misshapen)",
                          "F0 mean: 120.06 Hz | about 120 Hz (men), 206 Hz (women) (Rev. Bras. "
                          "Otorrinolaringol. 2006)",
                          "F0 deviation: 0.96 Hz",
                          "Jitter local: 0.254 % | below 1.04 % (MDVP, in the Praat manual)",
                          "Jitter absolute: 21.2 µs | below 83.2 µs (MDVP, in the Praat manual)",
                          "Jitter RAP: not defined | below 0.68 % (MDVP, in the Praat manual)",
                          "Jitter PPQ5: 0.150 % | below 0.84 % (MDVP, in the Praat manual)",
                          "Shimmer local: 3.390 % | below 3.81 % (MDVP, in the Praat manual)",
                          "Shimmer local dB: 0.331 dB | below 0.35 dB (MDVP, in the Praat manual)",
                          "Shimmer APQ3: not defined | no published threshold",
                          "Shimmer APQ5: 2.010 % | no published threshold",
                          "HNR: not defined | about 20 dB in a healthy /a/ (Praat manual)",
                          "CPPS: not defined | 14.45 dB or more (Murton et al. 2020)",
                          "Recording quality: not defined",
                      }));
    EXPECT_TRUE(rows[3].caveat.contains("sex"));
    report.Shimmer.LocalDb = 0.5;
    report.CppsDb = 14.504;
    report.Avqi = AvqiFigures{.Avqi = 3.2};
    const std::vector<MeasureText> changed = MeasureRows(report, std::nullopt, QStringLiteral(","));
    EXPECT_EQ(changed[0].value, "none in the file name");
    EXPECT_EQ(changed[10].value, "0,500 dB, outside its norm");
    EXPECT_TRUE(changed[10].outside);
    EXPECT_EQ(changed[14].value, "14,50 dB");
    EXPECT_FALSE(changed[14].outside);
    EXPECT_EQ(changed[15].name + ": " + changed[15].value, "AVQI: 3,20, outside its norm");
}

TEST(RecordingTexts, CycleLineSaysWhyACycleWasLeftOut) {
    ReportedCycle cycle;
    cycle.StartSample = 24000;
    cycle.EndSample = 24400;
    cycle.Verdict = CycleVerdict::CvOffTrack;
    EXPECT_EQ(CycleText(cycle, 3, 80, 48000, QStringLiteral(".")),
              "Cycle 3 of 80 at 0.500 s, 8.33 ms, F0 120.0 Hz: left out, its F0 is off the pitch "
              "track");
    cycle.Verdict = CycleVerdict::CvAccepted;
    cycle.Period.assign(368, 0);
    EXPECT_EQ(CycleText(cycle, 3, 80, 48000, QStringLiteral(".")),
              "Cycle 3 of 80 at 0.500 s, 8.33 ms, F0 120.0 Hz, 368 samples at 44100 Hz");
}

}  // namespace
}  // namespace tesmera
