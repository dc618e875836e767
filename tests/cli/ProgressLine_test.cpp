// SPDX-License-Identifier: GPL-3.0-or-later
// The progress line's text: counts, the elapsed time in minutes and
// seconds, and the next file's name as the terminal may show it.
#include "cli/ProgressLine.h"

#include <gtest/gtest.h>

#include "support/param_name.h"

namespace tesmera {
namespace {

struct ProgressCase : test::NamedCase<ProgressCase> {
    std::size_t done;
    std::size_t total;
    long long seconds;
    std::string next;
    std::string text;
};

class ProgressTexts : public ::testing::TestWithParam<ProgressCase> {};

TEST_P(ProgressTexts, SayHowFarTheBatchIs) {
    const ProgressCase& c = GetParam();
    EXPECT_EQ(ProgressText(c.done, c.total, std::chrono::seconds(c.seconds), c.next), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ProgressTexts,
    ::testing::Values(ProgressCase{"FirstSeconds", 3, 12, 5, "in/anna_3.wav",
                                   "3 of 12 files done, 0:05 elapsed: anna_3.wav"},
                      ProgressCase{"OverAnHour", 11, 12, 3725, "b.flac",
                                   "11 of 12 files done, 62:05 elapsed: b.flac"},
                      ProgressCase{"LastFileDone", 12, 12, 60, "",
                                   "12 of 12 files done, 1:00 elapsed"},
                      // An escape sequence in a name must not reach the terminal.
                      ProgressCase{"EscapedName", 1, 2, 0, "x/\x1B[2Jy.wav",
                                   "1 of 2 files done, 0:00 elapsed: \\x1B[2Jy.wav"}),
    test::CaseName());

}  // namespace
}  // namespace tesmera
