// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/periods_folder.h"

#include <gtest/gtest.h>

#include "cli/UsageError.h"
#include "support/TempFolder.h"
#include "support/param_name.h"

namespace tesmera {
namespace {

struct CollisionCase : test::NamedCase<CollisionCase> {
    std::vector<std::string> recordings;
    std::vector<std::string> kept;  // besides the recordings
    std::string refusal;            // empty: accepted
};

class PeriodNames : public ::testing::TestWithParam<CollisionCase> {};

TEST_P(PeriodNames, NeverReplaceEachOtherOrAnOutput) {
    const CollisionCase& c = GetParam();
    std::vector<BatchEntry> entries;
    std::vector<std::string> kept = c.kept;
    for (const std::string& path : c.recordings) {
        entries.push_back({path, {}});
        kept.push_back(path);
    }
    try {
        RefusePeriodNameCollisions(entries, kept, "p");
        EXPECT_EQ(c.refusal, "");
    } catch (const UsageError& error) {
        EXPECT_EQ(std::string(error.what()), c.refusal);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Batches, PeriodNames,
    ::testing::Values(
        CollisionCase{"OneNameInTwoFolders",
                      {"x/anna_3.wav", "y/anna_3.wav"},
                      {},
                      "--periods: x/anna_3.wav and y/anna_3.wav would write period files of the "
                      "same names (anna_3_c001_3.wav, ...); report them in separate runs, or "
                      "rename one"},
        CollisionCase{"OneStemInTwoFormats",
                      {"a_3.wav", "a_3.flac"},
                      {},
                      "--periods: a_3.wav and a_3.flac would write period files of the same names "
                      "(a_3_c001_3.wav, ...); report them in separate runs, or rename one"},
        CollisionCase{"DifferentStems", {"x/anna.3.wav", "y/anna.4.wav"}, {}, ""},
        CollisionCase{"OutputNamedLikeAPeriodFile",
                      {"anna_3.wav"},
                      {"p/anna_3_c007_3.wav"},
                      "p/anna_3_c007_3.wav: a period file of anna_3.wav in --periods p would "
                      "replace it; choose another folder or name"},
        CollisionCase{"OutputInTheFolderUnderItsOwnName", {"anna_3.wav"}, {"p/r.json"}, ""},
        CollisionCase{"PeriodNameInAnotherFolder", {"anna_3.wav"}, {"q/anna_3_c007_3.wav"}, ""},
        CollisionCase{"NumberNeverWrittenSo", {"anna_3.wav"}, {"p/anna_3_c0007_3.wav"}, ""},
        CollisionCase{"InputThatIsAPeriodFileOfAnother",
                      {"./p/anna_c1234_nograde.wav", "anna.wav"},
                      {},
                      "./p/anna_c1234_nograde.wav: a period file of anna.wav in --periods p would "
                      "replace it; choose another folder or name"}),
    test::CaseName());

TEST(PeriodNames, TheSameRecordingTwiceWritesTheSameFiles) {
    const test::TempFolder folder;
    const std::string path = folder.Add("anna_3.wav", test::Bytes{});
    const std::string other = (folder.Path() / "." / "anna_3.wav").string();
    const std::vector<BatchEntry> entries{{path, {}}, {other, {}}};
    EXPECT_NO_THROW(RefusePeriodNameCollisions(entries, {}, (folder.Path() / "p").string()));
}

TEST(PeriodNames, AnEntryWithAProblemWritesNone) {
    const std::vector<BatchEntry> entries{
        {"x/anna_3.wav", Status{StatusCode::IsFolder, "Folder, not a voice file."}},
        {"y/anna_3.wav", {}}};
    EXPECT_NO_THROW(RefusePeriodNameCollisions(entries, {}, "p"));
}

}  // namespace
}  // namespace tesmera
