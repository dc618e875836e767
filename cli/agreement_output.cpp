// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/agreement_output.h"

#include <algorithm>

#include "analysis/number_text.h"
#include "cli/GradeSource.h"
#include "cli/json_text.h"
#include "cli/terminal_text.h"
#include "config/build_config.h"

namespace tesmera {

namespace {

constexpr int FigureDigits = 3;

std::string RightAligned(const std::string& text, std::size_t width) {
    return std::string(width > text.size() ? width - text.size() : 0, ' ') + text;
}

std::string FigureText(const std::optional<double>& figure) {
    return figure ? FixedText(*figure, 15, FigureDigits, ".") : "n/a";
}

std::string SummaryRow(std::string_view id, const AgreementFigures& f) {
    std::string row = "SCORE(" + std::string(id) + ")";
    row += RightAligned(IntegerText(f.Count), 7);
    row += RightAligned(FigureText(f.ExactRate), 8);
    row += RightAligned(FigureText(f.WithinOneRate), 10);
    row += RightAligned(FigureText(f.MeanAbsoluteError), 8);
    row += RightAligned(FigureText(f.WeightedKappa), 8);
    row += RightAligned(FigureText(f.SpearmanRho), 8);
    return row + "\n";
}

std::string ConfusionBlock(std::string_view id, const ConfusionMatrix& confusion) {
    std::string block = "SCORE(" + std::string(id) + ")   score";
    for (std::size_t m = 0; m < GradeCount; ++m) {
        block += RightAligned(IntegerText(LowestGrade + static_cast<std::int32_t>(m)), 5);
    }
    block += "\n";
    for (std::size_t e = 0; e < GradeCount; ++e) {
        block += "  expert " + IntegerText(LowestGrade + static_cast<std::int32_t>(e)) + "       ";
        for (const std::int32_t count : confusion[e]) {
            block += RightAligned(IntegerText(count), 5);
        }
        block += "\n";
    }
    return block;
}

JsonObject JsonFigure(const std::optional<double>& figure) {
    return figure ? JsonObject(*figure) : JsonObject(nullptr);
}

JsonObject JsonModel(std::string_view id, const AgreementFigures& f) {
    JsonObject model = JsonObject::object();
    model["model"] = std::string(id);
    model["count"] = f.Count;
    model["exact_count"] = f.ExactCount;
    model["exact_rate"] = JsonFigure(f.ExactRate);
    model["within_one_count"] = f.WithinOneCount;
    model["within_one_rate"] = JsonFigure(f.WithinOneRate);
    model["mean_absolute_error"] = JsonFigure(f.MeanAbsoluteError);
    model["weighted_kappa"] = JsonFigure(f.WeightedKappa);
    model["spearman_rho"] = JsonFigure(f.SpearmanRho);
    model["confusion"] = f.Confusion;
    return model;
}

// "key": [ then each element on a line of its own, then ].
std::string JsonArrayLines(std::string_view key, const std::vector<JsonObject>& elements) {
    std::string text = JsonLine(JsonObject(std::string(key))) + ": [";
    for (std::size_t i = 0; i < elements.size(); ++i) {
        text += (i == 0 ? "\n  " : ",\n  ") + JsonLine(elements[i]);
    }
    return text + "]";
}

constexpr const char* PartOfANumberWarning =
    "the grade is the last digit of a number in the name; give grades with --grades FILE.csv or "
    "turn name grades off with --no-name-grades";

std::string OriginText(const std::string& origin) {
    return origin == GradeFromTable ? "from the grade table" : "from the file name";
}

std::string GradesSection(const std::vector<GradedFile>& graded) {
    const auto fromTable =
        std::ranges::count(graded, std::string(GradeFromTable), &GradedFile::Origin);
    const auto suspicious = std::ranges::count(graded, true, &GradedFile::PartOfANumber);
    std::string section = "\nGrades used: " + IntegerText(static_cast<long long>(graded.size())) +
                          " (" + IntegerText(fromTable) + " from the grade table, " +
                          IntegerText(static_cast<long long>(graded.size()) - fromTable) +
                          " from file names)\n";
    if (suspicious > 0) {
        section += "Warning: " + IntegerText(suspicious) + " grade(s) " + PartOfANumberWarning +
                   " (marked !)\n";
    }
    for (const GradedFile& file : graded) {
        section += "  " + TerminalText(file.Path) + ": " + IntegerText(file.Grade) + " " +
                   OriginText(file.Origin) + (file.PartOfANumber ? " !" : "") + "\n";
    }
    return section;
}

}  // namespace

std::string AgreementTable(const AgreementReport& report) {
    std::string table =
        "Agreement of each score model with the expert grades\n"
        "(exact and within-one rates, mean absolute error in grades, quadratically\n"
        "weighted Cohen's kappa, Spearman's rho)\n\n"
        "model      count   exact  within 1     MAE   kappa     rho\n";
    for (std::size_t m = 0; m < ScoreModelCount; ++m) {
        table += SummaryRow(ScoreModels[m].id, report.Models[m]);
    }
    table += "\nConfusion matrices (rows: expert grade, columns: model score)\n";
    for (std::size_t m = 0; m < ScoreModelCount; ++m) {
        table += '\n';
        table += ConfusionBlock(ScoreModels[m].id, report.Models[m].Confusion);
    }
    table +=
        "\nSkipped files: " + IntegerText(static_cast<long long>(report.Skipped.size())) + "\n";
    for (const SkippedFile& skipped : report.Skipped) {
        table += "  " + TerminalText(skipped.Path) + ": " + TerminalLine(skipped.Reason) + "\n";
    }
    return table + GradesSection(report.Graded);
}

std::string AgreementJson(const AgreementReport& report) {
    std::vector<JsonObject> models;
    for (std::size_t m = 0; m < ScoreModelCount; ++m) {
        models.push_back(JsonModel(ScoreModels[m].id, report.Models[m]));
    }
    std::vector<JsonObject> skipped;
    for (const SkippedFile& file : report.Skipped) {
        JsonObject entry = JsonObject::object();
        AddText(entry, "path", file.Path);
        AddText(entry, "reason", file.Reason);
        skipped.push_back(std::move(entry));
    }
    std::vector<JsonObject> grades;
    for (const GradedFile& file : report.Graded) {
        JsonObject entry = JsonObject::object();
        AddText(entry, "path", file.Path);
        entry["expert_grade"] = file.Grade;
        entry["grade_source"] = file.Origin;
        if (file.PartOfANumber) {
            entry["warning"] = PartOfANumberWarning;
        }
        grades.push_back(std::move(entry));
    }
    return "{\"tesmera_version\": " + JsonLine(JsonObject(std::string(Version))) + ",\n " +
           JsonArrayLines("models", models) + ",\n " + JsonArrayLines("skipped", skipped) + ",\n " +
           JsonArrayLines("grades", grades) + "}\n";
}

}  // namespace tesmera
