// SPDX-License-Identifier: GPL-3.0-or-later
// tesmera-cli: batch analysis, expert agreement and period extraction for
// voice files, without the window. Rendering pictures needs Qt, so it lives
// in the separate tesmera-render program that `render` hands over to; the
// other subcommands start without loading any of Qt.
#include <charconv>
#include <cmath>
#include <optional>
#include <string>

#include <CLI/CLI.hpp>

#include "cli/OrderedParallelRun.h"
#include "cli/agreement_command.h"
#include "cli/analyze_command.h"
#include "cli/command_line.h"
#include "cli/compare_command.h"
#include "cli/extract_command.h"
#include "cli/render_command.h"
#include "cli/report_command.h"
#include "config/build_config.h"
#include "recording/parallel_work.h"

namespace {

using namespace tesmera;

constexpr const char* BatchExitStatus =
    "Exit status: 0 all files ok, 1 some file not ok or none found, 2 an output failed,\n"
    "64 the command line cannot be carried out (nothing is then read or written).";

// A subcommand whose one-line summary shows in the program's help and whose
// details close its own help.
CLI::App* AddCommand(CLI::App& app, const char* name, const char* summary,
                     const std::string& details) {
    CLI::App* command = app.add_subcommand(name, summary);
    command->footer(details);
    return command;
}

void AddGradeOptions(CLI::App& command, GradeOptions& grades) {
    command
        .add_option("--grades", grades.tablePath,
                    "Expert grades from a CSV table with a 'path' or 'name' column and a 'grade' "
                    "column; they take precedence over grades in file names")
        ->option_text("FILE.csv");
    command.add_flag_callback(
        "--no-name-grades", [&grades] { grades.nameGrades = false; },
        "Do not read grades from the last character of file names");
}

// A whole number of threads from 1 to MaxJobs. Zero or a negative count
// would analyse nothing, and thousands of threads only exhaust the system.
CLI::Validator JobCount() {
    return CLI::Validator(
        [](std::string& text) -> std::string {
            long long value = 0;
            const auto [end, error] =
                std::from_chars(text.data(), text.data() + text.size(), value);
            if (error != std::errc() || end != text.data() + text.size() || value < 1 ||
                value > MaxJobs) {
                return "'" + text + "' is not a number of threads from 1 to " +
                       std::to_string(MaxJobs);
            }
            return {};
        },
        "1.." + std::to_string(MaxJobs));
}

// --jobs N; without it a batch uses every core. The output is the same
// whatever N is.
CLI::Option* AddJobsOption(CLI::App& command, unsigned& jobs) {
    jobs = AvailableCores();
    return command
        .add_option("--jobs", jobs,
                    "Analyse files on N threads (default: every core); the output does not "
                    "depend on N")
        ->option_text("N")
        ->check(JobCount());
}

// --csv FILE or --json FILE: the batch's records in that format.
void AddRecordsOption(CLI::App& command, const std::string& option, const std::string& format,
                      std::string& path) {
    command.add_option(option, path, "Write " + format + " records to FILE ('-': standard output)")
        ->option_text("FILE");
}

// --json-lines FILE: the same records as --json, one a line.
void AddJsonLinesOption(CLI::App& command, std::string& path) {
    command
        .add_option("--json-lines", path,
                    "Write JSON records to FILE, one a line as each file is done ('-': standard "
                    "output)")
        ->option_text("FILE");
}

// --quiet: no progress line. The inputs that failed are still named at the
// end: a script that asks for quiet still needs to know what went wrong.
void AddQuietOption(CLI::App& command, bool& quiet) {
    command.add_flag("--quiet", quiet,
                     "Show no progress line (the inputs that failed are still named at the end)");
}

CLI::App* AddAnalyze(CLI::App& app, AnalyzeOptions& options) {
    CLI::App* command = AddCommand(
        app, "analyze", "Load and compute voice files as the window does; table, CSV or JSON",
        "Each file gets the window's header checks, sample loading and analysis. Its status is\n"
        "\"ok\" or the window's warning or error text. A name without a digit grade keeps its\n"
        "analysis; its grade is left empty and GradeNote says why.\n" +
            std::string(BatchExitStatus));
    command->add_option("PATH", options.paths, "Voice files, or folders searched for *.wav")
        ->required();
    AddRecordsOption(*command, "--csv", "CSV", options.records.csv);
    AddRecordsOption(*command, "--json", "JSON", options.records.json);
    AddJsonLinesOption(*command, options.records.jsonLines);
    AddGradeOptions(*command, options.grades);
    AddJobsOption(*command, options.jobs);
    AddQuietOption(*command, options.quiet);
    return command;
}

CLI::App* AddAgreement(CLI::App& app, AgreementOptions& options) {
    CLI::App* command = AddCommand(
        app, "agreement", "Agreement of the six score models with the experts' grades",
        "The expert grade comes from --grades FILE.csv, else (unless --no-name-grades) it is\n"
        "the last character of the file name before its first full stop; the output says\n"
        "which, and warns of name grades that end a number (rec_2023.wav).\n"
        "Per model: count, exact and within-one agreement, mean absolute error, quadratically\n"
        "weighted Cohen's kappa, Spearman's rho and the 5 x 5 confusion matrix. Files without\n"
        "scores or without a grade 1..5 are listed as skipped. With --recordings or\n"
        "--from-report each recording counts once, with the scores of its medians; one whose\n"
        "report is not \"ok\" is skipped; folders are then searched for recordings:\n" +
            ExtensionPatterns(RecordingFiles()) + ".\n" + std::string(BatchExitStatus));
    CLI::Option* paths =
        command->add_option("PATH", options.paths, "Voice files, or folders searched for *.wav");
    command
        ->add_option("--json", options.jsonPath,
                     "Also write the figures as JSON to FILE ('-': standard output, instead of "
                     "the table)")
        ->option_text("FILE");
    CLI::Option* recordings = command->add_flag(
        "--recordings", options.recordings,
        "The PATHs are recordings of sustained vowels: compare their median scores");
    CLI::Option* fromReport =
        command
            ->add_option("--from-report", options.fromReport,
                         "Compare the median scores of a 'report --json' file instead of PATHs")
            ->option_text("FILE.json")
            ->excludes(paths)
            ->excludes(recordings);
    command->callback([paths, fromReport] {
        if (paths->count() == 0 && fromReport->count() == 0) {
            throw CLI::RequiredError("PATH or --from-report");
        }
    });
    AddGradeOptions(*command, options.grades);
    // A report file holds its figures already: there is nothing to analyse.
    AddJobsOption(*command, options.jobs)->excludes(fromReport);
    AddQuietOption(*command, options.quiet);
    return command;
}

// A time in a recording: a finite number of seconds, 0 or more. The
// message shows the range in plain numbers, not the largest double.
CLI::Validator SecondsFromZero() {
    return CLI::Validator(
        [](std::string& text) -> std::string {
            double value = 0;
            const auto [end, error] =
                std::from_chars(text.data(), text.data() + text.size(), value);
            if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value) ||
                value < 0) {
                return "'" + text + "' is not a time in seconds from 0 on (e.g. 0.5)";
            }
            return {};
        },
        "SECONDS >= 0");
}

