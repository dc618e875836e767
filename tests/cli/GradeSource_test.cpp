// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/GradeSource.h"

#include <fstream>

#include <gtest/gtest.h>

#include "cli/UsageError.h"
#include "cli/cli_test_support.h"
#include "support/param_name.h"

namespace tesmera {
namespace {

// A record as the analysis leaves it: analysed, with the name's grade (or
// its conversion note).
VoiceAnalysis Analysed(const std::string& path, std::optional<std::int32_t> nameGrade) {
    VoiceAnalysis record;
    record.Path = path;
    record.Stage = AnalysisStage::Analysed;
    record.ExpertGrade = nameGrade;
    record.GradeNote = nameGrade ? "" : "'x' is not a valid integer value.";
    return record;
}

struct GradeCase : test::NamedCase<GradeCase> {
    std::string table;  // CSV text; empty: no table
    bool nameGrades;
    std::string path;  // relative paths are in the table's folder
    std::optional<std::int32_t> nameGrade;
    std::optional<std::int32_t> grade;
    std::string origin;
};

class Grades : public ::testing::TestWithParam<GradeCase> {};

TEST_P(Grades, ComeFromTheTableThenTheName) {
    const GradeCase& c = GetParam();
    const test::TempFolder folder;
    const std::string tablePath = (folder.Path() / "grades.csv").string();
    std::ofstream(tablePath) << c.table;
    const GradeSource source = c.table.empty() ? GradeSource::NamesOnly(c.nameGrades)
                                               : GradeSource::FromTable(tablePath, c.nameGrades);
    VoiceAnalysis record = Analysed(c.path, c.nameGrade);
    source.Apply(record);
    EXPECT_EQ(record.ExpertGrade, c.grade);
    EXPECT_EQ(record.GradeOrigin, c.origin);
    EXPECT_EQ(record.GradeNote.empty(), c.grade.has_value()) << record.GradeNote;
}

INSTANTIATE_TEST_SUITE_P(
    Sources, Grades,
    ::testing::Values(
        GradeCase{"NameOnly", "", true, "a3.wav", 3, 3, GradeFromName},
        GradeCase{"NameGivesNone", "", true, "ax.wav", std::nullopt, std::nullopt, ""},
        GradeCase{"NamesTurnedOff", "", false, "a3.wav", 3, std::nullopt, ""},
        GradeCase{"TableByName", "name,grade\nrec_2023.wav,4\n", true, "/v/rec_2023.wav", 3, 4,
                  GradeFromTable},
        GradeCase{"TableByNameWithoutExtension", "grade,name\n2,rec_2023\n", true,
                  "/v/rec_2023.wav", 3, 2, GradeFromTable},
        GradeCase{"TableByPathAnySpelling", "path,grade\n/v/./sub/../rec.wav,5\n", true,
                  "/v/rec.wav", std::nullopt, 5, GradeFromTable},
        GradeCase{"QuotedFieldsAndCrLf", "\"path\",\"grade\"\r\n\"/v/a,b.wav\",\"1\"\r\n", true,
                  "/v/a,b.wav", std::nullopt, 1, GradeFromTable},
        GradeCase{"NotInTableFallsBackToName", "name,grade\nother.wav,4\n", true, "/v/a3.wav", 3, 3,
                  GradeFromName},
        GradeCase{"NotInTableNamesOff", "name,grade\nother.wav,4\n", false, "/v/a3.wav", 3,
                  std::nullopt, ""},
        GradeCase{"TableOverridesName", "name,grade\na3.wav,5\n", true, "/v/a3.wav", 3, 5,
                  GradeFromTable},
        // A spreadsheet's "CSV UTF-8" starts with a byte-order mark.
        GradeCase{"ByteOrderMarkBeforeHeader", "\xEF\xBB\xBFname,grade\na3.wav,4\n", true,
                  "/v/a3.wav", 3, 4, GradeFromTable},
        GradeCase{"SameGradeListedTwice", "name,grade\na3.wav,4\nb.wav,1\na3.wav,4\n", true,
                  "/v/a3.wav", 3, 4, GradeFromTable}),
    test::CaseName());

struct BadTableCase : test::NamedCase<BadTableCase> {
    std::string table;
    std::string message;  // after the table's path
};

class BadTables : public ::testing::TestWithParam<BadTableCase> {};

TEST_P(BadTables, AreUsageErrorsNamingTheTableAndLine) {
    const test::TempFolder folder;
    const std::string tablePath = (folder.Path() / "grades.csv").string();
    std::ofstream(tablePath) << GetParam().table;
    try {
        GradeSource::FromTable(tablePath, true);
        ADD_FAILURE() << "accepted";
    } catch (const UsageError& error) {
        EXPECT_EQ(std::string(error.what()), tablePath + GetParam().message);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Tables, BadTables,
    ::testing::Values(
        BadTableCase{"Empty", "", ": the grade table is empty"},
        BadTableCase{"NoGradeColumn", "path,score\na.wav,3\n",
                     ": the grade table needs a header with a 'grade' column and a 'path' or "
                     "'name' column"},
        BadTableCase{"NoKeyColumn", "file,grade\na.wav,3\n",
                     ": the grade table needs a header with a 'grade' column and a 'path' or "
                     "'name' column"},
        BadTableCase{"GradeNotANumber", "name,grade\na.wav,3\nb.wav,three\n",
                     " line 3: grade 'three' is not a whole number"},
        BadTableCase{"MissingGrade", "name,grade\na.wav\n", " line 2: no grade"},
        BadTableCase{"NameWithTwoGrades", "name,grade\na.wav,3\nb.wav,2\na.wav,4\n",
                     " line 4: 'a.wav' has grade 4, but line 2 gives it grade 3"},
        BadTableCase{"PathWithTwoGradesInTwoSpellings", "path,grade\n/v/a.wav,3\n/v/./a.wav,5\n",
                     " line 3: '/v/a.wav' has grade 5, but line 2 gives it grade 3"}),
    test::CaseName());

TEST(GradeTable, AMissingTableIsAUsageError) {
    EXPECT_THROW(GradeSource::FromTable("/nonexistent/grades.csv", true), UsageError);
}

struct NumberCase : test::NamedCase<NumberCase> {
    std::string path;
    bool partOfANumber;
};

class NameGradeNumbers : public ::testing::TestWithParam<NumberCase> {};

TEST_P(NameGradeNumbers, AreTold) {
    EXPECT_EQ(GradeIsPartOfANumber(GetParam().path), GetParam().partOfANumber);
}

INSTANTIATE_TEST_SUITE_P(
    Names, NameGradeNumbers,
    ::testing::Values(NumberCase{"Year", "/v/rec_2023.wav", true},
                      NumberCase{"TwoDigits", "a12.wav", true},
                      NumberCase{"OneDigit", "/v/a3.wav", false},
                      NumberCase{"DigitAfterLetter", "take2b3.wav", false},
                      NumberCase{"OnlyTheFirstFullStopCounts", "a3.2023.wav", false},
                      NumberCase{"FolderDigitsDoNotCount", "/2023/a3.wav", false}),
    test::CaseName());

}  // namespace
}  // namespace tesmera
