// The program as a user runs it: exit statuses, help and the CSV it writes.
#include <fstream>

#include <gtest/gtest.h>

#include "cli/cli_process_support.h"
#include "support/synthetic_vowel.h"

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
    EXPECT_EQ(FirstLine(folder.Path() / "out.csv").substr(0, 94),
              "path,status,status_code,SampleCount,Mean,StdDev,MaxAbs,PeriodFrequency,PeriodMs,"
              "ApproxOrder,ax");
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

TEST(TesmeraCliProcess, ExtractRefusesSilence) {
    const test::TempFolder folder;
    const std::string input = (folder.Path() / "quiet.wav").string();
    test::WriteRecording(input, {16000, std::vector<double>(16000, 0.0)});
    const ProcessRun run =
        RunProgram("extract " + input + " " + (folder.Path() / "out.wav").string(), folder);
    EXPECT_EQ(run.exitStatus, 1);
    // The message names the recording it is about.
    EXPECT_EQ(run.output, "tesmera-cli extract: " + input +
                              ": the recording is silent (or shorter than 50 ms): nothing to "
                              "extract\n");
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / "out.wav"));
}

}  // namespace
}  // namespace tesmera
