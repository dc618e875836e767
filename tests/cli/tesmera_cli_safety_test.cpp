// SPDX-License-Identifier: GPL-3.0-or-later
// The program run as a careless or hostile user would: outputs never
// destroy inputs or old files, a batch never stops early, names never
// reach a terminal or a spreadsheet raw.
#include <algorithm>
#include <filesystem>

#include <map>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "cli/cli_process_support.h"
#include "support/param_name.h"
#include "support/synthetic_vowel.h"

namespace tesmera {
namespace {

namespace fs = std::filesystem;
using test::ProcessRun;
using test::ReadWhole;
using test::RunProgram;

test::Bytes VoicePeriod() {
    return test::CanonicalWav(
        test::HarmonicPeriod(200, {{1, 5000, 0}, {2, 0, 3000}, {3, 2000, 0}, {4, 1000, 0}}));
}

// A folder with two voice periods, a3.wav and -x3.wav, and a recording.
class CliFolder : public ::testing::Test {
  protected:
    CliFolder() {
        folder.Add("a3.wav", VoicePeriod());
        folder.Add("-x3.wav", VoicePeriod());
        test::WriteRecording(Path("vowel.wav"), test::SyntheticVowel({180, 48000}));
    }
    std::string Path(const std::string& name) const { return (folder.Path() / name).string(); }
    // Runs with the folder as the current one.
    ProcessRun Run(const std::string& arguments, const std::string& limits = "") const {
        return RunProgram(arguments, folder,
                          "cd " + test::ShellWord(folder.Path().string()) + " && " + limits);
    }

    test::TempFolder folder;
};

// Command lines whose output would overwrite an input or mix outputs:
// refused before anything is read or written.
struct RefusedCase : test::NamedCase<RefusedCase> {
    std::string arguments;  // run in the folder
    std::string message;
};

class RefusedOutputs : public CliFolder, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(RefusedOutputs, LeaveEveryFileAsItWas) {
    const std::string a3 = ReadWhole(Path("a3.wav"));
    const std::string x3 = ReadWhole(Path("-x3.wav"));
    const std::string vowel = ReadWhole(Path("vowel.wav"));
    const ProcessRun run = Run(GetParam().arguments);
    EXPECT_EQ(run.exitStatus, 64);
    EXPECT_EQ(run.output, GetParam().message + "\n");
    EXPECT_EQ(ReadWhole(Path("a3.wav")), a3);
    EXPECT_EQ(ReadWhole(Path("-x3.wav")), x3);
    EXPECT_EQ(ReadWhole(Path("vowel.wav")), vowel);
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder.Path())) {
        names.push_back(entry.path().filename().string());
    }
    std::ranges::sort(names);
    EXPECT_EQ(names, (std::vector<std::string>{"-x3.wav", "a3.wav", "vowel.wav"}));
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, RefusedOutputs,
    ::testing::Values(
        RefusedCase{"CsvOverItsInput", "analyze a3.wav --csv a3.wav",
                    "tesmera-cli analyze: a3.wav: is also an input, which the output would "
                    "overwrite; nothing was written"},
        RefusedCase{"JsonOverItsInput", "analyze ./a3.wav --json a3.wav",
                    "tesmera-cli analyze: a3.wav: is also an input, which the output would "
                    "overwrite; nothing was written"},
        RefusedCase{"AgreementJsonOverAFileFoundInAFolder", "agreement . --json ./a3.wav",
                    "tesmera-cli agreement: ./a3.wav: is also an input, which the output would "
                    "overwrite; nothing was written"},
        RefusedCase{"OptionLikeNameTakenAsTheValue", "analyze a3.wav --csv -x3.wav",
                    "tesmera-cli analyze: -x3.wav: an output name starting with '-' may be a "
                    "misplaced option; write ./-x3.wav for a file of that name; nothing was "
                    "written"},
        RefusedCase{"OneFileForCsvAndJson", "analyze a3.wav --csv out.txt --json ./out.txt",
                    "tesmera-cli analyze: ./out.txt: is named as two outputs; nothing was "
                    "written"},
        RefusedCase{"CsvAndJsonBothOnStandardOutput", "analyze a3.wav --csv - --json -",
                    "tesmera-cli analyze: -: standard output is named as two outputs, which "
                    "would mix them; nothing was written"},
        RefusedCase{"ExtractOverItsRecording", "extract vowel.wav vowel.wav",
                    "tesmera-cli extract: vowel.wav: is also an input, which the output would "
                    "overwrite; nothing was written"},
        RefusedCase{"ExtractToStandardOutput", "extract vowel.wav -",
                    "tesmera-cli extract: -: this output is a file and cannot go to standard "
                    "output; nothing was written"}),
    test::CaseName());

// Writes that fail part-way (the shell's file-size limit of 512 bytes
// makes every write past it fail): the old file stays whole and no
// temporary file is left.
struct FailedWriteCase : test::NamedCase<FailedWriteCase> {
    std::string arguments;
    std::string output;
    // Where the message can be seen: the agreement table goes first, to a
    // standard output under the same limit, and the message is lost there.
    std::string message;
};

