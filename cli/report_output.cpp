// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/report_output.h"

#include <algorithm>
#include <vector>

#include "analysis/number_text.h"
#include "cli/data_text.h"
#include "cli/json_text.h"
#include "cli/record_fields.h"
#include "cli/terminal_text.h"

namespace tesmera {

namespace {

using Json = nlohmann::ordered_json;

// Name and CSV text of every field of one record, in the JSON's order.
std::vector<std::pair<std::string, std::string>> FlatFields(const Json& record) {
    std::vector<std::pair<std::string, std::string>> fields;
    for (const auto& [key, value] : record.items()) {
        // The CSV keeps a name's bytes as they are, so it needs no hex copy
        // (and the columns stay the same for every record).
        if (key == "path_bytes") {
            continue;
        }
        if (key != "models") {
            fields.emplace_back(key, CsvCellOf(value));
            continue;
        }
        for (const Json& model : value) {
            const std::string id = model["model"].get<std::string>();
            for (const auto& [name, figure] : model.items()) {
                if (name == "model") {
                    continue;
                }
                if (name != "grade_shares") {
                    fields.emplace_back(ModelColumn(id, name), CsvCellOf(figure));
                    continue;
                }
                for (std::size_t g = 0; g < ReportGradeCount; ++g) {
                    fields.emplace_back(ModelColumn(id, "grade_share_" + std::to_string(g + 1)),
                                        figure.is_null() ? "" : CsvCellOf(figure[g]));
                }
            }
        }
    }
    return fields;
}

std::string Fixed(double value, int digits) {
    return FixedText(value, 15, digits, ".");
}

std::string Padded(std::string text, std::size_t width) {
    return text.size() < width ? std::string(width - text.size(), ' ') + text : text;
}

std::string OptionalFigure(const std::optional<double>& value, double scale, int digits,
                           std::string_view unit) {
    return value ? Fixed(*value * scale, digits) + std::string(unit) : "n/a";
}

// The table marks a borderline score with "?"; a note then explains it.
bool AnyBorderline(const VoiceReport& report) {
    return report.AnalysedCycles > 0 &&
           std::ranges::any_of(report.Models, &ModelSummary::Borderline);
}

std::string ModelRows(const VoiceReport& report) {
    std::string rows = "  model      score   median     IQR   share at grade 1 2 3 4 5\n";
    for (std::size_t m = 0; m < ScoreModelCount; ++m) {
        const ModelSummary& s = report.Models[m];
        std::string row = "  SCORE(" + std::string(ScoreModels[m].id) + ")";
        row += Padded(IntegerText(s.Score) + (s.Borderline ? "?" : " "), 7);
        row += Padded(Fixed(s.MedianValue, 3), 9);
        row += Padded(Fixed(s.Iqr, 3), 8);
        row += "  ";
        for (const double share : s.GradeShares) {
            row += Padded(Fixed(share, 2), 6);
        }
        rows += row + "\n";
    }
    return rows;
}

std::string CppsText(const VoiceReport& r) {
    return "CPPS " + OptionalFigure(r.CppsDb, 1, 2, " dB");
}

std::string PerturbationRows(const VoiceReport& r) {
    std::string rows = "  F0 " + Fixed(r.F0MeanHz, 2) + " Hz (SD " + Fixed(r.F0SdHz, 2) + " Hz)";
    rows += "   HNR " + OptionalFigure(r.HnrDb, 1, 2, " dB") + "   " + CppsText(r) + "\n";
    rows += "  jitter local " + OptionalFigure(r.Jitter.Local, 100, 3, " %") + ", absolute " +
            OptionalFigure(r.Jitter.LocalAbsolute, 1e6, 1, " us") + ", RAP " +
            OptionalFigure(r.Jitter.Rap, 100, 3, " %") + ", PPQ5 " +
            OptionalFigure(r.Jitter.Ppq5, 100, 3, " %") + "\n";
    rows += "  shimmer local " + OptionalFigure(r.Shimmer.Local, 100, 3, " %") + ", " +
            OptionalFigure(r.Shimmer.LocalDb, 1, 3, " dB") + ", APQ3 " +
            OptionalFigure(r.Shimmer.Apq3, 100, 3, " %") + ", APQ5 " +
            OptionalFigure(r.Shimmer.Apq5, 100, 3, " %") + "\n";
    return rows;
}

std::string RecordTable(const RecordingReport& record) {
    const VoiceReport& r = record.Report;
    // A name or a status quoting one may hold escape sequences: the terminal
    // gets them written out.
    std::string text = TerminalText(record.Path) + "\n  status " +
                       TerminalLine(record.Outcome.Text) + ", expert grade " +
                       (record.Grade ? IntegerText(*record.Grade) : std::string("none")) + "\n";
    if (r.AnalysedCycles == 0) {
        // CPPS needs no cycles, so a recording too rough to mark still has it.
        return r.CppsDb ? text + "  " + CppsText(r) + "\n" : text;
    }
    text += "  stretch " + Fixed(r.StretchStartSeconds, 3) + " s to " +
            Fixed(r.StretchEndSeconds, 3) + " s, " + CycleCountsText(CountCycles(r)) + ", " +
            (r.Steady ? "steady" : "NOT steady: " + r.UnsteadyReason) + "\n";
    if (r.Quality) {
        text += "  recording quality " + r.Quality->Verdict() + "\n";
    }
    return text + ModelRows(r) + PerturbationRows(r);
}

}  // namespace

void ReportFormat::CsvHeader(std::string& line) const {
    // The header comes from an empty record, so it exists without recordings.
    CsvLine header(line);
    for (const auto& [name, value] : FlatFields(ReportRecordJson(RecordingReport{}))) {
        header.AddText(name);
    }
    header.Finish();
}

void ReportFormat::CsvRow(const RecordingReport& record, std::string& line) const {
    CsvLine row(line);
    for (const auto& [name, value] : FlatFields(ReportRecordJson(record))) {
        row.Add(value);
    }
    row.Finish();
}

std::string ReportFormat::JsonText(const RecordingReport& record) const {
    return JsonLine(ReportRecordJson(record));
}

std::string ReportFormat::TableHeading() const {
    return {};
}

std::string ReportFormat::TableEntry(const RecordingReport& record, bool first) const {
    return (first ? "" : "\n") + RecordTable(record);
}

bool ReportFormat::TableNeedsNote(const RecordingReport& record) const {
    return AnyBorderline(record.Report);
}

std::string ReportFormat::TableClosing(bool noted) const {
    return noted ? "\n\"?\": borderline, the median's 95 % interval reaches another grade.\n" : "";
}

}  // namespace tesmera
