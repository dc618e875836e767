// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/report_output.h"

#include <algorithm>
#include <vector>

#include "analysis/number_text.h"
#include "cli/data_text.h"
#include "cli/json_text.h"
#include "cli/record_fields.h"
#include "cli/terminal_text.h"
#include "recording/measure_norms.h"
#include "recording/report_summary.h"

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

// The terminal table keeps to ASCII, so microseconds are "us".
std::string AsciiUnits(std::string text) {
    constexpr std::string_view Micro = "µs";
    if (const std::size_t at = text.find(Micro); at != std::string::npos) {
        text.replace(at, Micro.size(), "us");
    }
    return text;
}

// A figure of the table, "*" after it when outside its norm.
std::string Figure(const MeasureLine& line) {
    const std::string text = AsciiUnits(MeasureValueText(line));
    return line.Outside ? text + "*" : text;
}

// The table's figures by their record key.
class TableFigures {
  public:
    explicit TableFigures(const VoiceReport& report) : lines_(MeasureLines(report)) {}

    std::string operator()(std::string_view key) const {
        const auto line = std::ranges::find_if(
            lines_, [key](const MeasureLine& l) { return l.Norm->Key == key; });
        return line == lines_.end() ? "n/a" : Figure(*line);
    }
    const std::vector<MeasureLine>& Lines() const { return lines_; }

  private:
    std::vector<MeasureLine> lines_;
};

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

std::string CppsText(const TableFigures& figure) {
    return "CPPS " + figure("cpps_db");
}

std::string PerturbationRows(const VoiceReport& r, const TableFigures& figure) {
    std::string rows = "  F0 " + figure("f0_mean_hz") + " (SD " + Fixed(r.F0SdHz, 2) + " Hz)";
    rows += "   HNR " + figure("hnr_db") + "   " + CppsText(figure) + "\n";
    rows += "  jitter local " + figure("jitter_local_pct") + ", absolute " +
            figure("jitter_local_abs_us") + ", RAP " + figure("jitter_rap_pct") + ", PPQ5 " +
            figure("jitter_ppq5_pct") + "\n";
    rows += "  shimmer local " + figure("shimmer_local_pct") + ", " + figure("shimmer_local_db") +
            ", APQ3 " + figure("shimmer_apq3_pct") + ", APQ5 " + figure("shimmer_apq5_pct") + "\n";
    return rows;
}

// The voice quality index with its measures, and any warning about it.
std::string AvqiRows(const RecordingReport& record, const TableFigures& figure) {
    std::string rows;
    if (const std::optional<AvqiFigures>& a = record.Report.Avqi) {
        rows += "  AVQI " + figure("avqi") + " (" +
                (a->Avqi >= AvqiDysphonicThreshold ? "at or above " : "below ") +
                Fixed(AvqiDysphonicThreshold, 2) + "): CPPS " + Fixed(a->CppsDb, 2) + " dB, HNR " +
                Fixed(a->HnrDb, 2) + " dB, shimmer " + Fixed(a->ShimmerLocalPct, 2) + " %, " +
                Fixed(a->ShimmerLocalDb, 3) + " dB, LTAS slope " + Fixed(a->LtasSlopeDb, 2) +
                " dB, tilt " + Fixed(a->LtasTiltDb, 2) + " dB, " +
                Fixed(a->SpeechVoicedSeconds, 2) + " s of voiced speech\n";
    }
    if (!record.AvqiWarning.empty()) {
        rows += "  warning: " + TerminalLine(record.AvqiWarning) + "\n";
    }
    return rows;
}

// The published norm and its source of every measure the record has.
std::string NormRows(const TableFigures& figure) {
    // The longest label and its colon, and a space; a longer one keeps one.
    constexpr std::size_t LabelWidth = 19;
    std::string rows;
    for (const MeasureLine& line : figure.Lines()) {
        if (line.Value) {
            const MeasureNorm& norm = *line.Norm;
            const std::string label = std::string(norm.Label) + ":";
            rows += "    " + label +
                    std::string(LabelWidth - std::min(label.size(), LabelWidth - 1), ' ') +
                    AsciiUnits(std::string(norm.Norm)) +
                    (norm.Source.empty() ? "" : " (" + std::string(norm.Source) + ")") + "\n";
        }
    }
    return rows.empty() ? rows : "  norms (\"*\" marks a value outside its norm):\n" + rows;
}

std::string RecordTable(const RecordingReport& record) {
    const VoiceReport& r = record.Report;
    // A name or a status quoting one may hold escape sequences: the terminal
    // gets them written out.
    const TableFigures figure(r);
    std::string text = TerminalText(record.Path) + "\n  " +
                       TerminalLine(ReportSummary(r, record.Outcome)) + "\n  status " +
                       TerminalLine(record.Outcome.Text) + ", expert grade " +
                       (record.Grade ? IntegerText(*record.Grade) : std::string("none")) + "\n";
    if (r.AnalysedCycles == 0) {
        // CPPS needs no cycles, so a recording too rough to mark still has it.
        return (r.CppsDb ? text + "  " + CppsText(figure) + "\n" : text) +
               AvqiRows(record, figure) + NormRows(figure);
    }
    text += "  stretch " + Fixed(r.StretchStartSeconds, 3) + " s to " +
            Fixed(r.StretchEndSeconds, 3) + " s, " + CycleCountsText(CountCycles(r)) + ", " +
            (r.Steady ? "steady" : "NOT steady: " + r.UnsteadyReason) + "\n";
    if (r.Quality) {
        text += "  recording quality " + r.Quality->Verdict() + "\n";
    }
    return text + ModelRows(r) + PerturbationRows(r, figure) + AvqiRows(record, figure) +
           NormRows(figure);
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
