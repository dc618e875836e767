// The program as a user runs it: exit statuses, help and the CSV it writes.
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "cli/cli_test_support.h"
#include "support/fifo_watchdog.h"
#include "support/synthetic_vowel.h"

namespace tesmera {
namespace {

const std::string kProgram = TESMERA_BINARY_DIR "/cli/tesmera-cli";

struct ProcessRun {
    int exitStatus;
    std::string output;  // standard output and standard error
};

ProcessRun RunProgram(const std::string& arguments, const test::TempFolder& folder) {
    const std::string outputPath = (folder.Path() / "console.txt").string();
    const int raw = std::system((kProgram + " " + arguments + " >" + outputPath + " 2>&1").c_str());
    std::ifstream in(outputPath);
    std::stringstream text;
    text << in.rdbuf();
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, text.str()};
}

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
    for (const char* name : {"analyze", "agreement", "extract", "render"}) {
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
    EXPECT_EQ(FirstLine(folder.Path() / "out.csv").substr(0, 82),
              "path,status,SampleCount,Mean,StdDev,MaxAbs,PeriodFrequency,PeriodMs,ApproxOrder,ax");
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
    EXPECT_NE(run.output.find("File not found"), std::string::npos);
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
    EXPECT_EQ(extract.output.substr(0, 18), "F0      180.00 Hz\n") << extract.output;
    EXPECT_EQ(RunProgram("analyze " + output, folder).exitStatus, 0);
}

struct AtCase {
    std::string name;
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
    EXPECT_NE(run.output.find("not a finite number"), std::string::npos) << run.output;
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / "out.wav"));
}

INSTANTIATE_TEST_SUITE_P(Values, NonFiniteAt,
                         ::testing::Values(AtCase{"NotANumber", "nan"}, AtCase{"Infinity", "inf"},
                                           AtCase{"UpperCaseNotANumber", "NAN"}),
                         [](const auto& info) { return info.param.name; });

struct FifoCommand {
    std::string name;
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
    [](const auto& info) { return info.param.name; });

TEST(TesmeraCliProcess, ExtractRefusesSilence) {
    const test::TempFolder folder;
    const std::string input = (folder.Path() / "quiet.wav").string();
    test::WriteRecording(input, {16000, std::vector<double>(16000, 0.0)});
    const ProcessRun run =
        RunProgram("extract " + input + " " + (folder.Path() / "out.wav").string(), folder);
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.output,
              "tesmera-cli extract: the recording is silent (or shorter than 50 ms): nothing to "
              "extract\n");
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / "out.wav"));
}

}  // namespace
}  // namespace tesmera
