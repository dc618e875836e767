#include "cli/agreement_command.h"

#include <optional>

#include "cli/agreement.h"
#include "cli/agreement_output.h"
#include "cli/batch.h"
#include "cli/text_output.h"

namespace tesmera {

int RunAgreement(const AgreementOptions& options) {
    try {
        const std::vector<std::string> outputs{options.jsonPath};
        const std::vector<BatchEntry> entries =
            CollectBatch(options.paths, outputs, options.grades);
        const GradeSource grades = GradeSourceFor(options.grades);
        // Opened first, so a wrong path fails before the long batch.
        std::optional<TextOutput> json;
        if (!options.jsonPath.empty()) {
            json.emplace(options.jsonPath);
        }
        AgreementCollector collector;
        const int status =
            AnalyseBatch(entries, grades, options.jobs, true,
                         [&](const VoiceAnalysis& record) { collector.Add(record); });
        const AgreementReport report = collector.Report();
        if (options.jsonPath != TextOutput::StandardOutputName) {
            TextOutput table(std::string(TextOutput::StandardOutputName));
            table.Write(AgreementTable(report));
            table.Close();
        }
        if (json) {
            json->Write(AgreementJson(report));
            json->Close();
        }
        return status;
    } catch (...) {
        return ReportCommandFailure("agreement");
    }
}

}  // namespace tesmera
