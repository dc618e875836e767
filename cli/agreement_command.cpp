#include "cli/agreement_command.h"

#include <cstdio>
#include <exception>
#include <optional>

#include "cli/agreement.h"
#include "cli/agreement_output.h"
#include "cli/batch.h"
#include "cli/text_output.h"

namespace tesmera {

int RunAgreement(const AgreementOptions& options) {
    try {
        // Opened first, so a wrong path fails before the long batch.
        std::optional<TextOutput> json;
        if (!options.jsonPath.empty()) {
            json.emplace(options.jsonPath);
        }
        AgreementCollector collector;
        const int status = AnalyseBatch(
            options.paths, true, [&](const VoiceAnalysis& record) { collector.Add(record); });
        const AgreementReport report = collector.Report();
        if (options.jsonPath != TextOutput::StandardOutputName) {
            TextOutput table{std::string(TextOutput::StandardOutputName)};
            table.Write(AgreementTable(report));
            table.Close();
        }
        if (json) {
            json->Write(AgreementJson(report));
            json->Close();
        }
        return status;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tesmera-cli agreement: %s\n", error.what());
        return ExitToolFailed;
    }
}

}  // namespace tesmera
