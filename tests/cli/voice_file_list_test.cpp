// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/voice_file_list.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include <gtest/gtest.h>

#include "cli/cli_test_support.h"
#include "support/param_name.h"

namespace tesmera {
namespace {

namespace fs = std::filesystem;

TEST(VoiceFileList, FoldersGiveTheirWavFilesSortedFilesStayAsGiven) {
    const test::TempFolder folder;
    folder.Add("b2.WAV", {});
    folder.Add("a1.wav", {});
    folder.Add("notes.txt", {});
    folder.Add("deeper/c3.Wav", {});
    const std::string root = folder.Path().string();
    const std::vector<std::string> paths{"x.txt", root};
    EXPECT_EQ(CollectVoiceFiles(paths, VoicePeriodFiles()),
              (std::vector<BatchEntry>{{"x.txt", {}},
                                       {root + "/a1.wav", {}},
                                       {root + "/b2.WAV", {}},
                                       {root + "/deeper/c3.Wav", {}}}));
}

// Things in a searched folder that are not plain voice files: each is
// reported in its place (or left to the file's own record), never dropped
// and never a reason to stop.
struct FolderThingCase : test::NamedCase<FolderThingCase> {
    std::function<void(const fs::path& folder)> make;
    std::vector<BatchEntry> expected;  // paths relative to the folder
};

class FolderThings : public ::testing::TestWithParam<FolderThingCase> {};

TEST_P(FolderThings, AreReportedAndTheSearchGoesOn) {
    const FolderThingCase& c = GetParam();
    const test::TempFolder folder;
    folder.Add("z9.wav", {});
    c.make(folder.Path());
    std::vector<BatchEntry> expected;
    for (const BatchEntry& entry : c.expected) {
        expected.push_back({(folder.Path() / entry.Path).string(), entry.Problem});
    }
    const std::vector<std::string> paths{folder.Path().string()};
    EXPECT_EQ(CollectVoiceFiles(paths, VoicePeriodFiles()), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Entries, FolderThings,
    ::testing::Values(
        FolderThingCase{"FolderNamedLikeAVoiceFile",
                        [](const fs::path& f) {
                            fs::create_directories(f / "d1.wav");
                            std::ofstream(f / "d1.wav" / "in2.wav");
                        },
                        {{"d1.wav", Status{StatusCode::IsFolder, FolderNamedLikeVoiceFileStatus}},
                         {"d1.wav/in2.wav", {}},
                         {"z9.wav", {}}}},
        FolderThingCase{"LinkLoop",
                        [](const fs::path& f) { fs::create_symlink(f / "l1.wav", f / "l1.wav"); },
                        {{"l1.wav", {}}, {"z9.wav", {}}}},
        FolderThingCase{"DanglingLink",
                        [](const fs::path& f) { fs::create_symlink(f / "gone", f / "g1.wav"); },
                        {{"g1.wav", {}}, {"z9.wav", {}}}},
        FolderThingCase{"LinkedFolderIsNotFollowed",
                        [](const fs::path& f) {
                            fs::create_directories(f / "real");
                            std::ofstream(f / "real" / "r1.wav");
                            fs::create_directory_symlink(f, f / "real" / "back");
                        },
                        {{"real/r1.wav", {}}, {"z9.wav", {}}}},
        FolderThingCase{"PipeIsReportedUnopened",
                        [](const fs::path& f) { mkfifo((f / "p1.wav").c_str(), 0600); },
                        {{"p1.wav", Status{StatusCode::NotRegularFile, NotARegularFileStatus}},
                         {"z9.wav", {}}}}),
    test::CaseName());

TEST(VoiceFileList, AnUnreadableFolderIsReported) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "root reads every folder";
    }
    const test::TempFolder folder;
    folder.Add("locked/a1.wav", {});
    fs::permissions(folder.Path() / "locked", fs::perms::none);
    const std::vector<std::string> paths{folder.Path().string()};
    const auto entries = CollectVoiceFiles(paths, VoicePeriodFiles());
    fs::permissions(folder.Path() / "locked", fs::perms::owner_all);
    EXPECT_EQ(entries, (std::vector<BatchEntry>{
                           {(folder.Path() / "locked").string(),
                            Status{StatusCode::FolderNotRead,
                                   std::string(FolderNotReadStatus) + "File access denied."}}}));
}

TEST(VoiceFileList, PathsThatCannotBeExaminedAreKeptForTheirOwnRecords) {
    const test::TempFolder folder;
    fs::create_symlink(folder.Path() / "loop", folder.Path() / "loop");
    const std::vector<std::string> paths{(folder.Path() / "loop" / "x.wav").string(),
                                         std::string(300, 'n') + ".wav"};
    EXPECT_EQ(CollectVoiceFiles(paths, VoicePeriodFiles()),
              (std::vector<BatchEntry>{{paths[0], {}}, {paths[1], {}}}));
}

}  // namespace
}  // namespace tesmera
