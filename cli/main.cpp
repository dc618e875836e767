// tesmera-cli: batch analysis, expert agreement and period extraction for
// voice files, without the window. Rendering pictures needs Qt, so it lives
// in the separate tesmera-render program that `render` hands over to; the
// other subcommands start without loading any of Qt.
#include <CLI/CLI.hpp>

#include "cli/agreement_command.h"
#include "cli/analyze_command.h"
#include "cli/extract_command.h"
#include "cli/render_command.h"

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

CLI::App* AddAgreement(CLI::App& app, AgreementOptions& options) {
    CLI::App* command = app.add_subcommand(
        "agreement",
        "Analyse the files, then compare each score model with the expert grade that each\n"
        "file name gives (last character before the first full stop): count, exact and\n"
        "within-one agreement, mean absolute error, quadratically weighted Cohen's kappa,\n"
        "Spearman's rho and the 5 x 5 confusion matrix. Files without a grade 1..5 or\n"
        "without scores are listed as skipped.\n"
        "Exit status: 0 all files ok, 1 some file not ok, 2 an output failed.");
    command->add_option("PATH", options.paths, "Voice files, or folders searched for *.wav")
        ->required();
    command
        ->add_option("--json", options.jsonPath,
                     "Also write the figures as JSON to FILE ('-': standard output, "
                     "instead of the table)")
        ->option_text("FILE");
    return command;
}

CLI::App* AddExtract(CLI::App& app, ExtractOptions& options) {
    CLI::App* command = app.add_subcommand(
        "extract",
        "Cut one voice period from a recording of a sustained vowel (PCM WAV, 8 to 96 kHz,\n"
        "8/16/24/32-bit integer or 32-bit float, stereo mixed to mono): find the most stable\n"
        "voiced stretch (or the place at --at), estimate F0 by autocorrelation, cut between\n"
        "consecutive rising zero crossings, resample to 44100 Hz band-limited, scale the\n"
        "peak to 32767 and write a voice file.\n"
        "Exit status: 0 written, 1 input refused (silent, unvoiced, unreadable), 2 output failed.");
    command->add_option("INPUT", options.inputPath, "The recording")->required();
    command->add_option("OUTPUT", options.outputPath, "The voice file to write (.wav)")->required();
    command->add_option("--at", options.atSeconds, "Cut at this time instead")
        ->option_text("SECONDS")
        ->check(CLI::NonNegativeNumber);
    return command;
}

CLI::App* AddRender(CLI::App& app, RenderOptions& options) {
    CLI::App* command = app.add_subcommand(
        "render",
        "Save the oscilloscope and the chart for a voice file, as the window shows them after\n"
        "its load and compute commands, into one PNG; no display needed (runs tesmera-render).\n"
        "Exit status: 0 saved, 1 saved but the window showed a warning or an error, 2 not saved.");
    command->add_option("FILE", options.voiceFile, "The voice file (.wav)")->required();
    command->add_option("--png", options.pngPath, "The picture to write")
        ->option_text("OUT.png")
        ->required();
    return command;
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"Tesmera voice-period analysis from the command line."};
    app.require_subcommand(1);
    AnalyzeOptions analyze;
    const CLI::App* analyzeCommand = AddAnalyze(app, analyze);
    AgreementOptions agreement;
    const CLI::App* agreementCommand = AddAgreement(app, agreement);
    ExtractOptions extract;
    const CLI::App* extractCommand = AddExtract(app, extract);
    RenderOptions render;
    const CLI::App* renderCommand = AddRender(app, render);
    CLI11_PARSE(app, argc, argv);
    if (*analyzeCommand) {
        return RunAnalyze(analyze);
    }
    if (*agreementCommand) {
        return RunAgreement(agreement);
    }
    if (*extractCommand) {
        return RunExtract(extract);
    }
    if (*renderCommand) {
        return RunRender(render);
    }
    return 0;
}
