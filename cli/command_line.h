// SPDX-License-Identifier: GPL-3.0-or-later
// Parsing a program's command line the same way in tesmera-cli and
// tesmera-render: help goes to standard output with status 0, and anything
// the parser refuses is one line on standard error with ExitUsage.
// Header-only, for the programs that link CLI11.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "cli/batch.h"
#include "cli/terminal_text.h"

namespace tesmera {

namespace detail {

inline std::vector<const CLI::App*> SubcommandsOf(const CLI::App& app) {
    return app.get_subcommands([](const CLI::App*) { return true; });
}

// A missing or unknown subcommand, named with the known ones; nothing for a
// program without subcommands.
inline std::optional<std::string> SubcommandProblem(const CLI::App& app, int argc, char** argv) {
    const auto subcommands = SubcommandsOf(app);
    if (subcommands.empty() || (argc >= 2 && argv[1][0] == '-' && argv[1][1] != '\0')) {
        return std::nullopt;
    }
    std::string known;
    for (const CLI::App* subcommand : subcommands) {
        if (argc >= 2 && subcommand->get_name() == argv[1]) {
            return std::nullopt;
        }
        known += (known.empty() ? "" : ", ") + subcommand->get_name();
    }
    if (argc < 2) {
        return "a subcommand is needed (" + known + ")";
    }
    return "unknown subcommand '" + TerminalText(argv[1]) + "' (the subcommands are " + known + ")";
}

inline const CLI::Option* FindOption(const CLI::App& app, const std::string& name) {
    for (const CLI::Option* option : app.get_options()) {
        if (option->check_name(name)) {
            return option;
        }
    }
    for (const CLI::App* subcommand : SubcommandsOf(app)) {
        if (const CLI::Option* option = FindOption(*subcommand, name)) {
            return option;
        }
    }
    return nullptr;
}

// The first argument before "--" that looks like an option but is none (and
// is no option's value): often a file whose name starts with '-', which the
// parser would otherwise report as a missing argument.
inline std::optional<std::string> UnknownOption(const CLI::App& app, int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--") {
            break;
        }
        if (argument.size() < 2 || argument.front() != '-') {
            continue;
        }
        const std::string name = argument.substr(0, argument.find('='));
        const bool isShort = name[1] != '-';
        const CLI::Option* option = FindOption(app, isShort ? name.substr(0, 2) : name);
        if (option == nullptr) {
            // One dash and more than one letter is more often a file name.
            const std::string hint = isShort && argument.size() > 2
                                         ? " (a file whose name starts with '-' goes after --, "
                                           "or as ./" +
                                               TerminalText(argument) + ")"
                                         : "";
            return "unknown option '" + TerminalText(argument) + "'" + hint;
        }
        const bool valueFollows =
            name == argument && !isShort && option->get_items_expected_max() > 0;
        i += valueFollows ? 1 : 0;
    }
    return std::nullopt;
}

}  // namespace detail

// Parses; returns nothing when the command should run, else the status to
// exit with (after printing help or the one-line reason).
inline std::optional<int> ParseCommandLine(CLI::App& app, int argc, char** argv,
                                           const std::string& program) {
    try {
        app.parse(argc, argv);
        return std::nullopt;
    } catch (const CLI::ParseError& error) {
        if (error.get_exit_code() == 0) {
            return app.exit(error);
        }
        auto reason = detail::SubcommandProblem(app, argc, argv);
        if (!reason) {
            reason = detail::UnknownOption(app, argc, argv);
        }
        std::fprintf(stderr, "%s: %s (see --help)\n", program.c_str(),
                     TerminalLine(reason.value_or(error.what())).c_str());
        return ExitUsage;
    }
}

}  // namespace tesmera
