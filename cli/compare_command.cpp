// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/compare_command.h"

#include <array>
#include <iterator>

#include "cli/batch.h"
#include "cli/compare_input.h"
#include "cli/compare_output.h"
#include "cli/output_paths.h"
#include "recording/parallel_work.h"

namespace tesmera {

namespace {

constexpr const char* Command = "compare";

// Writes one row per figure shown to every output asked for; returns the
// exit status after the outputs.
int WriteComparison(const CompareOptions& options, const ComparedReport& before,
                    const ComparedReport& after) {
    const std::array<FigureChange, ComparedFigureCount> changes =
        CompareReports(before.Estimates, after.Estimates);
    const ComparisonFormat format;
    RecordOutputs<ComparisonRow> outputs(options.records, format);
    for (std::size_t i = 0; i < ComparedFigureCount; ++i) {
        if (ComparisonShows(ComparedFigures[i], changes[i])) {
            outputs.Write({&before.Path, &after.Path, &ComparedFigures[i], changes[i]});
        }
    }
    return StatusAfterOutputs(Command, outputs.Finish(), ExitAllOk);
}

}  // namespace

int RunCompare(const CompareOptions& options) {
    try {
        const std::array<std::string, 2> inputs{options.beforePath, options.afterPath};
        const std::array<std::string, 3> outputs{options.records.json, options.records.csv,
                                                 options.records.jsonLines};
        RefuseUnsafeOutputs(inputs, outputs, StandardOutput::Allowed);
        const ComparedReport before = ReadComparedReport(options.beforePath, AvailableCores());
        const ComparedReport after = ReadComparedReport(options.afterPath, AvailableCores());
        bool comparable = true;
        for (const ComparedReport* side : {&before, &after}) {
            if (!side->Ok()) {
                PrintCommandFailure(Command, side->Path + ": " + side->Outcome.Text);
                comparable = false;
            }
        }
        return comparable ? WriteComparison(options, before, after) : ExitSomeFilesFailed;
    } catch (...) {
        return ReportCommandFailure(Command);
    }
}

}  // namespace tesmera
