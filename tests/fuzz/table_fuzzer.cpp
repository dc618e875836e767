// SPDX-License-Identifier: GPL-3.0-or-later
// The tables a user hands to the batch commands: an expert-grade table
// (--grades) and a report's JSON read back by `agreement --from-report`.
// The first byte chooses which the rest becomes. Either is used or refused
// with a message; a refusal is the project's own error, never a crash, an
// undefined conversion or another exception, and a grade applied from a
// table has its origin.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

#include "cli/GradeSource.h"
#include "cli/agreement_command.h"
#include "cli/batch.h"
#include "fuzz/fuzz_support.h"

namespace tesmera::fuzz {
namespace {

void CheckGradeTable(const std::string& table) {
    try {
        const GradeSource grades = GradeSource::FromTable(table, true);
        for (const char* path : {"a.wav", "anna_3.wav", "x/anna_3.flac", ""}) {
            std::optional<std::int32_t> grade;
            std::string note;
            std::string origin;
            grades.Apply(path, grade, note, origin);
            Require(!grade || origin == GradeFromTable || origin == GradeFromName,
                    "a grade without its origin");
        }
    } catch (const TesmeraError& refusal) {
        Require(std::string(refusal.what()).size() > 0, "empty refusal of a grade table");
    }
}

void CheckReportJson(const std::string& report) {
    AgreementOptions options;
    options.fromReport = report;
    options.jsonPath = "-";
    // The command catches its own failures: a report it cannot use is the
    // user's input refused, never a failure of the tool.
    const int status = RunAgreement(options);
    Require(status == ExitAllOk || status == ExitSomeFilesFailed || status == ExitUsage,
            "a report read back ended as a failure of the tool");
}

}  // namespace
}  // namespace tesmera::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tesmera;
    static const fuzz::ScratchFolder folder;
    // The agreement's JSON goes to standard output on every run.
    static FILE* const silenced = std::freopen("/dev/null", "w", stdout);
    fuzz::Require(silenced != nullptr, "cannot silence standard output");
    if (size < 1) {
        return 0;
    }
    const std::string path = folder.Write("table", {data + 1, size - 1});
    if (data[0] & 1) {
        fuzz::CheckReportJson(path);
    } else {
        fuzz::CheckGradeTable(path);
    }
    return 0;
}