// --at SECONDS: the place in a recording to work at instead of its most
// stable stretch.
void AddAtOption(CLI::App& command, const std::string& description,
                 std::optional<double>& atSeconds) {
    command.add_option("--at", atSeconds, description)
        ->option_text("SECONDS")
        ->check(SecondsFromZero());
}

CLI::App* AddExtract(CLI::App& app, ExtractOptions& options) {
    CLI::App* command = AddCommand(
        app, "extract", "Cut one voice period from a recording of a sustained vowel",
        "Reads every format and encoding the sound file library reads, at 8 to 384 kHz (mixed\n"
        "to mono), marks the glottal cycles of its voiced stretch as `report` does, and\n"
        "writes the analysed cycle nearest the stretch's middle (or --at) exactly as `report`\n"
        "scores it: brought to 44100 Hz, its peak scaled to 32767. The cycle's number is the one\n"
        "the recording window and `report --periods` give it.\n"
        "Exit status: 0 written, 1 input refused (silent, unvoiced, unreadable), 2 output "
        "failed,\n64 usage (e.g. OUTPUT is the INPUT, or '-').");
    command->add_option("INPUT", options.inputPath, "The recording")->required();
    command->add_option("OUTPUT", options.outputPath, "The voice file to write (.wav)")->required();
    AddAtOption(*command, "Take the cycle at this time, in the stretch around it",
                options.atSeconds);
    return command;
}

// The one-page clinical report; the patient's details are printed on it and
// kept nowhere else.
void AddPageOptions(CLI::App& command, ReportPageOptions& page) {
    CLI::Option* pdf =
        command
            .add_option("--pdf", page.pdfPath,
                        "Also write a one-page A4 clinical report of the one RECORDING")
            ->option_text("OUT.pdf");
    command.add_option("--patient", page.patient, "The patient's identifier, printed on the page")
        ->option_text("ID")
        ->needs(pdf);
    command.add_option("--born", page.born, "The patient's date of birth, printed on the page")
        ->option_text("DATE")
        ->needs(pdf);
    command.add_option("--date", page.date, "The assessment's date on the page (default: today)")
        ->option_text("DATE")
        ->needs(pdf);
}

