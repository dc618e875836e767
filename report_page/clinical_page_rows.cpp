// SPDX-License-Identifier: GPL-3.0-or-later
#include "report_page/clinical_page_rows.h"

#include "analysis/number_text.h"

namespace tesmera {

namespace {

constexpr double Percent = 100;
constexpr double MicrosecondsPerSecond = 1e6;

std::string Fixed(double value, int digits) {
    return FixedText(value, 15, digits, ".");
}

std::string Figure(const std::optional<double>& value, double scale, int digits) {
    return value ? Fixed(*value * scale, digits) : "n/a";
}

}  // namespace

std::vector<MeasureRow> PageMeasureRows(const VoiceReport& r) {
    // F0 exists only over analysed cycles; the other figures carry their
    // own absence.
    const auto f0 = [&r](double value) {
        return r.AnalysedCycles > 0 ? std::optional(value) : std::nullopt;
    };
    return {
        {"F0 mean", Figure(f0(r.F0MeanHz), 1, 2), "Hz", "", false},
        {"F0 SD", Figure(f0(r.F0SdHz), 1, 2), "Hz", "", false},
        {"Jitter local", Figure(r.Jitter.Local, Percent, 3), "%", "", false},
        {"Jitter local, absolute", Figure(r.Jitter.LocalAbsolute, MicrosecondsPerSecond, 1),
         "\u00b5s", "", false},
        {"Jitter RAP", Figure(r.Jitter.Rap, Percent, 3), "%", "", false},
        {"Jitter PPQ5", Figure(r.Jitter.Ppq5, Percent, 3), "%", "", false},
        {"Shimmer local", Figure(r.Shimmer.Local, Percent, 3), "%", "", false},
        {"Shimmer local, dB", Figure(r.Shimmer.LocalDb, 1, 3), "dB", "", false},
        {"Shimmer APQ3", Figure(r.Shimmer.Apq3, Percent, 3), "%", "", false},
        {"Shimmer APQ5", Figure(r.Shimmer.Apq5, Percent, 3), "%", "", false},
        {"HNR", Figure(r.HnrDb, 1, 2), "dB", "", false},
        {"CPPS", Figure(r.CppsDb, 1, 2), "dB", "", false},
    };
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
    if (report.AnalysedCycles == 0) {
        return "No figures: " + report.Outcome.Text;
    }
    return (report.Steady ? "Steady" : "Not steady") + std::string(", recording quality ") +
           PageQualityText(report);
}

std::string AvqiText(double avqi) {
    return "AVQI " + Fixed(avqi, 2);
}

}  // namespace tesmera
