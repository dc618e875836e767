#include "cli/agreement_output.h"

#include "analysis/number_text.h"
#include "cli/data_text.h"
#include "cli/terminal_text.h"

namespace tesmera {

namespace {

constexpr int kFigureDigits = 3;

std::string RightAligned(const std::string& text, std::size_t width) {
    return std::string(width > text.size() ? width - text.size() : 0, ' ') + text;
}

std::string FigureText(const std::optional<double>& figure) {
    return figure ? FixedText(*figure, 15, kFigureDigits, ".") : "n/a";
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

std::string JsonFigure(const std::optional<double>& figure) {
    return figure ? RoundTripText(*figure) : "null";
}

std::string JsonConfusion(const ConfusionMatrix& confusion) {
    std::string json = "[";
    for (std::size_t e = 0; e < GradeCount; ++e) {
        json += e == 0 ? "[" : ", [";
        for (std::size_t m = 0; m < GradeCount; ++m) {
            json += (m == 0 ? "" : ", ") + IntegerText(confusion[e][m]);
        }
        json += "]";
    }
    return json + "]";
}

std::string JsonModel(std::string_view id, const AgreementFigures& f) {
    return "{\"model\": " + JsonString(id) + ", \"count\": " + IntegerText(f.Count) +
           ", \"exact\": " + IntegerText(f.ExactCount) +
           ", \"exactRate\": " + JsonFigure(f.ExactRate) +
           ", \"withinOne\": " + IntegerText(f.WithinOneCount) +
           ", \"withinOneRate\": " + JsonFigure(f.WithinOneRate) +
           ", \"meanAbsoluteError\": " + JsonFigure(f.MeanAbsoluteError) +
           ", \"weightedKappa\": " + JsonFigure(f.WeightedKappa) +
           ", \"spearmanRho\": " + JsonFigure(f.SpearmanRho) +
           ", \"confusion\": " + JsonConfusion(f.Confusion) + "}";
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
    return table;
}

std::string AgreementJson(const AgreementReport& report) {
    std::string json = "{\"models\": [";
    for (std::size_t m = 0; m < ScoreModelCount; ++m) {
        json += (m == 0 ? "\n  " : ",\n  ") + JsonModel(ScoreModels[m].id, report.Models[m]);
    }
    json += "],\n \"skipped\": [";
    for (std::size_t i = 0; i < report.Skipped.size(); ++i) {
        json += (i == 0 ? "\n  " : ",\n  ");
        json += "{\"path\": " + JsonString(report.Skipped[i].Path) +
                ", \"reason\": " + JsonString(report.Skipped[i].Reason) + "}";
    }
    return json + "]}\n";
}

}  // namespace tesmera
