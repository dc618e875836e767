// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/record_fields.h"

#include <string>

#include "config/build_config.h"
#include "wave/voice_period.h"

namespace tesmera {

namespace {

template <typename T>
std::optional<T> When(bool present, T value) {
    return present ? std::optional<T>(value) : std::nullopt;
}

std::optional<std::string_view> NonEmpty(std::string_view text) {
    return text.empty() ? std::nullopt : std::optional<std::string_view>(text);
}

// A voice file is one channel of 16-bit samples, read at the nominal rate.
constexpr long long VoiceFileChannels = 1;

void VisitSoundFields(const VoiceAnalysis& record, bool loaded, RecordFieldSink& sink) {
    sink.Text("tesmera_version", Version);
    sink.Integer("sample_rate_hz", When<long long>(loaded, NominalSampleRate));
    sink.Number("duration_s",
                When(loaded, static_cast<double>(record.SampleCount) / NominalSampleRate));
    sink.Integer("channels", When(loaded, VoiceFileChannels));
}

}  // namespace

std::string ModelColumn(std::string_view modelId, std::string_view field) {
    return "model_" + std::string(modelId) + "_" + std::string(field);
}

void VisitRecordFields(const VoiceAnalysis& record, RecordFieldSink& sink) {
    const bool loaded = record.Stage != AnalysisStage::NotLoaded;
    const bool analysed = record.Stage == AnalysisStage::Analysed;

    sink.Text("path", record.Path);
    sink.Message("status", record.StatusText());
    sink.Text("status_code", record.StatusCodes());
    VisitSoundFields(record, loaded, sink);
    sink.Integer("sample_count", When<long long>(loaded, record.SampleCount));
    sink.Number("mean", When(loaded, record.Mean));
    sink.Number("std_dev", When(loaded, record.StdDev));
    sink.Number("max_abs", When(loaded, record.MaxAbs));
    sink.Number("period_frequency_hz", When(loaded, record.PeriodFrequency));
    sink.Number("period_ms", When(loaded, record.PeriodMs));
    sink.Integer("approx_order", When<long long>(analysed, record.ApproxOrder));
    sink.Numbers("ax", 0, std::span(record.ax).first(ListedCoefficientHarmonics), analysed);
    sink.Numbers("bx", 0, std::span(record.bx).first(ListedCoefficientHarmonics), analysed);
    sink.Numbers("aa", 0, std::span(record.AA).first(ListedAmplitudeHarmonics), analysed);
    sink.Number("amplitude_norm", When(analysed, record.AmplitudeNorm));
    sink.Numbers("aa_norm", 1, std::span(record.AANorm).first(ModelHarmonics), analysed);
    for (std::size_t m = 0; m < ScoreModelCount; ++m) {
        sink.Model(ScoreModels[m].id, When(analysed, record.ScoreValue[m]),
                   When<long long>(analysed, record.Score[m]));
    }
    sink.Integer("expert_grade",
                 record.ExpertGrade ? std::optional<long long>(*record.ExpertGrade) : std::nullopt);
    sink.Message("grade_note", NonEmpty(record.GradeNote));
    sink.Text("grade_source", NonEmpty(record.GradeOrigin));
}

}  // namespace tesmera
