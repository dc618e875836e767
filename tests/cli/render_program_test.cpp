// SPDX-License-Identifier: GPL-3.0-or-later
// Where tesmera-cli looks for tesmera-render: beside itself in a build tree,
// under libexec when installed, never in the current folder.
#include "cli/render_program.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "cli/cli_test_support.h"
#include "config/build_config.h"
#include "support/param_name.h"

namespace tesmera {
namespace {

namespace fs = std::filesystem;

TEST(RenderProgramCandidates, UnknownSelfLeavesOnlyTheConfiguredAbsolutePlace) {
    // /proc/self/exe unreadable: a bare name would mean the current folder.
    const std::vector<fs::path> candidates = RenderProgramCandidates({});
    ASSERT_EQ(candidates.size(), 1u);
    EXPECT_EQ(candidates[0], fs::path(std::string(RenderProgramInstalled)));
    EXPECT_TRUE(candidates[0].is_absolute());
    EXPECT_EQ(RenderProgramCandidates("tesmera-cli"), candidates);
}

TEST(RenderProgramCandidates, BesideSelfFirstThenTheInstalledPlaceRelativeToIt) {
    const std::vector<fs::path> candidates = RenderProgramCandidates("/opt/t/bin/tesmera-cli");
    ASSERT_GE(candidates.size(), 2u);
    EXPECT_EQ(candidates[0], fs::path("/opt/t/bin/tesmera-render"));
    EXPECT_EQ(candidates[1],
              (fs::path("/opt/t/bin") / std::string(RenderProgramFromBinDir)).lexically_normal());
    EXPECT_EQ(candidates.back(), fs::path(std::string(RenderProgramInstalled)));
    for (const fs::path& candidate : candidates) {
        EXPECT_TRUE(candidate.is_absolute()) << candidate;
        EXPECT_EQ(candidate.filename(), "tesmera-render") << candidate;
    }
}

// A staged tree: which files exist, and which one must be chosen.
struct StagedTree : test::NamedCase<StagedTree> {
    std::vector<std::string> executables;  // relative to the stage
    std::vector<std::string> plainFiles;   // present but not executable
    std::string expected;                  // relative to the stage
};

class FindRenderProgramInTrees : public ::testing::TestWithParam<StagedTree> {};

TEST_P(FindRenderProgramInTrees, ChoosesTheFirstExecutableCandidate) {
    const test::TempFolder stage;
    const auto make = [&](const std::string& relative, mode_t mode) {
        const fs::path path = stage.Path() / relative;
        fs::create_directories(path.parent_path());
        stage.Add(relative, {});
        ASSERT_EQ(chmod(path.c_str(), mode), 0);
    };
    for (const std::string& file : GetParam().executables) {
        make(file, 0755);
    }
    for (const std::string& file : GetParam().plainFiles) {
        make(file, 0644);
    }
    const fs::path self = stage.Path() / "usr/bin/tesmera-cli";
    EXPECT_EQ(FindRenderProgram(self), (stage.Path() / GetParam().expected).lexically_normal());
}

const std::string Installed = "usr/bin/" + std::string(RenderProgramFromBinDir);

INSTANTIATE_TEST_SUITE_P(
    Trees, FindRenderProgramInTrees,
    ::testing::Values(
        StagedTree{"BuildTree", {"usr/bin/tesmera-render"}, {}, "usr/bin/tesmera-render"},
        StagedTree{"InstalledTree", {Installed}, {}, Installed},
        StagedTree{"BesideWinsOverInstalled",
                   {"usr/bin/tesmera-render", Installed},
                   {},
                   "usr/bin/tesmera-render"},
        StagedTree{
            "NotExecutableBesideIsPassedOver", {Installed}, {"usr/bin/tesmera-render"}, Installed},
        // Nothing to start: the failure names the place beside tesmera-cli.
        StagedTree{"NothingAnywhere", {}, {}, "usr/bin/tesmera-render"},
        StagedTree{
            "FolderIsNoProgram", {}, {"usr/bin/tesmera-render/x"}, "usr/bin/tesmera-render"}),
    test::CaseName());

}  // namespace
}  // namespace tesmera
