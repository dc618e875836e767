// tesmera-cli: batch analysis, expert agreement and period extraction for
// voice files, without the window. Rendering pictures needs Qt, so it lives
// in the separate tesmera-render program that `render` hands over to; the
// other subcommands start without loading any of Qt.
#include <CLI/CLI.hpp>

#include "cli/analyze_command.h"

namespace {

using namespace tesmera;

CLI::App* AddAnalyze(CLI::App& app, AnalyzeOptions& options) {
    CLI::App* command = app.add_subcommand(
        "analyze",
        "Load and compute every voice file as the window does; one record per file.\n"
        "Exit status: 0 all files ok, 1 some file not ok, 2 an output failed.");
    command->add_option("PATH", options.paths, "Voice files, or folders searched for *.wav")
        ->required();
    command
        ->add_option("--csv", options.csvPath, "Write CSV records to FILE ('-': standard output)")
        ->option_text("FILE");
    command
        ->add_option("--json", options.jsonPath,
                     "Write JSON records to FILE ('-': standard output)")
        ->option_text("FILE");
    return command;
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"Tesmera voice-period analysis from the command line."};
    app.require_subcommand(1);
    AnalyzeOptions analyze;
    const CLI::App* analyzeCommand = AddAnalyze(app, analyze);
    CLI11_PARSE(app, argc, argv);
    if (*analyzeCommand) {
        return RunAnalyze(analyze);
    }
    return 0;
}
