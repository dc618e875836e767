// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/compare_output.h"

#include "analysis/number_text.h"
#include "cli/data_text.h"
#include "cli/json_text.h"
#include "cli/terminal_text.h"

namespace tesmera {

namespace {

constexpr std::size_t NameWidth = 22;
constexpr std::size_t NumberWidth = 11;

nlohmann::ordered_json Number(const std::optional<double>& value) {
    return value ? nlohmann::ordered_json(*value) : nlohmann::ordered_json(nullptr);
}

nlohmann::ordered_json RowJson(const ComparisonRow& row) {
    const ComparedFigure& figure = *row.Figure;
    nlohmann::ordered_json json;
    AddText(json, "before_path", row.BeforePath ? *row.BeforePath : "");
    AddText(json, "after_path", row.AfterPath ? *row.AfterPath : "");
    json["figure"] = std::string(figure.Name);
    json["unit"] = std::string(figure.Unit);
    json["key"] = std::string(figure.Key);
    json["model"] = figure.Model < 0
                        ? nlohmann::ordered_json(nullptr)
                        : nlohmann::ordered_json(std::string(ScoreModels[figure.Model].id));
    json["before"] = Number(row.Change.Before);
    json["after"] = Number(row.Change.After);
    json["change"] = Number(row.Change.Change);
    json["noise"] = Number(row.Change.Noise);
    json["verdict"] = std::string(VerdictText(row.Change.Verdict));
    return json;
}

std::string Padded(std::string text, std::size_t width) {
    return text.size() < width ? std::string(width - text.size(), ' ') + text : text;
}

std::string Cell(const std::optional<double>& value, int digits, bool signedText = false) {
    if (!value) {
        return Padded("n/a", NumberWidth);
    }
    const std::string text = FixedText(*value, 15, digits, ".");
    return Padded(signedText && *value >= 0 ? "+" + text : text, NumberWidth);
}

std::string FigureLabel(const ComparedFigure& figure) {
    std::string label(figure.Name);
    if (!figure.Unit.empty()) {
        label += " (" + std::string(figure.Unit) + ")";
    }
    return label.size() < NameWidth ? label + std::string(NameWidth - label.size(), ' ') : label;
}

}  // namespace

void ComparisonFormat::CsvHeader(std::string& line) const {
    CsvLine header(line);
    ComparisonRow empty;
    empty.Figure = &ComparedFigures[0];
    const nlohmann::ordered_json fields = RowJson(empty);
    for (const auto& [name, value] : fields.items()) {
        if (!name.ends_with("_bytes")) {
            header.AddText(name);
        }
    }
    header.Finish();
}

void ComparisonFormat::CsvRow(const ComparisonRow& row, std::string& line) const {
    CsvLine cells(line);
    // The CSV keeps a path's bytes as they are, so it needs no hex copy.
    const nlohmann::ordered_json fields = RowJson(row);
    for (const auto& [name, value] : fields.items()) {
        if (!name.ends_with("_bytes")) {
            cells.Add(CsvCellOf(value));
        }
    }
    cells.Finish();
}

std::string ComparisonFormat::JsonText(const ComparisonRow& row) const {
    return JsonLine(RowJson(row));
}

std::string ComparisonFormat::TableHeading() const {
    return {};
}

std::string ComparisonFormat::TableEntry(const ComparisonRow& row, bool first) const {
    std::string text;
    if (first) {
        text = "before " + TerminalText(row.BeforePath ? *row.BeforePath : "") + "\nafter  " +
               TerminalText(row.AfterPath ? *row.AfterPath : "") + "\n  " +
               FigureLabel({"", -1, "figure", "", 1, 0, true, false, nullptr}) +
               Padded("before", NumberWidth) + Padded("after", NumberWidth) +
               Padded("change", NumberWidth) + Padded("noise", NumberWidth) + "  verdict\n";
    }
    const int digits = row.Figure->Digits;
    return text + "  " + FigureLabel(*row.Figure) + Cell(row.Change.Before, digits) +
           Cell(row.Change.After, digits) + Cell(row.Change.Change, digits, true) +
           Cell(row.Change.Noise, digits) + "  " + std::string(VerdictText(row.Change.Verdict)) +
           "\n";
}

std::string ComparisonFormat::TableClosing(bool /*noted*/) const {
    return "\n\"changed\": the change exceeds its noise, 1.96 standard errors of the difference\n"
           "from each recording's own spread (AVQI: its published test-retest figure, 0.54).\n";
}

}  // namespace tesmera
