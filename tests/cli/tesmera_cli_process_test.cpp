// SPDX-License-Identifier: GPL-3.0-or-later
// The program as a user runs it: exit statuses, help and the CSV it writes.
#include <cstdlib>
#include <fstream>

#include <gtest/gtest.h>

#include "cli/cli_process_support.h"
#include "cli/cli_test_support.h"
#include "support/fifo_watchdog.h"
#include "support/param_name.h"
#include "support/process_run.h"
#include "support/synthetic_vowel.h"
#include "tools/sustained_vowel.h"

namespace tesmera {
namespace {

using test::ProcessRun;
using test::RunProgram;

std::string FirstLine(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return line;
}

TEST(TesmeraCliProcess, HelpListsTheSubcommands) {
    const test::TempFolder folder;
    const ProcessRun run = RunProgram("--help", folder);
    EXPECT_EQ(run.exitStatus, 0);
    for (const char* name : {"analyze", "agreement", "extract", "render", "report"}) {
        EXPECT_NE(run.output.find(name), std::string::npos) << name;
    }
}

TEST(TesmeraCliProcess, AnalyzeWritesCsvAndExitsZeroWhenAllAreOk) {
    const test::TempFolder folder;
    folder.Add(
        "in/a3.wav",
        test::CanonicalWav(test::HarmonicPeriod(
            200,
            {{1, 5000, 0}, {2, 0, 3000}, {3, 2000, 0}, {4, 1000, 0}, {5, 800, 0}, {6, 500, 0}})));
    const ProcessRun run = RunProgram("analyze " + (folder.Path() / "in").string() + " --csv " +
                                          (folder.Path() / "out.csv").string(),
                                      folder);
    EXPECT_EQ(run.exitStatus, 0) << run.output;
    EXPECT_EQ(run.output, "");  // the records go only where the user said
    EXPECT_TRUE(FirstLine(folder.Path() / "out.csv")
                    .starts_with("path,status,status_code,tesmera_version,sample_rate_hz,"
                                 "duration_s,channels,sample_count,mean,std_dev,max_abs,"
                                 "period_frequency_hz,period_ms,approx_order,ax_0,"));
}

TEST(TesmeraCliProcess, AFailedFileSetsTheExitStatusButTheBatchGoesOn) {
    const test::TempFolder folder;
    const std::string good =
        folder.Add("b4.wav", test::CanonicalWav(test::HarmonicPeriod(150, {{1, 4000, 0}})));
    const ProcessRun run =
        RunProgram("analyze " + (folder.Path() / "none.wav").string() + " " + good, folder);
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_NE(run.output.find("none.wav"), std::string::npos);
    EXPECT_NE(run.output.find("File not found."), std::string::npos);
    EXPECT_NE(run.output.find("b4.wav"), std::string::npos);
}

TEST(TesmeraCliProcess, UnwritableOutputIsAToolFailure) {
    const test::TempFolder folder;
    const ProcessRun run = RunProgram(
        "analyze x.wav --csv " + (folder.Path() / "no/such/folder.csv").string(), folder);
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_NE(
        run.output.find("the folder " + (folder.Path() / "no/such").string() + " does not exist"),
        std::string::npos)
        << run.output;
}

TEST(TesmeraCliProcess, MissingArgumentsAreAUsageError) {
    const test::TempFolder folder;
    const ProcessRun run = RunProgram("analyze", folder);
    EXPECT_NE(run.exitStatus, 0);
    EXPECT_NE(run.output.find("PATH"), std::string::npos);
}

TEST(TesmeraCliProcess, ExtractWritesAPeriodThatAnalyzeAccepts) {
    const test::TempFolder folder;
    const std::string input = (folder.Path() / "vowel.wav").string();
    const std::string output = (folder.Path() / "period2.wav").string();
    test::WriteRecording(input, test::SyntheticVowel({180, 48000}));
    const ProcessRun extract = RunProgram("extract " + input + " " + output, folder);
    EXPECT_EQ(extract.exitStatus, 0) << extract.output;
    // The cycle's F0 from its marks, then the cut period's own: 44100 / 245 samples.
    EXPECT_EQ(extract.output.substr(0, extract.output.find('\n') + 1),
              "F0      180.00 Hz of the cycle, 180.00 Hz of the cut period (44100 / 245)\n")
        << extract.output;
    EXPECT_EQ(extract.output.find("note:"), std::string::npos);
    EXPECT_EQ(RunProgram("analyze " + output, folder).exitStatus, 0);
}

TEST(TesmeraCliProcess, ExtractNotesANameTheWindowReadsNoGradeFrom) {
    const test::TempFolder folder;
    const std::string input = (folder.Path() / "vowel.wav").string();
    test::WriteRecording(input, test::SyntheticVowel({150, 22050}));
    const ProcessRun run =
        RunProgram("extract " + input + " " + (folder.Path() / "period.wav").string(), folder);
    EXPECT_EQ(run.exitStatus, 0) << run.output;
    EXPECT_NE(run.output.find("note: the name period.wav ends in no grade digit"),
              std::string::npos)
        << run.output;
}

// A rough voice (harmonics-to-noise ratio 3 dB) is what clinicians grade:
// its frames must count as voiced.
TEST(TesmeraCliProcess, ExtractAcceptsARoughVoice) {
    const test::TempFolder folder;
    const std::string input = (folder.Path() / "rough.wav").string();
    tools::VowelRecipe recipe;
    recipe.Rate = 11025;
    recipe.F0 = 140;
    recipe.Jitter = 0.005;
    recipe.Shimmer = 0.05;
    recipe.HnrDb = 3;
    recipe.Seconds = 2;
    tools::WriteVowel(input, tools::GenerateVowel(recipe));
    const ProcessRun run =
        RunProgram("extract " + input + " " + (folder.Path() / "rough_4.wav").string(), folder);
    EXPECT_EQ(run.exitStatus, 0) << run.output;
}

struct AtCase : test::NamedCase<AtCase> {
    std::string at;
};

class NonFiniteAt : public ::testing::TestWithParam<AtCase> {};

// A time that is not a number is a usage error, not an arbitrary place.
TEST_P(NonFiniteAt, IsAUsageError) {
    const test::TempFolder folder;
    const std::string input = (folder.Path() / "vowel.wav").string();
    test::WriteRecording(input, test::SyntheticVowel({180, 16000}));
    const ProcessRun run = RunProgram(
        "extract " + input + " " + (folder.Path() / "out.wav").string() + " --at " + GetParam().at,
        folder);
    EXPECT_NE(run.exitStatus, 0);
    EXPECT_NE(run.output.find("is not a time in seconds"), std::string::npos) << run.output;
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / "out.wav"));
}

