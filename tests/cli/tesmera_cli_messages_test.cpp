// SPDX-License-Identifier: GPL-3.0-or-later
// What the program says, through the real process, when an input or an
// output cannot be used: the path and the reason on one line, names
// escaped for the terminal, and the documented exit status.
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "cli/cli_process_support.h"
#include "support/param_name.h"

namespace tesmera {
namespace {

namespace fs = std::filesystem;

test::ProcessRun RunIn(const test::TempFolder& folder, const std::string& arguments) {
    return test::RunProgram(arguments, folder,
                            "cd " + test::ShellWord(folder.Path().string()) + " && ");
}

TEST(Messages, AMissingRecordingIsNamedWithItsReason) {
    const test::TempFolder folder;
    fs::create_directories(folder.Path() / "here");
    const test::ProcessRun run = RunIn(folder, "report here/none_3.wav gone/none_4.wav");
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_NE(run.output.find("  status unreadable: cannot read here/none_3.wav: no such file, "
                              "expert grade 3\n"),
              std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find("  status unreadable: cannot read gone/none_4.wav: the folder gone "
                              "does not exist, expert grade 4\n"),
              std::string::npos)
        << run.output;
}

// An escape sequence in a name would clear or recolour the terminal.
TEST(Messages, TheReportTableEscapesNamesAndStatuses) {
    const test::TempFolder folder;
    const test::ProcessRun run = RunIn(folder, "report \"$(printf 'a\\033[2Jb_3.wav')\"");
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.output.find('\x1B'), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("a\\x1B[2Jb_3.wav\n  No grade: unreadable: cannot read "
                              "a\\x1B[2Jb_3.wav: no such file\n  status unreadable: cannot read "
                              "a\\x1B[2Jb_3.wav: no such file"),
              std::string::npos)
        << run.output;
}

TEST(Messages, PeriodFilesOfTwoRecordingsOfOneNameAreRefusedBeforeAnyIsRead) {
    const test::TempFolder folder;
    const test::ProcessRun run = RunIn(folder, "report x/anna_3.wav y/anna_3.wav --periods p");
    EXPECT_EQ(run.exitStatus, 64);
    EXPECT_EQ(run.output,
              "tesmera-cli report: --periods: x/anna_3.wav and y/anna_3.wav would write period "
              "files of the same names (anna_3_c001_3.wav, ...); report them in separate runs, "
              "or rename one\n");
    EXPECT_FALSE(fs::exists(folder.Path() / "p"));
}

// Records of `report --json` whose fields have the wrong type: refused with
// the record's position, never converted.
struct RecordCase : test::NamedCase<RecordCase> {
    std::string grade;  // JSON text of the second record's grade
    std::string score;  // JSON text of its first model's score
    std::string message;
};

class WrongTypedReport : public ::testing::TestWithParam<RecordCase> {};

std::string ReportRecord(const std::string& path, const std::string& grade,
                         const std::string& score) {
    std::string models;
    for (int m = 0; m < 6; ++m) {
        models += std::string(m == 0 ? "" : ",") + "{\"score\":" + (m == 0 ? score : "3") + "}";
    }
    return "{\"path\":\"" + path + "\",\"status\":\"ok\",\"expert_grade\":" + grade +
           ",\"models\":[" + models + "]}";
}

TEST_P(WrongTypedReport, IsRefusedWithTheRecordsPosition) {
    const RecordCase& c = GetParam();
    const test::TempFolder folder;
    std::ofstream(folder.Path() / "r.json") << "[" << ReportRecord("a_2.wav", "2", "2") << ","
                                            << ReportRecord("b_3.wav", c.grade, c.score) << "]";
    const test::ProcessRun run = RunIn(folder, "agreement --from-report r.json");
    if (c.message.empty()) {
        EXPECT_EQ(run.exitStatus, 0) << run.output;
        return;
    }
    EXPECT_EQ(run.exitStatus, 64);
    EXPECT_EQ(run.output, "tesmera-cli agreement: r.json: record 2: " + c.message + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    Records, WrongTypedReport,
    ::testing::Values(
        RecordCase{"Accepted", "3", "4", ""},
        RecordCase{"WholeGradeWrittenAsDecimal", "3.0", "4", ""},
        RecordCase{"NoGrade", "null", "4", ""},
        RecordCase{"GradeWithAFraction", "3.7", "4",
                   "'expert_grade' is 3.7, not a whole number from -2147483648 to 2147483647"},
        RecordCase{"GradeTrue", "true", "4",
                   "'expert_grade' is true, not a whole number from -2147483648 to 2147483647"},
        RecordCase{"GradeBeyondTheIntegers", "1e10", "4",
                   "'expert_grade' is 10000000000.0, not a whole number from -2147483648 to "
                   "2147483647"},
        RecordCase{"GradeAsText", "\"3\"", "4",
                   "'expert_grade' is \"3\", not a whole number from -2147483648 to 2147483647"},
        RecordCase{"ScoreFarOutside", "3", "1e20",
                   "'models[0].score' is 1e+20, not a whole number from 1 to 5"},
        RecordCase{"ScoreNoGrade", "3", "0",
                   "'models[0].score' is 0, not a whole number from 1 to 5"},
        RecordCase{"ScoreMissing", "3", "null",
                   "'models[0].score' is null, not a whole number from 1 to 5"}),
    test::CaseName());

}  // namespace
}  // namespace tesmera
