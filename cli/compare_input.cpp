// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/compare_input.h"

#include <fstream>
#include <sstream>

#include <nlohmann/json.hpp>

#include "cli/recording_report.h"
#include "wave/file_name.h"

namespace tesmera {

namespace {

using Json = nlohmann::json;

// Thrown for a report file that cannot be compared; the message says why.
class UnusableReport : public TesmeraError {
  public:
    using TesmeraError::TesmeraError;
};

bool IsReportFile(const std::string& path) {
    return AsciiLower(path).ends_with(".json");
}

// The one record of a report file: a JSON array of one (--json) or one
// line (--json-lines).
Json OneRecord(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw UnusableReport("cannot read the report file");
    }
    std::stringstream text;
    text << in.rdbuf();
    const Json json = Json::parse(text.str(), nullptr, false);
    if (json.is_discarded()) {
        throw UnusableReport("not a report of tesmera-cli report --json (no valid JSON)");
    }
    if (json.is_object()) {
        return json;
    }
    if (!json.is_array() || json.size() != 1 || !json[0].is_object()) {
        throw UnusableReport("compare takes a report of one recording; this file holds " +
                             std::to_string(json.is_array() ? json.size() : 0));
    }
    return json[0];
}

// A number or null at `key` of `object`; anything else is refused.
std::optional<double> NumberAt(const Json& object, const std::string& key) {
    const auto found = object.find(key);
    if (found == object.end()) {
        throw UnusableReport("the report has no \"" + key + "\"");
    }
    if (found->is_null()) {
        return std::nullopt;
    }
    if (!found->is_number()) {
        throw UnusableReport("\"" + key + "\" is not a number");
    }
    return found->get<double>();
}

const Json& FigureObject(const Json& record, const ComparedFigure& figure) {
    if (figure.Model < 0) {
        return record;
    }
    const auto models = record.find("models");
    const auto model = static_cast<std::size_t>(figure.Model);
    if (models == record.end() || !models->is_array() || models->size() <= model ||
        !(*models)[model].is_object()) {
        throw UnusableReport("the report has no six \"models\"");
    }
    return (*models)[model];
}

ReportEstimates EstimatesOfRecord(const Json& record) {
    ReportEstimates estimates;
    for (std::size_t i = 0; i < ComparedFigureCount; ++i) {
        const ComparedFigure& figure = ComparedFigures[i];
        const Json& object = FigureObject(record, figure);
        const std::string key(figure.Key);
        if (!figure.Resampled) {
            // AVQI is there only when a speech sample was given.
            estimates[i].Value = object.contains(key) ? NumberAt(object, key) : std::nullopt;
            continue;
        }
        if (!object.contains(key + "_se")) {
            throw UnusableReport(
                "the report gives no standard errors (\"" + key +
                "_se\"): it was written by an older Tesmera; report the recording again");
        }
        estimates[i] = {NumberAt(object, key), NumberAt(object, key + "_se")};
    }
    return estimates;
}

ComparedReport ReadReportFile(const std::string& path) {
    ComparedReport side{path, {}, {}};
    try {
        const Json record = OneRecord(path);
        const auto code = record.find("status_code");
        if (code == record.end() || !code->is_string()) {
            throw UnusableReport("not a report of tesmera-cli report --json (no \"status_code\")");
        }
        if (*code != "ok") {
            const auto status = record.find("status");
            side.Outcome = {StatusCode::Error, status != record.end() && status->is_string()
                                                   ? status->get<std::string>()
                                                   : code->get<std::string>()};
            return side;
        }
        side.Estimates = EstimatesOfRecord(record);
    } catch (const UnusableReport& error) {
        side.Outcome = {StatusCode::Unreadable, std::string("unusable report: ") + error.what()};
    }
    return side;
}

}  // namespace

ComparedReport ReadComparedReport(const std::string& path, unsigned threads) {
    if (IsReportFile(path)) {
        return ReadReportFile(path);
    }
    const RecordingReport record =
        ReportRecording(path, std::nullopt, threads, {}, StandardErrors::Estimate);
    return {path, record.Outcome, EstimatesOf(record.Report)};
}

}  // namespace tesmera
