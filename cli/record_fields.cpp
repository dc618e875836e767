// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/record_fields.h"

#include <string>

namespace tesmera {

namespace {

template <typename T>
std::optional<T> When(bool present, T value) {
    return present ? std::optional<T>(value) : std::nullopt;
}

}  // namespace

void VisitRecordFields(const VoiceAnalysis& record, RecordFieldSink& sink) {
    const bool loaded = record.Stage != AnalysisStage::NotLoaded;
    const bool analysed = record.Stage == AnalysisStage::Analysed;

    sink.Text("path", record.Path);
    sink.Message("status", record.StatusText());
    sink.Text("status_code", record.StatusCodes());
    sink.Integer("SampleCount", When<long long>(loaded, record.SampleCount));
    sink.Number("Mean", When(loaded, record.Mean));
    sink.Number("StdDev", When(loaded, record.StdDev));
    sink.Number("MaxAbs", When(loaded, record.MaxAbs));
    sink.Number("PeriodFrequency", When(loaded, record.PeriodFrequency));
    sink.Number("PeriodMs", When(loaded, record.PeriodMs));
    sink.Integer("ApproxOrder", When<long long>(analysed, record.ApproxOrder));
    sink.Numbers("ax", 0, std::span(record.ax).first(ListedCoefficientHarmonics), analysed);
    sink.Numbers("bx", 0, std::span(record.bx).first(ListedCoefficientHarmonics), analysed);
    sink.Numbers("AA", 0, std::span(record.AA).first(ListedAmplitudeHarmonics), analysed);
    sink.Number("AmplitudeNorm", When(analysed, record.AmplitudeNorm));
    sink.Numbers("AANorm", 1, std::span(record.AANorm).first(ModelHarmonics), analysed);
    for (std::size_t m = 0; m < ScoreModelCount; ++m) {
        const std::string id(ScoreModels[m].id);
        sink.Number("ScoreValue" + id, When(analysed, record.ScoreValue[m]));
        sink.Integer("Score" + id, When<long long>(analysed, record.Score[m]));
    }
    sink.Integer("ExpertGrade",
                 record.ExpertGrade ? std::optional<long long>(*record.ExpertGrade) : std::nullopt);
    sink.Message("GradeNote", record.GradeNote);
    sink.Text("GradeSource", record.GradeOrigin);
}

}  // namespace tesmera
