// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/native_file_name.h"

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>
#include <QFile>

#include "support/TempFolder.h"
#include "support/param_name.h"

namespace tesmera {
namespace {

namespace fs = std::filesystem;

// Names as the system stores them, some not UTF-8; each is created in a
// fresh folder, shown as Qt shows it, and must come back byte for byte.
struct NativeNameCase : test::NamedCase<NativeNameCase> {
    std::string relativePath;  // bytes
};

class NativeNames : public ::testing::TestWithParam<NativeNameCase> {};

TEST_P(NativeNames, ComeBackAsTheSystemSpellsThem) {
    const test::TempFolder folder;
    const fs::path path = folder.Path() / GetParam().relativePath;
    fs::create_directories(path.parent_path());
    std::ofstream(path) << "x";
    const QString shown = QFile::decodeName(path.c_str());
    EXPECT_EQ(NativeFileName(shown), path.string());
}

INSTANTIATE_TEST_SUITE_P(Names, NativeNames,
                         ::testing::Values(NativeNameCase{"Ascii", "a3.wav"},
                                           NativeNameCase{"Utf8",
                                                          "hlas_\xC5\xA1\xC4\x8D"
                                                          "3.wav"},
                                           NativeNameCase{"Latin1File", "caf\xE9_3.wav"},
                                           NativeNameCase{"Latin1Folder", "r\xE9pertoire/a3.wav"},
                                           NativeNameCase{"StrayByteInBoth", "\x80x/\xFFy3.wav"}),
                         test::CaseName());

TEST(NativeFileName, AMissingFileKeepsItsEncodedName) {
    EXPECT_EQ(NativeFileName(QStringLiteral("/nonexistent/a3.wav")), "/nonexistent/a3.wav");
}

TEST(NativeFileName, TwoNamesShownAlikeAreNotGuessed) {
    const test::TempFolder folder;
    std::ofstream(folder.Path() / "caf\xE9.wav") << "x";
    std::ofstream(folder.Path() / "caf\xE8.wav") << "x";
    const QString shown = QFile::decodeName((folder.Path() / "caf\xE9.wav").c_str());
    EXPECT_EQ(NativeFileName(shown), QFile::encodeName(shown).toStdString());
}

}  // namespace
}  // namespace tesmera
