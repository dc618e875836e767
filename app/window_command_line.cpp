// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/window_command_line.h"

#include <algorithm>

#include "config/build_config.h"

namespace tesmera {

namespace {

constexpr std::string_view EndOfOptions = "--";

bool IsOption(const std::string& argument) {
    // A lone "-" is a file name as far as this program is concerned.
    return argument.size() > 1 && argument[0] == '-';
}

WindowCommandLine Refuse(std::string problem) {
    WindowCommandLine line;
    line.action = WindowAction::RefuseUsage;
    line.problem = std::move(problem);
    return line;
}

std::optional<WindowAction> InformationRequest(const std::vector<std::string>& arguments) {
    const auto end = std::find(arguments.begin(), arguments.end(), EndOfOptions);
    for (auto argument = arguments.begin(); argument != end; ++argument) {
        if (*argument == "--help" || *argument == "-h") {
            return WindowAction::PrintHelp;
        }
        if (*argument == "--version") {
            return WindowAction::PrintVersion;
        }
    }
    return std::nullopt;
}

}  // namespace

WindowCommandLine ParseWindowCommandLine(const std::vector<std::string>& arguments) {
    if (const std::optional<WindowAction> request = InformationRequest(arguments)) {
        WindowCommandLine line;
        line.action = *request;
        return line;
    }
    WindowCommandLine line;
    bool optionsEnded = false;
    for (const std::string& argument : arguments) {
        if (!optionsEnded && argument == EndOfOptions) {
            optionsEnded = true;
        } else if (!optionsEnded && argument == "--new-window") {
            line.newWindow = true;
        } else if (!optionsEnded && IsOption(argument)) {
            return Refuse("unknown option '" + argument + "'");
        } else {
            line.files.push_back(argument);
        }
    }
    return line;
}

std::string WindowHelpText() {
    return "Usage: tesmera [OPTION] [FILE]\n"
           "Analyse one recorded voice period from a WAV file in a window: its statistics and\n"
           "waveform, its Fourier series, a chart of the harmonic amplitudes and six score\n"
           "models beside the expert's grade read from the file name.\n"
           "\n"
           "FILE, when given, opens as soon as the window shows: a 16-bit mono PCM WAV\n"
           "holding one voice period is loaded as if chosen with the Load button; any\n"
           "other recording opens in a recording window of its own.\n"
           "\n"
           "When a Tesmera window is already open on this desktop, FILE opens in that\n"
           "window instead, and without FILE that window comes to the front; no second\n"
           "window starts unless --new-window is given.\n"
           "\n"
           "Options:\n"
           "  -h, --help        Print this help and exit\n"
           "      --new-window  Open a window of its own even when one is already open\n"
           "      --version     Print the program's name and version and exit\n"
           "\n"
           "The window needs a display. For batches, pictures without a display and period\n"
           "extraction see tesmera-cli(1).\n";
}

std::string WindowVersionText() {
    return "tesmera " + std::string(Version) + "\n";
}

}  // namespace tesmera
