// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/agreement_command.h"

#include <cstdio>
#include <exception>
#include <fstream>
#include <optional>
#include <stdexcept>

#include "cli/TextOutput.h"
#include "cli/UsageError.h"
#include "cli/agreement.h"
#include "cli/agreement_output.h"
#include "cli/batch.h"
#include "cli/output_paths.h"
#include "cli/recording_report.h"
#include "cli/voice_file_list.h"

namespace tesmera {

namespace {

// A record of `report --json`: its status must be "ok" for its median
// scores to count.
GradedScores FromReportRecord(const nlohmann::json& record) {
    GradedScores scores;
    scores.Path = record.at("path").get<std::string>();
    if (const std::string status = record.at("status").get<std::string>(); status != ReportOk) {
        scores.NotScored = status;
    }
    if (!record.at("grade").is_null()) {
        // A report reads the grade from the recording's name.
        scores.ExpertGrade = record["grade"].get<std::int32_t>();
        scores.GradeOrigin = GradeFromName;
    }
    const nlohmann::json& models = record.at("models");
    for (std::size_t m = 0; m < ScoreModelCount && !scores.NotScored; ++m) {
        scores.Score[m] = models.at(m).at("score").get<std::int32_t>();
    }
    return scores;
}

// The records of a `report --json` file; a file that cannot be read or is
// not such a list is a command line that cannot be carried out.
nlohmann::json ReportRecords(const std::string& path) {
    std::ifstream in(path);
    if (!in) {
        throw UsageError(path + ": the report cannot be read");
    }
    nlohmann::json records = nlohmann::json::parse(in, nullptr, false);
    if (!records.is_array()) {
        throw UsageError(path + ": not a JSON list of report records");
    }
    return records;
}

int CollectFromReportFile(const std::string& path, AgreementCollector& collector) {
    const nlohmann::json records = ReportRecords(path);
    bool allOk = true;
    for (const nlohmann::json& record : records) {
        GradedScores scores;
        try {
            scores = FromReportRecord(record);
        } catch (const nlohmann::json::exception&) {
            throw UsageError(path + ": a record lacks a report's path, status, grade or scores");
        }
        allOk = allOk && !scores.NotScored;
        collector.Add(scores);
    }
    return allOk ? ExitAllOk : ExitSomeFilesFailed;
}

int CollectFromRecordings(std::span<const BatchEntry> entries, unsigned jobs,
                          AgreementCollector& collector) {
    bool allOk = true;
    ReportRecordings(entries, std::nullopt, jobs, [&](RecordingReport&& record) {
        allOk = allOk && record.Status == ReportOk;
        collector.Add(FromReportRecord(ReportRecordJson(record)));
    });
    return allOk ? ExitAllOk : ExitSomeFilesFailed;
}

int Collect(const AgreementOptions& options, std::span<const BatchEntry> entries,
            AgreementCollector& collector) {
    if (!options.fromReport.empty()) {
        return CollectFromReportFile(options.fromReport, collector);
    }
    if (options.recordings) {
        return CollectFromRecordings(entries, options.jobs, collector);
    }
    return AnalyseBatch(entries, GradeSourceFor(options.grades), options.jobs, true,
                        [&](const VoiceAnalysis& record) { collector.Add(record); });
}

}  // namespace

int RunAgreement(const AgreementOptions& options) {
    try {
        const std::vector<std::string> outputs{options.jsonPath};
        std::vector<BatchEntry> entries;
        if (options.fromReport.empty()) {
            entries = CollectBatch(options.paths, outputs, options.grades);
        } else {
            RefuseUnsafeOutputs(std::span(&options.fromReport, 1), outputs,
                                StandardOutput::Allowed);
        }
        // Opened first, so a wrong path fails before the long batch.
        std::optional<TextOutput> json;
        if (!options.jsonPath.empty()) {
            json.emplace(options.jsonPath);
        }
        AgreementCollector collector;
        const int status = Collect(options, entries, collector);
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
    } catch (...) {
        return ReportCommandFailure("agreement");
    }
}

}  // namespace tesmera