class FailedWrites : public CliFolder, public ::testing::WithParamInterface<FailedWriteCase> {};

TEST_P(FailedWrites, KeepTheOldFileAndLeaveNoTemporaryOne) {
    const std::string old = "old results\n";
    folder.Add(GetParam().output, test::Bytes(old.begin(), old.end()));
    const ProcessRun run = Run(GetParam().arguments, "trap '' XFSZ; ulimit -f 1; ");
    EXPECT_EQ(run.exitStatus, 2);
    if (!GetParam().message.empty()) {
        EXPECT_NE(run.output.find(GetParam().message), std::string::npos) << run.output;
    }
    EXPECT_EQ(ReadWhole(Path(GetParam().output)), old);
    for (const auto& entry : fs::directory_iterator(folder.Path())) {
        EXPECT_FALSE(entry.path().filename().string().ends_with(".tmp")) << entry.path();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Outputs, FailedWrites,
    ::testing::Values(FailedWriteCase{"Csv", "analyze a3.wav ./-x3.wav --csv old.csv", "old.csv",
                                      "cannot write old.csv: "},
                      FailedWriteCase{"Json", "analyze a3.wav --json old.json", "old.json",
                                      "cannot write old.json: "},
                      FailedWriteCase{"AgreementJson", "agreement a3.wav --json old.json",
                                      "old.json", ""},
                      FailedWriteCase{"ExtractedPeriod", "extract vowel.wav period.wav",
                                      "period.wav", "cannot write period.wav: "}),
    test::CaseName());

TEST_F(CliFolder, AFullDeviceIsAFailedOutput) {
    const ProcessRun run = Run("analyze a3.wav --csv /dev/full");
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_EQ(run.output, "tesmera-cli analyze: cannot write /dev/full: the disk is full\n");
}

TEST_F(CliFolder, AnOutputBesideTheInputsIsWrittenWhole) {
    const ProcessRun run = Run("analyze a3.wav --csv ./-x3.csv");
    EXPECT_EQ(run.exitStatus, 0) << run.output;
    EXPECT_EQ(ReadWhole(Path("-x3.csv")).substr(0, 12), "path,status,");
}

TEST_F(CliFolder, ExtractReplacesAnOldPeriodWhole) {
    folder.Add("period.wav", test::Bytes(5000, 7));
    const ProcessRun run = Run("extract vowel.wav period.wav");
    EXPECT_EQ(run.exitStatus, 0) << run.output;
    EXPECT_EQ(Run("analyze period.wav").exitStatus, 0);
}

// Paths that cannot be examined or read: each gets a record, the others
// are still analysed, and the JSON is complete.
TEST_F(CliFolder, ABatchGoesOnPastPathsThatCannotBeRead) {
    fs::create_symlink("loop.wav", Path("loop.wav"));
    fs::create_directories(Path("sub/d1.wav"));
    fs::create_symlink("loop", Path("sub/loop"));
    const std::string longName = std::string(300, 'n') + ".wav";
    const ProcessRun run = Run("analyze . sub/loop/x.wav " + longName + " --json out.json");
    EXPECT_EQ(run.exitStatus, 1) << run.output;
    const std::string text = ReadWhole(Path("out.json"));
    EXPECT_TRUE(text.ends_with("}\n]\n")) << text;
    std::map<std::string, std::pair<std::string, std::string>> statuses;
    for (const auto& record : nlohmann::json::parse(text)) {
        statuses[record["path"]] = {record["status"], record["status_code"]};
    }
    using Status = std::pair<std::string, std::string>;
    EXPECT_EQ(statuses["./a3.wav"], Status("ok", "ok"));
    EXPECT_EQ(statuses["./-x3.wav"], Status("ok", "ok"));
    EXPECT_EQ(statuses["./loop.wav"], Status("I/O error 40.", "io_error"));
    EXPECT_EQ(statuses["./sub/d1.wav"], Status("Folder, not a voice file.", "is_folder"));
    EXPECT_EQ(statuses["sub/loop/x.wav"], Status("I/O error 40.", "io_error"));
    EXPECT_EQ(statuses[longName], Status("Invalid filename.", "invalid_name"));
    EXPECT_EQ(statuses.size(), 7u);  // and the recording, refused as too long
}

TEST_F(CliFolder, NoVoiceFileFoundIsAMessageAndStatusOne) {
    fs::create_directories(Path("empty"));
    const ProcessRun run = Run("agreement empty");
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.output, "tesmera-cli agreement: no voice file (*.wav) found in empty\n");
}

TEST_F(CliFolder, TheTableShowsControlCharactersInNamesEscaped) {
    folder.Add("\x1b[31mred\n3.wav", VoicePeriod());
    const ProcessRun run = Run("analyze " + test::ShellWord("\x1b[31mred\n3.wav"));
    EXPECT_EQ(run.exitStatus, 0) << run.output;
    EXPECT_EQ(run.output.find('\x1b'), std::string::npos);
    EXPECT_NE(run.output.find("\\x1B[31mred\\n3.wav "), std::string::npos) << run.output;
}

}  // namespace
}  // namespace tesmera
