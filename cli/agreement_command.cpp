// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/agreement_command.h"

#include <cmath>
#include <cstdio>
#include <exception>
#include <fstream>
#include <limits>
#include <optional>
#include <stdexcept>

#include "analysis/number_text.h"
#include "cli/TextOutput.h"
#include "cli/UsageError.h"
#include "cli/agreement.h"
#include "cli/agreement_output.h"
#include "cli/batch.h"
#include "cli/output_paths.h"
#include "cli/recording_report.h"
#include "cli/voice_file_list.h"
#include "wave/path_problem.h"

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

// The keys of a `report --json` record that agreement reads: a renamed key
// is changed here only.
constexpr const char* PathKey = "path";
constexpr const char* StatusKey = "status";
constexpr const char* GradeKey = "expert_grade";
constexpr const char* ModelsKey = "models";
constexpr const char* ScoreKey = "score";

// Reads the fields of one record of a `report --json` file, refusing a
// missing field or one of the wrong type with the file, the record's
// position and the key, rather than converting it: a grade of 3.7 or
// true, or a score of 1e20, is a file that is not a report.
class ReportRecordReader {
  public:
    ReportRecordReader(const std::string& file, std::size_t position, const nlohmann::json& record)
        : where_(file + ": record " + std::to_string(position + 1)), record_(record) {
        if (!record_.is_object()) {
            throw UsageError(where_ + " is not an object of a report");
        }
    }

    std::string Text(const char* key) const {
        const nlohmann::json& value = Field(record_, key, key);
        if (!value.is_string()) {
            Refuse(key, value, "a text");
        }
        return value.get<std::string>();
    }
    // A whole number, or null.
    std::optional<std::int32_t> OptionalWholeNumber(const char* key) const {
        const nlohmann::json& value = Field(record_, key, key);
        if (value.is_null()) {
            return std::nullopt;
        }
        return WholeNumber(value, key, std::numeric_limits<std::int32_t>::min(),
                           std::numeric_limits<std::int32_t>::max());
    }
    // The median's score of model `m` (0 for the first), a grade 1..5.
    std::int32_t ModelScore(std::size_t m) const {
        const nlohmann::json& models = Field(record_, ModelsKey, ModelsKey);
        const std::string label = std::string(ModelsKey) + "[" + std::to_string(m) + "]";
        if (!models.is_array() || m >= models.size() || !models[m].is_object()) {
            throw UsageError(where_ + ": '" + label + "' is missing or not a model's figures");
        }
        const std::string key = label + "." + ScoreKey;
        return WholeNumber(Field(models[m], ScoreKey, key), key, LowestGrade, HighestGrade);
    }

  private:
    const nlohmann::json& Field(const nlohmann::json& object, const char* key,
                                const std::string& label) const {
        const auto found = object.find(key);
        if (found == object.end()) {
            throw UsageError(where_ + " has no '" + label + "'");
        }
        return *found;
    }
    // A number with a whole value (3 or 3.0, as a tool may write it) from
    // `lowest` to `highest`.
    std::int32_t WholeNumber(const nlohmann::json& value, const std::string& label,
                             std::int32_t lowest, std::int32_t highest) const {
        const std::string wanted =
            "a whole number from " + IntegerText(lowest) + " to " + IntegerText(highest);
        // Booleans are not numbers in JSON, so true is refused here too.
        if (!value.is_number()) {
            Refuse(label, value, wanted);
        }
        const double number = value.get<double>();
        if (value.is_number_float() && std::trunc(number) != number) {
            Refuse(label, value, wanted);
        }
        // Compared as doubles, which hold every int32 exactly, before any
        // conversion, so 1e10 is refused and never converted.
        if (!(number >= lowest && number <= highest)) {
            Refuse(label, value, wanted);
        }
        return static_cast<std::int32_t>(number);
    }
    [[noreturn]] void Refuse(const std::string& label, const nlohmann::json& value,
                             const std::string& wanted) const {
        throw UsageError(where_ + ": '" + label + "' is " + value.dump() + ", not " + wanted);
    }

    std::string where_;  // "<file>: record <n>", counted from 1
    const nlohmann::json& record_;
};

// One record of a `report --json` file, as FromReport gives it.
GradedScores FromReportRecord(const ReportRecordReader& record) {
    GradedScores scores;
    scores.Path = record.Text(PathKey);
    scores.ExpertGrade = record.OptionalWholeNumber(GradeKey);
    if (const std::string status = record.Text(StatusKey);
        status != StatusCodeName(StatusCode::Ok)) {
        scores.NotScored = status;
        return scores;
    }
    for (std::size_t m = 0; m < ScoreModelCount; ++m) {
        scores.Score[m] = record.ModelScore(m);
    }
    return scores;
}

// The records of a `report --json` file; a file that cannot be read or is
// not such a list is a command line that cannot be carried out.
nlohmann::json ReportRecords(const std::string& path) {
    std::ifstream in(path);
    if (!in) {
        throw UsageError(path + ": the report cannot be read: " + ReadProblem(path));
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
    const nlohmann::json records = ReportRecords(path);
    for (std::size_t i = 0; i < records.size(); ++i) {
        collector.Add(FromReportRecord(ReportRecordReader(path, i, records[i])));
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
