// SPDX-License-Identifier: GPL-3.0-or-later
// The fields of one analysed file, in the order every output lists them,
// so the CSV header, the CSV rows and the JSON records cannot drift apart.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "analysis/reports.h"
#include "cli/voice_analysis.h"

namespace tesmera {

// Harmonics listed per file: ax and bx 0..15 (the coefficient table), AA
// 0..20 (the table and the chart's bars), AANorm 1..6 (the models' input).
constexpr int ListedCoefficientHarmonics = CoefficientTableRows;
constexpr int ListedAmplitudeHarmonics = ChartedHarmonics + 1;

// The column of one model's figure in every CSV output: "model_10_score".
std::string ModelColumn(std::string_view modelId, std::string_view field);

// Receives the fields of one record. A value is nullopt, or `present` is
// false, when the file did not get that far (or has no grade, or no note).
class RecordFieldSink {
  public:
    virtual ~RecordFieldSink() = default;
    virtual void Text(std::string_view name, std::optional<std::string_view> value) = 0;
    // A text the window shows as a message, which may hold line breaks.
    virtual void Message(std::string_view name, std::optional<std::string_view> value) = 0;
    virtual void Integer(std::string_view name, std::optional<long long> value) = 0;
    virtual void Number(std::string_view name, std::optional<double> value) = 0;
    // values[i] is entry firstIndex + i of the named series.
    virtual void Numbers(std::string_view name, int firstIndex, std::span<const double> values,
                         bool present) = 0;
    // One score model's figures (id "10", "21", ...): its score value and
    // score, absent before the file is analysed.
    virtual void Model(std::string_view id, std::optional<double> value,
                       std::optional<long long> score) = 0;
};

// path, status, status_code (see VoiceAnalysis::StatusCodes), tesmera_version, sample_rate_hz,
// duration_s, channels, sample_count, mean, std_dev, max_abs, period_frequency_hz, period_ms,
// approx_order, ax, bx, aa, amplitude_norm, aa_norm, then each model, expert_grade, grade_note (the
// conversion message when the name gives no grade) and grade_source; docs/outputs.md gives the
// units.
void VisitRecordFields(const VoiceAnalysis& record, RecordFieldSink& sink);

}  // namespace tesmera
