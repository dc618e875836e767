// SPDX-License-Identifier: GPL-3.0-or-later
#include "wave/path_problem.h"

#include <cerrno>
#include <filesystem>

#include <gtest/gtest.h>

#include "support/TempFolder.h"
#include "support/param_name.h"

namespace tesmera {
namespace {

// Reasons that need a user without rights or a read-only disk to happen
// (the tests may run as root), checked from the errno value.
struct ReasonCase : test::NamedCase<ReasonCase> {
    std::string path;  // in a fresh folder holding the folder d/ and the file f
    int errnoValue;
    std::string reason;  // "{folder}" stands for the fresh folder
};

class WriteReasons : public ::testing::TestWithParam<ReasonCase> {};

std::string InFolder(std::string text, const test::TempFolder& folder) {
    for (auto at = text.find("{folder}"); at != std::string::npos; at = text.find("{folder}")) {
        text.replace(at, 8, folder.Path().string());
    }
    return text;
}

TEST_P(WriteReasons, NameWhatToFix) {
    const ReasonCase& c = GetParam();
    const test::TempFolder folder;
    std::filesystem::create_directories(folder.Path() / "d");
    folder.Add("f", test::Bytes{});
    const std::string path = InFolder(c.path, folder);
    EXPECT_EQ(WriteProblem(path, c.errnoValue), InFolder(c.reason, folder));
}

INSTANTIATE_TEST_SUITE_P(
    Errors, WriteReasons,
    ::testing::Values(
        ReasonCase{"FolderNotWritable", "{folder}/d/x.csv", EACCES,
                   "the folder {folder}/d cannot be written (permission denied)"},
        ReasonCase{"FolderItselfDenied", "{folder}/d", EACCES, "it is a folder; name a file"},
        ReasonCase{"ReadOnlyDisk", "{folder}/d/x.csv", EROFS,
                   "the folder {folder}/d is on a read-only file system"},
        ReasonCase{"FileOnTheWay", "{folder}/f/x.csv", ENOTDIR,
                   "a part of the path before the name is not a folder"},
        ReasonCase{"NoSuchFileInAFolder", "{folder}/d/x.csv", ENOENT, "no such file"},
        ReasonCase{"RelativeNameInTheCurrentFolder", "x.csv", ENOENT, "no such file"},
        ReasonCase{"OtherErrorsInTheSystemsWords", "{folder}/d/x.csv", EIO, "Input/output error"}),
    test::CaseName());

TEST(FolderWriteReasons, TellAFileFromAFolderWithoutRights) {
    const test::TempFolder folder;
    const std::string file = folder.Add("f", test::Bytes{});
    EXPECT_EQ(FolderWriteProblem(file, EEXIST), "it is not a folder");
    EXPECT_EQ(FolderWriteProblem(folder.Path().string(), EACCES),
              "the folder cannot be written (permission denied)");
    EXPECT_EQ(FolderWriteProblem((folder.Path() / "new/p").string(), EACCES),
              "the folder " + (folder.Path() / "new").string() +
                  " cannot be written (permission denied)");
}

TEST(ReadReasons, SayWhetherTheFileOrItsFolderIsMissing) {
    const test::TempFolder folder;
    EXPECT_EQ(ReadProblem((folder.Path() / "none.wav").string()), "no such file");
    EXPECT_EQ(ReadProblem((folder.Path() / "gone/none.wav").string()),
              "the folder " + (folder.Path() / "gone").string() + " does not exist");
    EXPECT_EQ(ReadProblem(folder.Path().string()), "it is a folder; name a file");
}

}  // namespace
}  // namespace tesmera
