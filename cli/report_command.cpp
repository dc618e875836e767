// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/report_command.h"

#include <algorithm>
#include <filesystem>
#include <span>

#include "cli/TextOutput.h"
#include "cli/batch.h"
#include "cli/report_output.h"
#include "cli/voice_file_list.h"
#include "recording/voice_file_writer.h"

namespace tesmera {

namespace {

// Writes the analysed cycles of one recording as period files; returns the
// number written.
std::size_t WriteCyclePeriods(const RecordingReport& record, const std::string& folder) {
    std::size_t number = 0;
    for (const ReportedCycle& cycle : record.Report.Cycles) {
        if (!cycle.Scored) {
            continue;
        }
        ++number;
        const std::filesystem::path file =
            std::filesystem::path(folder) / CyclePeriodFileName(record.Path, number, record.Grade);
        WriteVoicePeriod(file.string(), cycle.Period);
    }
    return number;
}

// Reports every entry, in order; period files are written as each
// recording is done, then its periods are dropped, so memory stays small
// for a long list.
std::vector<RecordingReport> ReportAll(std::span<const BatchEntry> entries,
                                       const ReportOptions& options) {
    std::vector<RecordingReport> records;
    records.reserve(entries.size());
    ReportRecordings(entries, options.atSeconds, options.jobs, [&](RecordingReport&& record) {
        if (!options.periodsFolder.empty()) {
            WriteCyclePeriods(record, options.periodsFolder);
        }
        for (ReportedCycle& cycle : record.Report.Cycles) {
            cycle.Period = {};
        }
        records.push_back(std::move(record));
    });
    return records;
}

void Emit(const std::string& path, const std::string& text) {
    TextOutput output(path);
    output.Write(text);
    output.Close();
}

}  // namespace

int RunReport(const ReportOptions& options) {
    try {
        const std::vector<std::string> outputs{options.jsonPath, options.csvPath};
        const std::vector<BatchEntry> entries = CollectBatch(options.paths, outputs, {});
        if (!options.periodsFolder.empty()) {
            std::filesystem::create_directories(options.periodsFolder);
        }
        const std::vector<RecordingReport> records = ReportAll(entries, options);
        if (!options.jsonPath.empty()) {
            Emit(options.jsonPath, ReportJsonText(records));
        }
        if (!options.csvPath.empty()) {
            Emit(options.csvPath, ReportCsvText(records));
        }
        if (options.jsonPath.empty() && options.csvPath.empty()) {
            Emit(std::string(TextOutput::StandardOutputName), ReportTableText(records));
        }
        const bool allOk = std::ranges::all_of(
            records, [](const RecordingReport& r) { return r.Status == ReportOk; });
        return allOk ? ExitAllOk : ExitSomeFilesFailed;
    } catch (...) {
        return ReportCommandFailure("report");
    }
}

}  // namespace tesmera
