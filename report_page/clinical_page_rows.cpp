// SPDX-License-Identifier: GPL-3.0-or-later
#include "report_page/clinical_page_rows.h"

#include <cctype>

#include "analysis/number_text.h"
#include "recording/measure_norms.h"
#include "recording/report_summary.h"

namespace tesmera {

namespace {

std::string Fixed(double value, int digits) {
    return FixedText(value, 15, digits, ".");
}

std::string Capitalised(std::string_view text) {
    std::string capitalised(text);
    if (!capitalised.empty()) {
        capitalised[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    }
    return capitalised;
}

MeasureRow RowOf(const MeasureLine& line) {
    const MeasureNorm& norm = *line.Norm;
    return {Capitalised(norm.Label), line.Value ? Fixed(*line.Value, norm.Digits) : "n/a",
            std::string(norm.Unit), std::string(norm.Norm), line.Outside};
}

}  // namespace

std::vector<MeasureRow> PageMeasureRows(const VoiceReport& r) {
    std::vector<MeasureRow> rows;
    for (const MeasureLine& line : MeasureLines(r)) {
        if (line.Norm->Key == "avqi") {
            continue;  // the page shows the index on its own scale
        }
        rows.push_back(RowOf(line));
        if (line.Norm->Key == "f0_mean_hz") {
            rows.push_back(
                {"F0 SD", r.AnalysedCycles > 0 ? Fixed(r.F0SdHz, 2) : "n/a", "Hz", "", false});
        }
    }
    return rows;
}

std::vector<ModelRow> PageModelRows(const VoiceReport& report) {
    std::vector<ModelRow> rows;
    const bool figures = report.AnalysedCycles > 0;
    for (std::size_t m = 0; m < ScoreModelCount; ++m) {
        const ModelSummary& s = report.Models[m];
        rows.push_back({"SCORE(" + std::string(ScoreModels[m].id) + ")",
                        figures ? Fixed(s.MedianValue, 3) : "n/a",
                        figures ? IntegerText(s.Score) + (s.Borderline ? "?" : "") : "n/a"});
    }
    return rows;
}

std::string PageSteadinessText(const VoiceReport& report) {
    return report.Steady ? "steady" : "not steady: " + report.UnsteadyReason;
}

std::string PageQualityText(const VoiceReport& report) {
    return report.Quality ? report.Quality->Verdict() : "n/a";
}

std::string PageSummaryLine(const VoiceReport& report) {
    return ReportSummary(report);
}

std::string AvqiText(double avqi) {
    return "AVQI " + Fixed(avqi, 2);
}

}  // namespace tesmera
