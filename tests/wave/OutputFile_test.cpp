// SPDX-License-Identifier: GPL-3.0-or-later
#include "wave/OutputFile.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "support/TempFolder.h"
#include "support/param_name.h"
#include "support/wav_test_support.h"

namespace tesmera {
namespace {

namespace fs = std::filesystem;

std::string ReadWhole(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> NamesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::ranges::sort(names);
    return names;
}

class OutputFileTest : public ::testing::Test {
  protected:
    test::TempFolder folder;
    const std::string target = folder.Add("out.csv", test::Bytes{});
};

TEST_F(OutputFileTest, TheOldFileStaysUntilCommitThenTheNewOneIsWhole) {
    std::ofstream(target) << "old";
    OutputFile file(target);
    file.Write("new ");
    file.Write("content");
    EXPECT_EQ(ReadWhole(target), "old");
    file.Commit();
    EXPECT_EQ(ReadWhole(target), "new content");
    EXPECT_EQ(NamesIn(folder.Path()), std::vector<std::string>{"out.csv"});
}

TEST_F(OutputFileTest, AnUncommittedFileLeavesTheOldOneAndNoTemporaryFile) {
    std::ofstream(target) << "old";
    {
        OutputFile file(target);
        file.Write("half of it");
    }
    EXPECT_EQ(ReadWhole(target), "old");
    EXPECT_EQ(NamesIn(folder.Path()), std::vector<std::string>{"out.csv"});
}

TEST_F(OutputFileTest, ReplacingKeepsThePermissions) {
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    OutputFile file(target);
    file.Write("x");
    file.Commit();
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(OutputFileTest, ALinkKeepsPointingToTheFileItNames) {
    const fs::path link = folder.Path() / "link.csv";
    fs::create_symlink(target, link);
    OutputFile file(link.string());
    file.Write("through the link");
    file.Commit();
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadWhole(target), "through the link");
}

TEST_F(OutputFileTest, ANewFileInALongNamedFolderEntryIsCreated) {
    const std::string name = std::string(250, 'n') + ".csv";
    OutputFile file((folder.Path() / name).string());
    file.Write("long");
    file.Commit();
    EXPECT_EQ(ReadWhole(folder.Path() / name), "long");
}

TEST_F(OutputFileTest, WhileWritingThePartialFileSaysWhatItIs) {
    OutputFile file(target);
    file.Write("half of it");
    EXPECT_EQ(NamesIn(folder.Path()),
              (std::vector<std::string>{"out.csv", "out.csv.tesmera-partial"}));
}

// A kill between writing and the rename leaves the partial file; nobody
// holds its lock any more, so the next write of the output removes it,
// under every name a writer may have used.
TEST_F(OutputFileTest, PartialFilesOfAKilledWriterGoWithTheNextWrite) {
    folder.Add("out.csv.tesmera-partial", test::Bytes{1});
    folder.Add("out.csv.tesmera-partial-3", test::Bytes{2});
    OutputFile file(target);
    file.Write("new");
    file.Commit();
    EXPECT_EQ(ReadWhole(target), "new");
    EXPECT_EQ(NamesIn(folder.Path()), std::vector<std::string>{"out.csv"});
}

TEST_F(OutputFileTest, TwoWritersOfOneOutputKeepTheirOwnPartialFiles) {
    OutputFile first(target);
    first.Write("first");
    {
        OutputFile second(target);
        second.Write("second");
        second.Commit();
    }
    EXPECT_EQ(ReadWhole(target), "second");
    first.Commit();
    EXPECT_EQ(ReadWhole(target), "first");
    EXPECT_EQ(NamesIn(folder.Path()), std::vector<std::string>{"out.csv"});
}

TEST(OutputFileDevice, ADeviceIsWrittenInPlace) {
    OutputFile file("/dev/null");
    file.Write("discarded");
    EXPECT_NO_THROW(file.Commit());
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
}

// Outputs that cannot be written: each fails with its path and reason,
// and the folder it was meant for holds nothing new.
struct FailingOutputCase : test::NamedCase<FailingOutputCase> {
    std::string relativePath;  // in a fresh folder; empty: `absolutePath`
    std::string absolutePath;
    std::string reason;  // "{folder}" stands for the fresh folder
};

class FailingOutput : public ::testing::TestWithParam<FailingOutputCase> {};

TEST_P(FailingOutput, FailsWithPathAndReasonAndLeavesNothing) {
    const FailingOutputCase& c = GetParam();
    const test::TempFolder folder;
    fs::create_directories(folder.Path() / "sub.csv");
    const std::string path =
        c.relativePath.empty() ? c.absolutePath : (folder.Path() / c.relativePath).string();
    try {
        OutputFile file(path);
        file.Write(std::string(100000, 'x'));
        file.Commit();
        ADD_FAILURE() << "no error";
    } catch (const OutputFileError& error) {
        std::string reason = c.reason;
        if (const auto at = reason.find("{folder}"); at != std::string::npos) {
            reason.replace(at, 8, folder.Path().string());
        }
        EXPECT_EQ(std::string(error.what()), "cannot write " + path + ": " + reason);
    }
    EXPECT_EQ(NamesIn(folder.Path()), std::vector<std::string>{"sub.csv"});
    EXPECT_TRUE(fs::is_empty(folder.Path() / "sub.csv"));
}

INSTANTIATE_TEST_SUITE_P(
    Outputs, FailingOutput,
    ::testing::Values(FailingOutputCase{"MissingFolder", "no/such/folder.csv", "",
                                        "the folder {folder}/no/such does not exist"},
                      FailingOutputCase{"AFolder", "sub.csv", "", "it is a folder; name a file"},
                      FailingOutputCase{"NameTooLong", std::string(300, 'n') + ".csv", "",
                                        "the name is too long"},
                      FailingOutputCase{"FullDevice", "", "/dev/full", "the disk is full"}),
    test::CaseName());

}  // namespace
}  // namespace tesmera