INSTANTIATE_TEST_SUITE_P(Values, NonFiniteAt,
                         ::testing::Values(AtCase{"NotANumber", "nan"}, AtCase{"Infinity", "inf"},
                                           AtCase{"UpperCaseNotANumber", "NAN"}),
                         test::CaseName());

struct FifoCommand : test::NamedCase<FifoCommand> {
    std::string command;  // before the FIFO's path
    int exitStatus;
    std::string message;
};

class FifoInput : public ::testing::TestWithParam<FifoCommand> {};

// A FIFO named like a voice file is refused at once, never waited on.
TEST_P(FifoInput, IsRefusedWithoutBlocking) {
    const test::FifoFile fifo;
    ASSERT_TRUE(fifo.Made());
    const test::TempFolder folder;
    ProcessRun run{};
    EXPECT_FALSE(test::BlockedOnFifo(fifo, [&] {
        run = RunProgram(
            GetParam().command + " " + fifo.Path() + " " + (folder.Path() / "out.wav").string(),
            folder);
    }));
    EXPECT_EQ(run.exitStatus, GetParam().exitStatus) << run.output;
    EXPECT_NE(run.output.find(GetParam().message), std::string::npos) << run.output;
}

INSTANTIATE_TEST_SUITE_P(
    Commands, FifoInput,
    ::testing::Values(FifoCommand{"Analyze", "analyze", 1, "File access denied."},
                      FifoCommand{"Extract", "extract", 1, "x.wav: not a regular file"}),
    test::CaseName());

TEST(TesmeraCliProcess, ExtractRefusesSilence) {
    const test::TempFolder folder;
    const std::string input = (folder.Path() / "quiet.wav").string();
    test::WriteRecording(input, {16000, std::vector<double>(16000, 0.0)});
    const ProcessRun run =
        RunProgram("extract " + input + " " + (folder.Path() / "out.wav").string(), folder);
    EXPECT_EQ(run.exitStatus, 1);
    // The message names the recording it is about.
    EXPECT_EQ(run.output, "tesmera-cli extract: " + input + ": no cycle to extract: silent\n");
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / "out.wav"));
}

}  // namespace
}  // namespace tesmera
