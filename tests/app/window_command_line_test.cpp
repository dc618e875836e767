// SPDX-License-Identifier: GPL-3.0-or-later
// The window program's arguments, and the dialogs that open a file named on
// the command line.
#include "app/window_command_line.h"

#include <memory>

#include <gtest/gtest.h>

#include "app/PresetFileDialogs.h"
#include "app/ScriptedDialogs.h"
#include "config/build_config.h"

namespace tesmera {
namespace {

struct CommandLineCase {
    const char* name;
    std::vector<std::string> arguments;
    WindowAction action;
    std::optional<std::string> voiceFile;
    std::string problem;

    friend void PrintTo(const CommandLineCase& line, std::ostream* out) { *out << line.name; }
};

class WindowCommandLines : public ::testing::TestWithParam<CommandLineCase> {};

TEST_P(WindowCommandLines, Parse) {
    const WindowCommandLine line = ParseWindowCommandLine(GetParam().arguments);
    EXPECT_EQ(line.action, GetParam().action);
    EXPECT_EQ(line.voiceFile, GetParam().voiceFile);
    EXPECT_EQ(line.problem, GetParam().problem);
}

using enum WindowAction;

INSTANTIATE_TEST_SUITE_P(
    Arguments, WindowCommandLines,
    ::testing::Values(
        CommandLineCase{"Nothing", {}, OpenWindow, std::nullopt, ""},
        CommandLineCase{"OneFile", {"a3.wav"}, OpenWindow, "a3.wav", ""},
        CommandLineCase{"LoneDashIsAFile", {"-"}, OpenWindow, "-", ""},
        CommandLineCase{"Help", {"--help"}, PrintHelp, std::nullopt, ""},
        CommandLineCase{"ShortHelp", {"-h"}, PrintHelp, std::nullopt, ""},
        CommandLineCase{"Version", {"--version"}, PrintVersion, std::nullopt, ""},
        // Answered before the toolkit has taken its own options out.
        CommandLineCase{"VersionAmongToolkitOptions",
                        {"-platform", "offscreen", "--version"},
                        PrintVersion,
                        std::nullopt,
                        ""},
        CommandLineCase{
            "FirstRequestWins", {"--version", "--help"}, PrintVersion, std::nullopt, ""},
        CommandLineCase{
            "HelpWinsOverAnUnknownOption", {"--bogus", "--help"}, PrintHelp, std::nullopt, ""},
        CommandLineCase{
            "DoubleDashMakesOptionsFiles", {"--", "--version"}, OpenWindow, "--version", ""},
        CommandLineCase{"DashNamedFileAfterDoubleDash", {"--", "-x.wav"}, OpenWindow, "-x.wav", ""},
        CommandLineCase{
            "UnknownOption", {"--bogus"}, RefuseUsage, std::nullopt, "unknown option '--bogus'"},
        CommandLineCase{"TwoFiles",
                        {"a.wav", "b.wav"},
                        RefuseUsage,
                        std::nullopt,
                        "only one voice file can be opened, got 'a.wav' and 'b.wav'"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WindowCommandLineTexts, VersionNamesTheProgramAndTheProjectVersion) {
    EXPECT_EQ(WindowVersionText(), "tesmera " + std::string(Version) + "\n");
    EXPECT_EQ(WindowHelpText().rfind("Usage: tesmera ", 0), 0u);
    EXPECT_EQ(WindowHelpText().back(), '\n');
}

TEST(PresetFileDialogs, AnswersTheFirstFileQuestionThenAsksTheUser) {
    testing::ShownMessages shown;
    int made = 0;
    PresetFileDialogs dialogs(QStringLiteral("opened.wav"), [&] {
        ++made;
        auto scripted = std::make_unique<testing::ScriptedDialogs>(shown);
        scripted->Choose(QStringLiteral("later.wav"));
        return scripted;
    });

    EXPECT_EQ(dialogs.ChooseVoiceFile(), QStringLiteral("opened.wav"));
    EXPECT_EQ(made, 0);  // the window need not exist yet
    EXPECT_EQ(dialogs.ChooseVoiceFile(), QStringLiteral("later.wav"));
    EXPECT_EQ(dialogs.ChooseVoiceFile(), std::nullopt);  // the user cancels

    dialogs.ShowWarning(QStringLiteral("w"));
    dialogs.ShowError(QStringLiteral("e"));
    EXPECT_EQ(shown.warnings, std::vector<QString>{QStringLiteral("w")});
    EXPECT_EQ(shown.errors, std::vector<QString>{QStringLiteral("e")});
    EXPECT_EQ(made, 1);
}

}  // namespace
}  // namespace tesmera
