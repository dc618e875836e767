// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/output_paths.h"

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "cli/UsageError.h"
#include "cli/cli_test_support.h"
#include "support/param_name.h"

namespace tesmera {
namespace {

namespace fs = std::filesystem;

// Paths are relative to a folder holding a.wav, b.wav, a hard link
// hard.wav to a.wav, a symbolic link soft.wav to b.wav and out.csv.
struct OutputCheckCase : test::NamedCase<OutputCheckCase> {
    std::vector<std::string> inputs;
    std::vector<std::string> outputs;
    StandardOutput standardOutput;
    std::string refusal;  // the end of the message; empty: accepted
};

class OutputCheck : public ::testing::TestWithParam<OutputCheckCase> {
  protected:
    static std::vector<std::string> InFolder(const test::TempFolder& folder,
                                             const std::vector<std::string>& names) {
        std::vector<std::string> paths;
        for (const std::string& name : names) {
            paths.push_back(name.empty() || name.front() == '-' ? name
                                                                : (folder.Path() / name).string());
        }
        return paths;
    }
};

TEST_P(OutputCheck, RefusesWhatWouldOverwriteOrMix) {
    const OutputCheckCase& c = GetParam();
    const test::TempFolder folder;
    folder.Add("a.wav", test::Bytes(10));
    folder.Add("b.wav", test::Bytes(10));
    folder.Add("out.csv", test::Bytes(10));
    fs::create_hard_link(folder.Path() / "a.wav", folder.Path() / "hard.wav");
    fs::create_symlink(folder.Path() / "b.wav", folder.Path() / "soft.wav");
    const auto inputs = InFolder(folder, c.inputs);
    const auto outputs = InFolder(folder, c.outputs);
    if (c.refusal.empty()) {
        EXPECT_NO_THROW(RefuseUnsafeOutputs(inputs, outputs, c.standardOutput));
        return;
    }
    try {
        RefuseUnsafeOutputs(inputs, outputs, c.standardOutput);
        ADD_FAILURE() << "accepted";
    } catch (const UsageError& error) {
        const std::string message = error.what();
        EXPECT_TRUE(message.ends_with(c.refusal)) << message;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Paths, OutputCheck,
    ::testing::Values(
        OutputCheckCase{"DistinctFiles",
                        {"a.wav", "b.wav"},
                        {"out.csv", "new.json"},
                        StandardOutput::Allowed,
                        ""},
        OutputCheckCase{"NothingAskedFor", {"a.wav"}, {"", ""}, StandardOutput::Allowed, ""},
        OutputCheckCase{"OneStandardOutput", {"a.wav"}, {"-", ""}, StandardOutput::Allowed, ""},
        OutputCheckCase{"OutputIsAnInput",
                        {"a.wav", "b.wav"},
                        {"b.wav"},
                        StandardOutput::Allowed,
                        "is also an input, which the output would overwrite; nothing was written"},
        OutputCheckCase{"HardLinkToAnInput",
                        {"a.wav"},
                        {"hard.wav"},
                        StandardOutput::Allowed,
                        "is also an input, which the output would overwrite; nothing was written"},
        OutputCheckCase{"SymbolicLinkToAnInput",
                        {"b.wav"},
                        {"soft.wav"},
                        StandardOutput::Allowed,
                        "is also an input, which the output would overwrite; nothing was written"},
        OutputCheckCase{"SameFileTwice",
                        {"a.wav"},
                        {"out.csv", "out.csv"},
                        StandardOutput::Allowed,
                        "is named as two outputs; nothing was written"},
        OutputCheckCase{"SameNewFileTwiceSpelledApart",
                        {"a.wav"},
                        {"new.json", "./sub/../new.json"},
                        StandardOutput::Allowed,
                        "is named as two outputs; nothing was written"},
        OutputCheckCase{"StandardOutputTwice",
                        {"a.wav"},
                        {"-", "-"},
                        StandardOutput::Allowed,
                        "standard output is named as two outputs, which would mix them; nothing "
                        "was written"},
        OutputCheckCase{"StandardOutputWhereAFileIsNeeded",
                        {"a.wav"},
                        {"-"},
                        StandardOutput::Refused,
                        "this output is a file and cannot go to standard output; nothing was "
                        "written"},
        OutputCheckCase{"NameLikeAnOption",
                        {"a.wav"},
                        {"-x3.wav"},
                        StandardOutput::Allowed,
                        "an output name starting with '-' may be a misplaced option; write "
                        "./-x3.wav for a file of that name; nothing was written"},
        OutputCheckCase{
            "MissingInputIsNoConflict", {"gone.wav"}, {"new.csv"}, StandardOutput::Allowed, ""},
        // Writing to a device overwrites no input, even the same device.
        OutputCheckCase{"DeviceThatIsAlsoAnInput",
                        {"a.wav", "/dev/null"},
                        {"/dev/null"},
                        StandardOutput::Allowed,
                        ""}),
    test::CaseName());

}  // namespace
}  // namespace tesmera
