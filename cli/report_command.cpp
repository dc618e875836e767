// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/report_command.h"

#include <filesystem>
#include <span>

#include "cli/batch.h"
#include "cli/periods_folder.h"
#include "cli/report_output.h"
#include "cli/voice_file_list.h"
#include "recording/cycle_file_name.h"
#include "recording/voice_file_writer.h"

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

}  // namespace

int RunReport(const ReportOptions& options) {
    try {
        const std::vector<std::string> outputs{options.jsonPath, options.csvPath};
        const std::vector<BatchEntry> entries =
            CollectBatch(options.paths, outputs, {}, RecordingFiles());
        if (!options.periodsFolder.empty()) {
            RefusePeriodNameCollisions(entries, PathsNotToReplace(entries, outputs),
                                       options.periodsFolder);
            PreparePeriodsFolder(options.periodsFolder);
        }
        const ReportFormat format;
        const auto writers = RecordWritersFor(options.csvPath, options.jsonPath, format);
        bool allOk = true;
        // Period files are written as each recording is done, and nothing of
        // a recording is kept after its records, so memory stays small for a
        // long list.
        ReportRecordings(entries, options.atSeconds, options.jobs, [&](RecordingReport&& record) {
            if (!options.periodsFolder.empty()) {
                WriteCyclePeriods(record, options.periodsFolder);
            }
            for (const auto& writer : writers) {
                writer->Write(record);
            }
            allOk = allOk && record.Ok();
        });
        for (const auto& writer : writers) {
            writer->Finish();
        }
        return allOk ? ExitAllOk : ExitSomeFilesFailed;
    } catch (...) {
        return ReportCommandFailure("report");
    }
}

}  // namespace tesmera
