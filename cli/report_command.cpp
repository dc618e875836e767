// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/report_command.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <iterator>
#include <span>

#include "cli/batch.h"
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

// Makes the periods folder and tries a file in it, so a folder that cannot
// be written fails before the batch, not after its first recording.
void PreparePeriodsFolder(const std::string& folder) {
    try {
        std::filesystem::create_directories(folder);
    } catch (const std::filesystem::filesystem_error& error) {
        throw OutputFileError(folder, error.code().message());
    }
    // Never committed: the trial file is removed when it goes out of scope.
    const OutputFile trial((std::filesystem::path(folder) / ".tesmera-write-check").string());
}

// The batch itself: each record to every output and its cycles to the
// periods folder; a recording whose cycles cannot be written adds its
// failure to `periodFailures`, and the others' cycles are still written.
// Returns the batch's status.
int ReportBatch(const ReportOptions& options, std::span<const BatchEntry> entries,
                RecordOutputs<RecordingReport>& records, std::vector<std::string>& periodFailures) {
    BatchProgress progress(entries, options.quiet, options.records.UsesStandardOutput());
    // Period files are written as each recording is done, and nothing of
    // a recording is kept after its records, so memory stays small for a
    // long list.
    ReportRecordings(entries, options.atSeconds, options.jobs, [&](RecordingReport&& record) {
        if (!options.periodsFolder.empty()) {
            try {
                WriteCyclePeriods(record, options.periodsFolder);
            } catch (const std::exception& error) {
                periodFailures.emplace_back(error.what());
            }
        }
        records.Write(record);
        progress.Done(record.Path, record.Ok(), record.Outcome.Text);
    });
    return progress.Finish("report");
}

}  // namespace

int RunReport(const ReportOptions& options) {
    try {
        const std::vector<std::string> outputs{options.records.json, options.records.csv,
                                               options.records.jsonLines};
        const std::vector<BatchEntry> entries =
            CollectBatch(options.paths, outputs, {}, RecordingFiles());
        if (!options.periodsFolder.empty()) {
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
        return StatusAfterOutputs("report", failures, status);
    } catch (...) {
        return ReportCommandFailure("report");
    }
}

}  // namespace tesmera
