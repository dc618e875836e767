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

// A recording's median scores, its grade from its name, and the status that
// decides whether they count.
GradedScores FromReport(const RecordingReport& record) {
    GradedScores scores;
    scores.Path = record.Path;
    scores.ExpertGrade = record.Grade;
    if (!record.Ok()) {
        scores.NotScored = record.Outcome.Text;
        return scores;
    }
    for (std::size_t m = 0; m < ScoreModelCount; ++m) {
        scores.Score[m] = record.Report.Models[m].Score;
    }
    return scores;
}

// One record of a `report --json` file, as FromReport gives it.
GradedScores FromReportRecord(const nlohmann::json& record) {
    GradedScores scores;
    scores.Path = record.at("path").get<std::string>();
    if (!record.at("expert_grade").is_null()) {
        scores.ExpertGrade = record["expert_grade"].get<std::int32_t>();
    }
    if (const std::string status = record.at("status").get<std::string>();
        status != StatusCodeName(StatusCode::Ok)) {
        scores.NotScored = status;
        return scores;
    }
    const nlohmann::json& models = record.at("models");
    for (std::size_t m = 0; m < ScoreModelCount; ++m) {
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

// Takes each recording's grade as the options say, then counts it.
class RecordingCollector {
  public:
    RecordingCollector(const GradeSource& grades, AgreementCollector& collector)
        : grades_(grades), collector_(collector) {}

    void Add(GradedScores scores) {
        grades_.Apply(scores.Path, scores.ExpertGrade, scores.GradeNote, scores.GradeOrigin);
        allOk_ = allOk_ && !scores.NotScored;
        collector_.Add(scores);
    }
    int ExitStatus() const { return allOk_ ? ExitAllOk : ExitSomeFilesFailed; }

  private:
    const GradeSource& grades_;
    AgreementCollector& collector_;
    bool allOk_ = true;
};

int CollectFromReportFile(const std::string& path, RecordingCollector& collector) {
    for (const nlohmann::json& record : ReportRecords(path)) {
        GradedScores scores;
        try {
            scores = FromReportRecord(record);
        } catch (const nlohmann::json::exception&) {
            throw UsageError(path + ": a record lacks a report's path, status, grade or scores");
        }
        collector.Add(std::move(scores));
    }
    return collector.ExitStatus();
}

int CollectFromRecordings(std::span<const BatchEntry> entries, unsigned jobs,
                          RecordingCollector& collector, BatchProgress& progress) {
    ReportRecordings(entries, std::nullopt, jobs, [&](RecordingReport&& record) {
        collector.Add(FromReport(record));
        progress.Done(record.Path, record.Ok(), record.Outcome.Text);
    });
    return progress.Finish("agreement");
}

int Collect(const AgreementOptions& options, std::span<const BatchEntry> entries,
            AgreementCollector& collector) {
    const GradeSource grades = GradeSourceFor(options.grades);
    RecordingCollector recordings(grades, collector);
    if (!options.fromReport.empty()) {
        return CollectFromReportFile(options.fromReport, recordings);
    }
    // The table comes at the end, so the progress line never meets it.
    BatchProgress progress(entries, options.quiet, false);
    if (options.recordings) {
        return CollectFromRecordings(entries, options.jobs, recordings, progress);
    }
    AnalyseBatch(entries, grades, options.jobs, progress,
                 [&](const VoiceAnalysis& record) { collector.Add(record); });
    return progress.Finish("agreement");
}

}  // namespace

int RunAgreement(const AgreementOptions& options) {
    try {
        const std::vector<std::string> outputs{options.jsonPath};
        std::vector<BatchEntry> entries;
        if (options.fromReport.empty()) {
            entries = CollectBatch(options.paths, outputs, options.grades,
                                   options.recordings ? RecordingFiles() : VoicePeriodFiles());
        } else {
            std::vector<std::string> inputs{options.fromReport};
            if (!options.grades.tablePath.empty()) {
                inputs.push_back(options.grades.tablePath);
            }
            RefuseUnsafeOutputs(inputs, outputs, StandardOutput::Allowed);
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