CLI::App* AddReport(CLI::App& app, ReportOptions& options) {
    CLI::App* command = AddCommand(
        app, "report", "Voice report of recordings of sustained vowels: median scores, jitter, HNR",
        "Per recording: the voiced stretch, every glottal cycle in it analysed as a period\n"
        "file would be, per score model the median's score (\"?\" when its 95 % interval reaches\n"
        "another grade or the recording is poor), IQR and grade shares, steadiness, the\n"
        "recording's quality, F0, jitter, shimmer, HNR and CPPS; with a recording of the same\n"
        "person's continuous speech (--speech, --speech-suffix), the Acoustic Voice Quality "
        "Index.\n"
        "With --pdf, RECORDING names one recording, whose report is also written as a one-page\n"
        "A4 PDF (by tesmera-render, which loads Qt); 2 when it could not be written.\n"
        "The expert grade is read from the recording's name as for period files.\n"
        "Recordings are read in every format and encoding the sound file library reads, at 8\n"
        "to 384 kHz; folders are searched for " +
            ExtensionPatterns(RecordingFiles()) + ".\n" + std::string(BatchExitStatus));
    command
        ->add_option("RECORDING", options.paths,
                     "Recordings, or folders searched for recordings (see above)")
        ->required();
    AddRecordsOption(*command, "--json", "JSON", options.records.json);
    AddRecordsOption(*command, "--csv", "CSV", options.records.csv);
    AddJsonLinesOption(*command, options.records.jsonLines);
    AddJobsOption(*command, options.jobs);
    AddQuietOption(*command, options.quiet);
    command
        ->add_option("--periods", options.periodsFolder,
                     "Also write every analysed cycle as a period file into DIR")
        ->option_text("DIR");
    AddAtOption(*command, "Report the stretch around this time", options.atSeconds);
    command
        ->add_option("--speech", options.speechPath,
                     "A recording of the same person's continuous speech: adds the Acoustic "
                     "Voice Quality Index (AVQI v03.01) of it and the vowel (one RECORDING only)")
        ->option_text("FILE");
    command
        ->add_option("--speech-suffix", options.speechSuffix,
                     "Pair each NAME.wav with its speech recording NAME<SUFFIX>.wav for the AVQI; "
                     "those are not reported as vowels")
        ->option_text("SUFFIX");
    AddPageOptions(*command, options.page);
    return command;
}

CLI::App* AddCompare(CLI::App& app, CompareOptions& options) {
    CLI::App* command = AddCommand(
        app, "compare", "Before and after: two reports of one voice, and which changes are real",
        "BEFORE and AFTER are each a recording, reported as `report` reports it, or a file\n"
        "written by `report --json` or `--json-lines` for one recording (a name ending in\n"
        ".json). Per figure (F0, jitter, shimmer, HNR, CPPS, AVQI when both have it, each\n"
        "model's median): both values, the change and \"changed\" when the change exceeds its\n"
        "noise, 1.96 standard errors of the difference, each taken from its recording's own\n"
        "spread by a bootstrap over its cycles or frames (AVQI: its published test-retest\n"
        "figure, 0.54), else \"within measurement noise\".\n"
        "Exit status: 0 compared, 1 a side has no figures (a recording not ok, a report file\n"
        "that cannot be used), 2 an output failed, 64 usage.");
    command->add_option("BEFORE", options.beforePath, "The earlier recording or report file")
        ->required();
    command->add_option("AFTER", options.afterPath, "The later recording or report file")
        ->required();
    AddRecordsOption(*command, "--json", "JSON", options.records.json);
    AddRecordsOption(*command, "--csv", "CSV", options.records.csv);
    return command;
}

CLI::App* AddRender(CLI::App& app, RenderOptions& options) {
    CLI::App* command = AddCommand(
        app, "render", "Save the window's oscilloscope and chart for a voice file as a PNG",
        "Runs the window's load and compute commands offscreen (no display needed) in the\n"
        "separate program tesmera-render, the only one that loads Qt.\n"
        "Exit status: 0 saved, 1 the window showed a warning or an error (no picture when the\n"
        "file did not load), 2 not saved, 64 usage. A FILE starting with '-' goes after --.");
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
    app.set_version_flag("--version", "tesmera-cli " + std::string(Version),
                         "Print the program's name and version and exit");
    AnalyzeOptions analyze;
    const CLI::App* analyzeCommand = AddAnalyze(app, analyze);
    AgreementOptions agreement;
    const CLI::App* agreementCommand = AddAgreement(app, agreement);
    ExtractOptions extract;
    const CLI::App* extractCommand = AddExtract(app, extract);
    ReportOptions report;
    const CLI::App* reportCommand = AddReport(app, report);
    CompareOptions compare;
    const CLI::App* compareCommand = AddCompare(app, compare);
    RenderOptions render;
    const CLI::App* renderCommand = AddRender(app, render);
    if (const auto exitStatus = ParseCommandLine(app, argc, argv, "tesmera-cli")) {
        return *exitStatus;
    }
    if (*analyzeCommand) {
        return RunAnalyze(analyze);
    }
    if (*agreementCommand) {
        return RunAgreement(agreement);
    }
    if (*extractCommand) {
        return RunExtract(extract);
    }
    if (*reportCommand) {
        return RunReport(report);
    }
    if (*compareCommand) {
        return RunCompare(compare);
    }
    if (*renderCommand) {
        return RunRender(render);
    }
    return 0;
}
