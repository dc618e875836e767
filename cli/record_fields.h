// SPDX-License-Identifier: GPL-3.0-or-later
// The fields of one analysed file, in the order every output lists them,
// so the CSV header, the CSV rows and the JSON records cannot drift apart.
#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "analysis/reports.h"
#include "cli/voice_analysis.h"

namespace tesmera {

// Harmonics listed per file: ax and bx 0..15 (the coefficient table), AA
// 0..20 (the table and the chart's bars), AANorm 1..6 (the models' input).
constexpr int ListedCoefficientHarmonics = CoefficientTableRows;
constexpr int ListedAmplitudeHarmonics = ChartedHarmonics + 1;

// Receives the fields of one record. A value is nullopt, or `present` is
// false, when the file did not get that far (or has no grade).
class RecordFieldSink {
  public:
    virtual ~RecordFieldSink() = default;
    virtual void Text(std::string_view name, std::string_view value) = 0;
    // A text the window shows as a message, which may hold line breaks.
    virtual void Message(std::string_view name, std::string_view value) = 0;
    virtual void Integer(std::string_view name, std::optional<long long> value) = 0;
    virtual void Number(std::string_view name, std::optional<double> value) = 0;
    // values[i] is entry firstIndex + i of the named series.
    virtual void Numbers(std::string_view name, int firstIndex, std::span<const double> values,
                         bool present) = 0;
};

// path, status, status_code (see VoiceAnalysis::StatusCodes), SampleCount, Mean, StdDev, MaxAbs,
// PeriodFrequency, PeriodMs, ApproxOrder, ax, bx, AA, AmplitudeNorm, AANorm, then ScoreValue<id>
// and Score<id> for each model, ExpertGrade, GradeNote (the conversion message when the name gives
// no grade) and GradeSource.
void VisitRecordFields(const VoiceAnalysis& record, RecordFieldSink& sink);

}  // namespace tesmera
