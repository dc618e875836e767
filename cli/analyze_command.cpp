// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/analyze_command.h"

#include "cli/analysis_format.h"
#include "cli/batch.h"

namespace tesmera {

int RunAnalyze(const AnalyzeOptions& options) {
    try {
        const std::vector<std::string> outputs{options.csvPath, options.jsonPath};
        const std::vector<BatchEntry> entries =
            CollectBatch(options.paths, outputs, options.grades);
        const GradeSource grades = GradeSourceFor(options.grades);
        const AnalysisFormat format;
        const auto writers = RecordWritersFor(options.csvPath, options.jsonPath, format);
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
