// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/analyze_command.h"

#include "cli/analysis_format.h"
#include "cli/batch.h"

namespace tesmera {

int RunAnalyze(const AnalyzeOptions& options) {
    try {
        const std::vector<std::string> outputs{options.records.csv, options.records.json,
                                               options.records.jsonLines};
        const std::vector<BatchEntry> entries =
            CollectBatch(options.paths, outputs, options.grades);
        const GradeSource grades = GradeSourceFor(options.grades);
        const AnalysisFormat format;
        RecordOutputs<VoiceAnalysis> records(options.records, format);
        BatchProgress progress(entries, options.quiet, options.records.UsesStandardOutput());
        try {
            AnalyseBatch(entries, grades, options.jobs, progress,
                         [&](const VoiceAnalysis& record) { records.Write(record); });
        } catch (...) {
            records.Finish();
            throw;
        }
        const int status = progress.Finish("analyze");
        return StatusAfterOutputs("analyze", records.Finish(), status);
    } catch (...) {
        return ReportCommandFailure("analyze");
    }
}

}  // namespace tesmera
