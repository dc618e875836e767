// SPDX-License-Identifier: GPL-3.0-or-later
#include "wave/file_name.h"
#include "support/param_name.h"

#include <ostream>
#include <string>

#include <gtest/gtest.h>

namespace tesmera {
namespace {

struct NameCase {
    const char* name;
    const char* path;
    const char* shown;  // as the name field shows it
    friend void PrintTo(const NameCase& c, std::ostream* os) { *os << c.path; }
};

class ShownFileName : public testing::TestWithParam<NameCase> {};

TEST_P(ShownFileName, IsTheLowerCaseTextAfterTheLastSeparator) {
    EXPECT_EQ(AsciiLower(FileNamePart(GetParam().path)), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ShownFileName,
    testing::Values(NameCase{"DriveLetterPath", "D:\\Voices\\Abc1.WAV", "abc1.wav"},
                    NameCase{"ColonInFolder", "/a/b:c.wav", "c.wav"},
                    NameCase{"TwoFullStops", "/home/x/Voice.Backup.WAV", "voice.backup.wav"},
                    NameCase{"NoSeparator", "NoSeparator.Wav", "noseparator.wav"},
                    NameCase{"EndsWithSeparator", "/ends/with/", ""}, NameCase{"Empty", "", ""}),
    test::CaseName());

TEST(AsciiLower, ChangesOnlyTheLettersAToZ) {
    EXPECT_EQ(AsciiLower("AZ@[`az 09_\xC3\x84"), "az@[`az 09_\xC3\x84");
}

}  // namespace
}  // namespace tesmera
