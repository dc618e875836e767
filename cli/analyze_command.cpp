// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/analyze_command.h"

#include <memory>

#include "cli/batch.h"
#include "cli/record_writers.h"

namespace tesmera {

namespace {

std::vector<std::unique_ptr<RecordWriter>> WritersFor(const AnalyzeOptions& options) {
    std::vector<std::unique_ptr<RecordWriter>> writers;
    if (!options.csvPath.empty()) {
        writers.push_back(std::make_unique<CsvRecordWriter>(options.csvPath));
    }
    if (!options.jsonPath.empty()) {
        writers.push_back(std::make_unique<JsonRecordWriter>(options.jsonPath));
    }
    if (writers.empty()) {
        writers.push_back(std::make_unique<TerminalTableWriter>());
    }
    return writers;
}

}  // namespace

int RunAnalyze(const AnalyzeOptions& options) {
    try {
        const std::vector<std::string> outputs{options.csvPath, options.jsonPath};
        const std::vector<BatchEntry> entries =
            CollectBatch(options.paths, outputs, options.grades);
        const GradeSource grades = GradeSourceFor(options.grades);
        const auto writers = WritersFor(options);
        // The table itself shows how far a batch has got.
        const bool toFiles = !options.csvPath.empty() || !options.jsonPath.empty();
        const int status =
            AnalyseBatch(entries, grades, options.jobs, toFiles, [&](const VoiceAnalysis& record) {
                for (const auto& writer : writers) {
                    writer->Write(record);
                }
            });
        for (const auto& writer : writers) {
            writer->Finish();
        }
        return status;
    } catch (...) {
        return ReportCommandFailure("analyze");
    }
}

}  // namespace tesmera
