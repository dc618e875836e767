// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/cycle_file_name.h"

#include <gtest/gtest.h>

#include "analysis/reports.h"
#include "support/param_name.h"
#include "wave/file_name.h"

namespace tesmera {
namespace {

struct PeriodNameCase : test::NamedCase<PeriodNameCase> {
    std::string recording;
    std::size_t number;
    std::string expected;
};

class CyclePeriodNames : public ::testing::TestWithParam<PeriodNameCase> {};

// The window reads a period file's grade from its name; it must be the
// recording's, or nothing when the recording's name gives none.
TEST_P(CyclePeriodNames, AreNumberedAndKeepTheRecordingsGrade) {
    const PeriodNameCase& c = GetParam();
    const std::string name = CyclePeriodFileName(c.recording, c.number);
    EXPECT_EQ(name, c.expected);
    EXPECT_EQ(RecordingNameGrade(name), RecordingNameGrade(c.recording));
}

INSTANTIATE_TEST_SUITE_P(
    Table, CyclePeriodNames,
    ::testing::Values(
        PeriodNameCase{"First", "rec/anna_g3.wav", 1, "anna_g3_c001_3.wav"},
        PeriodNameCase{"ThreeDigits", "anna_g3.wav", 123, "anna_g3_c123_3.wav"},
        PeriodNameCase{"MoreThanThreeDigits", "x5.flac", 1234, "x5_c1234_5.wav"},
        PeriodNameCase{"NoGrade", "/a/b/vowel.wav", 7, "vowel_c007_nograde.wav"},
        PeriodNameCase{"NoExtension", "bob2", 2, "bob2_c002_2.wav"},
        PeriodNameCase{"UpperCaseExtension", "/d/Patient4.FLAC", 1, "Patient4_c001_4.wav"},
        PeriodNameCase{"SeveralFullStops", "/d/a2.take.b.wav", 7, "a2.take.b_c007_2.wav"}),
    test::CaseName());

}  // namespace
}  // namespace tesmera
