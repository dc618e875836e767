// SPDX-License-Identifier: GPL-3.0-or-later
// Command lines that cannot be carried out: each gives one line saying what
// was wrong, exit status 64 (2 for an output that cannot be written), and
// reads and writes nothing.
#include <filesystem>

#include <gtest/gtest.h>

#include "cli/cli_process_support.h"
#include "support/param_name.h"

namespace tesmera {
namespace {

namespace fs = std::filesystem;

struct UsageCase : test::NamedCase<UsageCase> {
    std::string arguments;  // run in a folder holding a3.wav and the folder empty/
    int exitStatus;
    std::string message;  // standard error, without its line end
};

class BadUsage : public ::testing::TestWithParam<UsageCase> {};

TEST_P(BadUsage, IsOneLineAndAStatus) {
    const UsageCase& c = GetParam();
    const test::TempFolder folder;
    const std::string sample = TESMERA_SOURCE_DIR "/samples/vowel_a_male1.wav";
    fs::copy_file(sample, folder.Path() / "a3.wav");
    fs::create_directories(folder.Path() / "empty");
    const test::ProcessRun run = test::RunProgram(
        c.arguments, folder, "cd " + test::ShellWord(folder.Path().string()) + " && ");
    EXPECT_EQ(run.exitStatus, c.exitStatus);
    EXPECT_EQ(run.output, c.message + "\n");
    EXPECT_EQ(test::ReadWhole(folder.Path() / "a3.wav"), test::ReadWhole(sample));
}

constexpr const char* Subcommands = "analyze, agreement, extract, report, compare, render";

INSTANTIATE_TEST_SUITE_P(
    CommandLines, BadUsage,
    ::testing::Values(
        UsageCase{
            "NoSubcommand", "", 64,
            "tesmera-cli: a subcommand is needed (" + std::string(Subcommands) + ") (see --help)"},
        UsageCase{"UnknownSubcommandIsNamed", "analyse a3.wav", 64,
                  "tesmera-cli: unknown subcommand 'analyse' (the subcommands are " +
                      std::string(Subcommands) + ") (see --help)"},
        UsageCase{"NoPath", "analyze", 64, "tesmera-cli: PATH is required (see --help)"},
        UsageCase{"UnknownOption", "analyze --bogus a3.wav", 64,
                  "tesmera-cli: unknown option '--bogus' (see --help)"},
        UsageCase{"FileNamedLikeAnOption", "analyze -x3.wav", 64,
                  "tesmera-cli: unknown option '-x3.wav' (a file whose name starts with '-' goes "
                  "after --, or as ./-x3.wav) (see --help)"},
        UsageCase{"NegativeTimeShowsThePlainRange", "extract a3.wav out.wav --at -1", 64,
                  "tesmera-cli: --at: '-1' is not a time in seconds from 0 on (e.g. 0.5) (see "
                  "--help)"},
        UsageCase{"TimeNotANumber", "extract a3.wav out.wav --at nan", 64,
                  "tesmera-cli: --at: 'nan' is not a time in seconds from 0 on (e.g. 0.5) (see "
                  "--help)"},
        UsageCase{"RenderWithoutPicture", "render a3.wav", 64,
                  "tesmera-cli: --png is required (see --help)"},
        UsageCase{"GradeTableMissing", "analyze a3.wav --grades none.csv", 64,
                  "tesmera-cli analyze: none.csv: the grade table cannot be read: no such file"},
        UsageCase{"GradeTableOverwritten", "analyze a3.wav --grades a3.wav --csv ./a3.wav", 64,
                  "tesmera-cli analyze: ./a3.wav: is also an input, which the output would "
                  "overwrite; nothing was written"},
        UsageCase{"ReportListMissing", "agreement --from-report none.json", 64,
                  "tesmera-cli agreement: none.json: the report cannot be read: no such file"},
        UsageCase{"ReportListInAMissingFolder", "agreement --from-report gone/r.json", 64,
                  "tesmera-cli agreement: gone/r.json: the report cannot be read: the folder "
                  "gone does not exist"},
        UsageCase{"OutputFolderMissing", "analyze a3.wav --csv nodir/x.csv", 2,
                  "tesmera-cli analyze: cannot write nodir/x.csv: the folder nodir does not "
                  "exist"},
        UsageCase{"OutputIsAFolder", "report a3.wav --json empty", 2,
                  "tesmera-cli report: cannot write empty: it is a folder; name a file"},
        UsageCase{"PeriodsFolderIsAFile", "report a3.wav --periods a3.wav", 2,
                  "tesmera-cli report: cannot write a3.wav: it is not a folder"},
        UsageCase{"ReportListNotJson", "agreement --from-report a3.wav", 64,
                  "tesmera-cli agreement: a3.wav: not a JSON list of report records"},
        UsageCase{"ReportListOverwritten", "agreement --from-report a3.wav --json ./a3.wav", 64,
                  "tesmera-cli agreement: ./a3.wav: is also an input, which the output would "
                  "overwrite; nothing was written"},
        UsageCase{"ReportListWithJobs", "agreement --from-report r.json --jobs 2", 64,
                  "tesmera-cli: --from-report excludes --jobs (see --help)"},
        UsageCase{"NoVoiceFileFound", "analyze empty", 1,
                  "tesmera-cli analyze: no voice file (*.wav) found in empty"},
        UsageCase{"PictureToStandardOutput", "render a3.wav --png -", 64,
                  "tesmera-render: -: this output is a file and cannot go to standard output; "
                  "nothing was written"}),
    test::CaseName());

}  // namespace
}  // namespace tesmera
