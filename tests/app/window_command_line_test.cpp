// SPDX-License-Identifier: GPL-3.0-or-later
// The window program's arguments, and the dialogs that open a file named on
// the command line.
#include "app/window_command_line.h"

#include <memory>

#include <gtest/gtest.h>

#include "app/ScriptedDialogs.h"
#include "config/build_config.h"
#include "support/param_name.h"

namespace tesmera {
namespace {

struct CommandLineCase : test::NamedCase<CommandLineCase> {
    std::vector<std::string> arguments;
    WindowAction action;
    std::vector<std::string> files;
    std::string problem;
    bool newWindow = false;
};

class WindowCommandLines : public ::testing::TestWithParam<CommandLineCase> {};

TEST_P(WindowCommandLines, Parse) {
    const WindowCommandLine line = ParseWindowCommandLine(GetParam().arguments);
    EXPECT_EQ(line.action, GetParam().action);
    EXPECT_EQ(line.files, GetParam().files);
    EXPECT_EQ(line.problem, GetParam().problem);
    EXPECT_EQ(line.newWindow, GetParam().newWindow);
}

using enum WindowAction;

INSTANTIATE_TEST_SUITE_P(
    Arguments, WindowCommandLines,
    ::testing::Values(
        CommandLineCase{"Nothing", {}, OpenWindow, {}, ""},
        CommandLineCase{"OneFile", {"a3.wav"}, OpenWindow, {"a3.wav"}, ""},
        CommandLineCase{"LoneDashIsAFile", {"-"}, OpenWindow, {"-"}, ""},
        CommandLineCase{"Help", {"--help"}, PrintHelp, {}, ""},
        CommandLineCase{"ShortHelp", {"-h"}, PrintHelp, {}, ""},
        CommandLineCase{"Version", {"--version"}, PrintVersion, {}, ""},
        // Answered before the toolkit has taken its own options out.
        CommandLineCase{"VersionAmongToolkitOptions",
                        {"-platform", "offscreen", "--version"},
                        PrintVersion,
                        {},
                        ""},
        CommandLineCase{"FirstRequestWins", {"--version", "--help"}, PrintVersion, {}, ""},
        CommandLineCase{"HelpWinsOverAnUnknownOption", {"--bogus", "--help"}, PrintHelp, {}, ""},
        CommandLineCase{
            "DoubleDashMakesOptionsFiles", {"--", "--version"}, OpenWindow, {"--version"}, ""},
        CommandLineCase{
            "DashNamedFileAfterDoubleDash", {"--", "-x.wav"}, OpenWindow, {"-x.wav"}, ""},
        CommandLineCase{"NewWindow", {"--new-window", "a3.wav"}, OpenWindow, {"a3.wav"}, "", true},
        CommandLineCase{"NewWindowAfterDoubleDashIsAFile",
                        {"--", "--new-window"},
                        OpenWindow,
                        {"--new-window"},
                        ""},
        CommandLineCase{"UnknownOption", {"--bogus"}, RefuseUsage, {}, "unknown option '--bogus'"},
        // The window says itself that it opens one file at a time.
        CommandLineCase{"TwoFiles", {"a.wav", "b.wav"}, OpenWindow, {"a.wav", "b.wav"}, ""}),
    test::CaseName());

TEST(WindowCommandLineTexts, VersionNamesTheProgramAndTheProjectVersion) {
    EXPECT_EQ(WindowVersionText(), "tesmera " + std::string(Version) + "\n");
    EXPECT_EQ(WindowHelpText().rfind("Usage: tesmera ", 0), 0u);
    EXPECT_EQ(WindowHelpText().back(), '\n');
}

}  // namespace
}  // namespace tesmera
