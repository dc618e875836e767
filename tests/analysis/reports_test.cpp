// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/reports.h"

#include <array>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "analysis/scores.h"
#include "support/param_name.h"
#include "wave/errors.h"

namespace tesmera {
namespace {

struct GradeCase {
    const char* label;
    const char* name;
    const char* stem;
    int grade;  // -1: the conversion fails
    const char* failingText;
    friend void PrintTo(const GradeCase& c, std::ostream* os) { *os << '"' << c.name << '"'; }
};

class ExpertGrade : public testing::TestWithParam<GradeCase> {};

TEST_P(ExpertGrade, ComesFromTheLastCharacterBeforeTheFirstFullStop) {
    const GradeCase& c = GetParam();
    EXPECT_EQ(GradeStem(c.name), c.stem);
    if (c.grade >= 0) {
        EXPECT_EQ(ExpertGradeOf(c.name), c.grade);
        return;
    }
    try {
        ExpertGradeOf(c.name);
        FAIL() << "no error";
    } catch (const ConvertError& error) {
        EXPECT_EQ(error.what(),
                  std::string("'").append(c.failingText).append("' is not a valid integer value"));
    }
}

INSTANTIATE_TEST_SUITE_P(
    FileNames, ExpertGrade,
    testing::Values(GradeCase{"DigitBeforeExtension", "patient2.wav", "patient2", 2, ""},
                    GradeCase{"NoExtension", "x5", "x5", 5, ""},
                    GradeCase{"LeadingFullStop", ".7.wav", ".7", 7, ""},
                    GradeCase{"Zero", "0.wav", "0", 0, ""},
                    GradeCase{"TwoFullStops", "v9.1.wav", "v9", 9, ""},
                    GradeCase{"LetterBeforeFirstFullStop", "a.b3.wav", "a", -1, "a"},
                    GradeCase{"LetterBeforeExtension", "ab.wav", "ab", -1, "b"},
                    GradeCase{"OnlyExtension", ".wav", ".wav", -1, "v"},
                    GradeCase{"TwoLeadingFullStops", "..3", ".", -1, "."},
                    // A character outside ASCII is quoted whole, never split.
                    GradeCase{"NonAsciiLast", "hlas\u010d.wav", "hlas\u010d", -1, "\u010d"},
                    GradeCase{"OnlyNonAscii", "\u010d.wav", "\u010d", -1, "\u010d"},
                    GradeCase{"Empty", "", "", -1, ""}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(ScoreReport, WritesTheGradeTheRuleAndSixModelLines) {
    const std::array<std::int32_t, 6> scores{1, 2, 1, 2, 2, 2};
    const std::array<double, 6> values{1.38712, 1.5914, 1.43456, 1.7273, 1.7174, -0.00004};
    EXPECT_EQ(ScoreReport(3, scores, values, "."),
              " expert ORL\t =  3\r\n"
              " -----------------------------------------------------------\r\n"
              " SCORE(10) \t =  1\t1.3871\r\n"
              " SCORE(21) \t =  2\t1.5914\r\n"
              " SCORE(22) \t =  1\t1.4346\r\n"
              " SCORE(23) \t =  2\t1.7273\r\n"
              " SCORE(24) \t =  2\t1.7174\r\n"
              " SCORE(25) \t =  2\t0.0000\r\n");
}

TEST(ScoreReport, ShowsZeroScoresInTheRegionalForm) {
    const std::string report =
        ScoreReport(0, std::array<std::int32_t, 6>{}, std::array<double, 6>{}, ",");
    EXPECT_NE(report.find(" SCORE(25) \t =  0\t0,0000\r\n"), std::string::npos);
    EXPECT_EQ(report.find('.'), std::string::npos);
}

TEST(CoefficientTable, RowHoldsTheHarmonicAndThreeOneDecimalValues) {
    EXPECT_EQ(CoefficientTableRow(1, 0.0, 1.0, 1.0, "."), " 1\t0.0\t1.0\t1.0\r\n");
    EXPECT_EQ(CoefficientTableRow(12, -1e-16, -0.05, 65535.96, ","), " 12\t0,0\t-0,1\t65536,0\r\n");
    EXPECT_EQ(CoefficientTableHeader, " i\tax[i]\tbx[i]\tAA[i]");
}

TEST(CoefficientTable, ListsHarmonicsZeroToFifteen) {
    std::array<double, CoefficientCount> ax{}, bx{}, AA{};
    ax[0] = -3.0;
    AA[0] = 3.0;
    bx[1] = 1.0;
    AA[1] = 1.0;
    AA[16] = 99.0;
    std::string expected = " 0\t-3.0\t0.0\t3.0\r\n 1\t0.0\t1.0\t1.0\r\n";
    for (int i = 2; i <= 15; ++i) {
        expected.append(" ").append(std::to_string(i)).append("\t0.0\t0.0\t0.0\r\n");
    }
    EXPECT_EQ(CoefficientTable(ax, bx, AA, "."), expected);
}

}  // namespace
}  // namespace tesmera
