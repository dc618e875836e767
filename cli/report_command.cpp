// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/report_command.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <iterator>
#include <span>
#include <string>

#include "cli/UsageError.h"
#include "cli/batch.h"
#include "cli/periods_folder.h"
#include "cli/report_output.h"
#include "cli/voice_file_list.h"
#include "recording/cycle_file_name.h"
#include "recording/voice_file_writer.h"
#include "wave/OutputFile.h"

namespace tesmera {

namespace {

// Writes the analysed cycles of one recording as period files, each named
// by its number among all the stretch's cycles, as the window shows it.
void WriteCyclePeriods(const RecordingReport& record, const std::string& folder) {
    const std::vector<ReportedCycle>& cycles = record.Report.Cycles;
    for (std::size_t i = 0; i < cycles.size(); ++i) {
        if (cycles[i].Scored) {
            const std::filesystem::path file =
                std::filesystem::path(folder) / CyclePeriodFileName(record.Path, i + 1);
            WriteVoicePeriod(file.string(), cycles[i].Period);
        }
    }
}

// The files a period file must never replace: the outputs and the inputs.
std::vector<std::string> PathsNotToReplace(std::span<const BatchEntry> entries,
                                           std::span<const std::string> outputs) {
    std::vector<std::string> paths(outputs.begin(), outputs.end());
    for (const BatchEntry& entry : entries) {
        paths.push_back(entry.Path);
    }
    return paths;
}

// `path` without its extension ends in `suffix`.
bool StemEndsWith(const std::string& path, const std::string& suffix) {
    return std::filesystem::path(path).stem().string().ends_with(suffix);
}

// The speech recording of each vowel recording: the one given, or the one
// beside it whose name ends in the suffix (NAME.wav: NAME_cs.wav).
SpeechFinder SpeechOf(const ReportOptions& options) {
    if (!options.speechPath.empty()) {
        return [path = options.speechPath](const std::string&) { return path; };
    }
    if (options.speechSuffix.empty()) {
        return {};
    }
    return [suffix = options.speechSuffix](const std::string& vowel) {
        const std::filesystem::path path(vowel);
        return (path.parent_path() / (path.stem().string() + suffix + path.extension().string()))
            .string();
    };
}

// The vowel recordings of the batch: with a speech suffix, the speech
// recordings it names are not reported themselves. One speech recording
// goes with one vowel recording only.
void KeepVowels(const ReportOptions& options, std::vector<BatchEntry>& entries) {
    if (!options.speechPath.empty() && !options.speechSuffix.empty()) {
        throw UsageError("--speech and --speech-suffix exclude each other");
    }
    if (!options.speechSuffix.empty()) {
        std::erase_if(entries, [&](const BatchEntry& entry) {
            return StemEndsWith(entry.Path, options.speechSuffix);
        });
    }
    if (!options.speechPath.empty() && entries.size() != 1) {
        throw UsageError(
            "--speech goes with one recording; for several, name each one's speech with "
            "--speech-suffix");
    }
}

// The batch itself: each record to every output and its cycles to the
// periods folder; a recording whose cycles cannot be written adds its
// failure to `periodFailures`, and the others' cycles are still written.
// Warnings about the voice quality index follow the progress line.
// Returns the batch's status.
int ReportBatch(const ReportOptions& options, std::span<const BatchEntry> entries,
                RecordOutputs<RecordingReport>& records, std::vector<std::string>& periodFailures) {
    BatchProgress progress(entries, options.quiet, options.records.UsesStandardOutput());
    std::vector<std::string> warnings;
    // Period files are written as each recording is done, and nothing of
    // a recording is kept after its records, so memory stays small for a
    // long list.
    ReportRecordings(
        entries, options.atSeconds, options.jobs,
        [&](RecordingReport&& record) {
            if (!options.periodsFolder.empty()) {
                try {
                    WriteCyclePeriods(record, options.periodsFolder);
                } catch (const std::exception& error) {
                    periodFailures.emplace_back(error.what());
                }
            }
            if (!record.AvqiWarning.empty()) {
                warnings.push_back(record.Path + ": " + record.AvqiWarning);
            }
            records.Write(record);
            progress.Done(record.Path, record.Ok(), record.Outcome.Text);
        },
        SpeechOf(options),
        options.records.AnyFile() ? StandardErrors::Estimate : StandardErrors::Skip);
    const int status = progress.Finish("report");
    for (const std::string& warning : warnings) {
        PrintCommandFailure("report", warning);
    }
    return status;
}

// The page is of one recording (a batch would need a name per page) and
// goes to a file: a PDF on a terminal helps nobody.
void RefuseUnsuitablePage(const ReportOptions& options, std::span<const BatchEntry> entries) {
    if (options.page.pdfPath == "-") {
        throw UsageError("--pdf needs a file name; the page is never written to standard output");
    }
    if (!options.page.pdfPath.empty() && entries.size() != 1) {
        throw UsageError("--pdf writes the page of one recording, and " +
                         std::to_string(entries.size()) + " were found");
    }
}

// The batch's status, or ExitToolFailed when the page asked for was not
// written (tesmera-render has said why).
int StatusAfterPage(const ReportOptions& options, const BatchEntry& entry, int status) {
    if (options.page.pdfPath.empty()) {
        return status;
    }
    const SpeechFinder speech = SpeechOf(options);
    const int pageStatus = RenderReportPage(entry.Path, speech ? speech(entry.Path) : std::string(),
                                            options.atSeconds, options.page);
    return pageStatus == ExitAllOk ? status : ExitToolFailed;
}

}  // namespace

int RunReport(const ReportOptions& options) {
    try {
        const std::vector<std::string> outputs{options.records.json, options.records.csv,
                                               options.records.jsonLines, options.page.pdfPath};
        std::vector<BatchEntry> entries =
            CollectBatch(options.paths, outputs, {}, RecordingFiles());
        KeepVowels(options, entries);
        RefuseUnsuitablePage(options, entries);
        if (!options.periodsFolder.empty()) {
            RefusePeriodNameCollisions(entries, PathsNotToReplace(entries, outputs),
                                       options.periodsFolder);
            PreparePeriodsFolder(options.periodsFolder);
        }
        const ReportFormat format;
        RecordOutputs<RecordingReport> records(options.records, format);
        std::vector<std::string> failures;
        int status = ExitAllOk;
        try {
            status = ReportBatch(options, entries, records, failures);
        } catch (...) {
            records.Finish();
            throw;
        }
        std::ranges::move(records.Finish(), std::back_inserter(failures));
        return StatusAfterPage(options, entries.front(),
                               StatusAfterOutputs("report", failures, status));
    } catch (...) {
        return ReportCommandFailure("report");
    }
}

}  // namespace tesmera
