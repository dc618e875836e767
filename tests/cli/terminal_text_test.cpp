// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/terminal_text.h"

#include <gtest/gtest.h>

#include "cli/utf8_text.h"
#include "support/param_name.h"

namespace tesmera {
namespace {

struct TextCase : test::NamedCase<TextCase> {
    std::string text;
    std::string terminal;  // TerminalText
    bool utf8;             // IsValidUtf8
};

class Texts : public ::testing::TestWithParam<TextCase> {};

TEST_P(Texts, EscapeWhatATerminalWouldObey) {
    EXPECT_EQ(TerminalText(GetParam().text), GetParam().terminal);
}

TEST_P(Texts, TellWellFormedUtf8) {
    EXPECT_EQ(IsValidUtf8(GetParam().text), GetParam().utf8);
}

INSTANTIATE_TEST_SUITE_P(
    Names, Texts,
    ::testing::Values(
        TextCase{"Plain", "samples/a3.wav", "samples/a3.wav", true},
        TextCase{"Empty", "", "", true},
        TextCase{"CzechLetters",
                 "hlas_\xC5\xA1\xC4\x8D"
                 "3.wav",
                 "hlas_\xC5\xA1\xC4\x8D"
                 "3.wav",
                 true},
        TextCase{"FourByteLetter", "\xF0\x9F\x8E\xA4.wav", "\xF0\x9F\x8E\xA4.wav", true},
        TextCase{"EscapeSequence", "a\x1b]0;pwned\x07.wav", "a\\x1B]0;pwned\\x07.wav", true},
        TextCase{"LineBreaksAndTab", "a\nb\rc\td", "a\\nb\\rc\\td", true},
        TextCase{"Delete", "a\x7f", "a\\x7F", true},
        TextCase{"C1ControlCsi",
                 "a\xC2\x9B"
                 "2J",
                 "a\\xC2\\x9B2J", true},
        TextCase{"NoBreakSpaceStays",
                 "a\xC2\xA0"
                 "b",
                 "a\xC2\xA0"
                 "b",
                 true},
        TextCase{"Latin1Byte", "caf\xE9.wav", "caf\\xE9.wav", false},
        TextCase{"StrayContinuation", "\x80x", "\\x80x", false},
        TextCase{"CutSequence", "a\xE2\x82", "a\\xE2\\x82", false},
        TextCase{"OverlongSlash", "\xC0\xAF", "\\xC0\\xAF", false},
        TextCase{"Surrogate", "\xED\xA0\x80", "\\xED\\xA0\\x80", false},
        TextCase{"AboveUnicode", "\xF4\x90\x80\x80", "\\xF4\\x90\\x80\\x80", false}),
    test::CaseName());

TEST(TerminalLine, LineBreaksBecomeBlanksOtherControlsAreEscaped) {
    EXPECT_EQ(TerminalLine(" Soubor  \r\n Delka\t\x1b"), " Soubor     Delka \\x1B");
}

}  // namespace
}  // namespace tesmera
