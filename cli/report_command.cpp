#include "cli/report_command.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <mutex>
#include <thread>

#include "cli/batch.h"
#include "cli/report_output.h"
#include "cli/text_output.h"
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

// Reports every file on `jobs` threads; the records keep the files' order.
// Period files are written as each recording is done, then its periods are
// dropped, so memory stays small for a long list.
std::vector<RecordingReport> ReportAll(const std::vector<std::string>& files,
                                       const ReportOptions& options) {
    std::vector<RecordingReport> records(files.size());
    std::atomic<std::size_t> next{0};
    std::mutex failureLock;
    std::exception_ptr failure;
    const auto work = [&] {
        for (std::size_t i = next++; i < files.size(); i = next++) {
            RecordingReport record = ReportRecording(files[i], options.atSeconds);
            try {
                if (!options.periodsFolder.empty()) {
                    WriteCyclePeriods(record, options.periodsFolder);
                }
            } catch (...) {
                const std::lock_guard lock(failureLock);
                failure = failure ? failure : std::current_exception();
            }
            for (ReportedCycle& cycle : record.Report.Cycles) {
                cycle.Period = {};
            }
            records[i] = std::move(record);
        }
    };
    std::vector<std::jthread> threads;
    const std::size_t count =
        std::clamp<std::size_t>(options.jobs, 1, std::max<std::size_t>(1, files.size()));
    for (std::size_t t = 1; t < count; ++t) {
        threads.emplace_back(work);
    }
    work();
    threads.clear();  // joins
    if (failure) {
        std::rethrow_exception(failure);
    }
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
        const std::vector<std::string> files = CollectVoiceFiles(options.paths);
        if (!options.periodsFolder.empty()) {
            std::filesystem::create_directories(options.periodsFolder);
        }
        const std::vector<RecordingReport> records = ReportAll(files, options);
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
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tesmera-cli report: %s\n", error.what());
        return ExitToolFailed;
    }
}

}  // namespace tesmera
