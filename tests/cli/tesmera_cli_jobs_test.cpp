// SPDX-License-Identifier: GPL-3.0-or-later
// The batch commands give the same bytes however many threads analyse the
// files, or share one recording, and refuse a thread count that makes no
// sense.
#include <cstdint>
#include <string>

#include <gtest/gtest.h>

#include "cli/cli_process_support.h"
#include "support/param_name.h"
#include "tools/sustained_vowel.h"

namespace tesmera {
namespace {

using test::ProcessRun;
using test::ReadWhole;
using test::RunProgram;
using test::ShellWord;

const std::string PeriodSetProgram = TESMERA_BINARY_DIR "/tools/make_periods";

// Every output of one batch command, as bytes.
struct BatchOutputs {
    ProcessRun console;
    std::string csv;
    std::string json;
};

// `command` over `input` with `--jobs jobs`, writing its files as
// <jobs>.csv and <jobs>.json in `folder` when `toFiles`.
BatchOutputs RunBatch(const std::string& command, const std::string& input, int jobs,
                      const test::TempFolder& folder, bool toFiles) {
    const std::string stem = (folder.Path() / std::to_string(jobs)).string();
    std::string arguments = command + " --jobs " + std::to_string(jobs) + " " + ShellWord(input);
    if (toFiles) {
        arguments += (command == "analyze" ? " --csv " + ShellWord(stem + ".csv") : "") +
                     " --json " + ShellWord(stem + ".json");
    }
    BatchOutputs outputs{RunProgram(arguments, folder), "", ""};
    if (toFiles) {
        outputs.csv = ReadWhole(stem + ".csv");
        outputs.json = ReadWhole(stem + ".json");
    }
    return outputs;
}

struct SameBytes : test::NamedCase<SameBytes> {
    const char* command;
    bool toFiles;  // else the table on standard output
};

class JobCounts : public ::testing::TestWithParam<SameBytes> {
  protected:
    // Generated once for every case: varied periods, refused headers and
    // names with and without grades.
    static void SetUpTestSuite() {
        folder_ = new test::TempFolder();
        const std::string input = (folder_->Path() / "periods").string();
        ASSERT_EQ(
            std::system((PeriodSetProgram + " varied " + ShellWord(input) + " 150 11").c_str()), 0);
    }
    static void TearDownTestSuite() {
        delete folder_;
        folder_ = nullptr;
    }
    static std::string Input() { return (folder_->Path() / "periods").string(); }

    static test::TempFolder* folder_;
};

test::TempFolder* JobCounts::folder_ = nullptr;

TEST_P(JobCounts, GiveTheSameBytes) {
    const SameBytes& same = GetParam();
    const test::TempFolder outputs;
    const BatchOutputs one = RunBatch(same.command, Input(), 1, outputs, same.toFiles);
    const BatchOutputs four = RunBatch(same.command, Input(), 4, outputs, same.toFiles);
    // The generated set holds refused files: not every file is ok.
    EXPECT_EQ(one.console.exitStatus, 1) << one.console.output.substr(0, 500);
    EXPECT_EQ(four.console.exitStatus, one.console.exitStatus);
    EXPECT_GT(one.console.output.size() + one.csv.size() + one.json.size(), 1000U);
    EXPECT_TRUE(one.console.output == four.console.output) << "standard output and error differ";
    EXPECT_TRUE(one.csv == four.csv) << "CSV differs";
    EXPECT_TRUE(one.json == four.json) << "JSON differs";
}

INSTANTIATE_TEST_SUITE_P(Outputs, JobCounts,
                         ::testing::Values(SameBytes{"AnalyzeTable", "analyze", false},
                                           SameBytes{"AnalyzeCsvAndJson", "analyze", true},
                                           SameBytes{"AgreementTable", "agreement", false},
                                           SameBytes{"AgreementJson", "agreement", true}),
                         test::CaseName());

struct OneRecording : test::NamedCase<OneRecording> {
    std::int32_t rate;
    const char* options;  // beside --jobs and --json
};

class RecordingJobCounts : public ::testing::TestWithParam<OneRecording> {};

// A single recording is worked on by every job: its report must not change.
TEST_P(RecordingJobCounts, GiveTheSameReport) {
    const OneRecording& c = GetParam();
    const test::TempFolder folder;
    tools::VowelRecipe recipe;
    recipe.Rate = c.rate;
    recipe.F0 = 131;
    recipe.Jitter = 0.012;
    recipe.Shimmer = 0.05;
    recipe.HnrDb = 10;
    recipe.Seconds = 2.5;
    const std::string input = (folder.Path() / "rough_g4.wav").string();
    tools::WriteVowel(input, tools::GenerateVowel(recipe));
    std::string json[2];
    std::string console[2];
    for (const int jobs : {1, 4}) {
        const std::string output = (folder.Path() / (std::to_string(jobs) + ".json")).string();
        const ProcessRun run =
            RunProgram("report --jobs " + std::to_string(jobs) + " " + c.options + " --json " +
                           ShellWord(output) + " " + ShellWord(input),
                       folder);
        EXPECT_EQ(run.exitStatus, 0) << run.output;
        console[jobs == 1 ? 0 : 1] = run.output;
        json[jobs == 1 ? 0 : 1] = ReadWhole(output);
    }
    EXPECT_NE(json[0].find("\"status\":\"ok\""), std::string::npos) << json[0];
    EXPECT_TRUE(console[0] == console[1]) << "standard output and error differ";
    EXPECT_TRUE(json[0] == json[1]) << "JSON differs";
}

INSTANTIATE_TEST_SUITE_P(Outputs, RecordingJobCounts,
                         ::testing::Values(OneRecording{"At48k", 48000, ""},
                                           OneRecording{"At16kAroundATime", 16000, "--at 1.2"}),
                         test::CaseName());

struct BadJobs : test::NamedCase<BadJobs> {
    const char* value;
};

class BadJobCounts : public ::testing::TestWithParam<BadJobs> {};

TEST_P(BadJobCounts, AreUsageErrors) {
    const test::TempFolder folder;
    for (const char* command : {"analyze", "agreement"}) {
        const ProcessRun run =
            RunProgram(std::string(command) + " --jobs " + ShellWord(GetParam().value) + " " +
                           ShellWord(folder.Path().string()),
                       folder);
        EXPECT_EQ(run.exitStatus, 64) << command << ": " << run.output;
        EXPECT_NE(run.output.find("--jobs"), std::string::npos) << command << ": " << run.output;
    }
}

INSTANTIATE_TEST_SUITE_P(Values, BadJobCounts,
                         ::testing::Values(BadJobs{"Zero", "0"}, BadJobs{"Negative", "-2"},
                                           BadJobs{"NotANumber", "two"}, BadJobs{"Fraction", "1.5"},
                                           BadJobs{"TooMany", "100000"}),
                         test::CaseName());

}  // namespace
}  // namespace tesmera
