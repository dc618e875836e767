// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/recording_report.h"

#include <algorithm>
#include <exception>

#include "cli/OrderedParallelRun.h"
#include "cli/json_text.h"
#include "config/build_config.h"
#include "recording/avqi_recording.h"
#include "recording/cycle_file_name.h"
#include "recording/measure_norms.h"
#include "recording/report_comparison.h"
#include "recording/report_summary.h"
#include "recording/sound_input.h"

namespace tesmera {

namespace {

constexpr double Percent = 100;
constexpr double MicrosecondsPerSecond = 1e6;

nlohmann::ordered_json Figure(const std::optional<double>& value, double scale = 1) {
    return value ? nlohmann::ordered_json(*value * scale) : nlohmann::ordered_json(nullptr);
}

nlohmann::ordered_json ModelJson(std::string_view id, const ModelSummary& summary,
                                 const FigureEstimate& median, bool figures) {
    nlohmann::ordered_json model;
    model["model"] = std::string(id);
    if (!figures) {
        for (const char* key :
             {"median_value", "median_value_se", "score", "iqr", "grade_shares", "borderline"}) {
            model[key] = nullptr;
        }
        return model;
    }
    model["median_value"] = summary.MedianValue;
    model["median_value_se"] = Figure(median.StandardError);
    model["score"] = summary.Score;
    model["iqr"] = summary.Iqr;
    model["grade_shares"] = summary.GradeShares;
    model["borderline"] = summary.Borderline;
    return model;
}

// The recording's quality, null throughout without a stretch.
void AddQuality(nlohmann::ordered_json& json, const std::optional<RecordingQuality>& quality) {
    json["quality"] = quality ? nlohmann::ordered_json(quality->Verdict()) : nullptr;
    json["snr_db"] = quality ? Figure(quality->SnrDb) : nullptr;
    json["clipped_share"] = quality ? nlohmann::ordered_json(quality->ClippedShare) : nullptr;
    json["band_limited"] = quality ? nlohmann::ordered_json(quality->BandLimited) : nullptr;
}

void AddSound(nlohmann::ordered_json& json, const std::optional<SoundFacts>& sound) {
    json["tesmera_version"] = std::string(Version);
    json["sample_rate_hz"] = sound ? nlohmann::ordered_json(sound->SampleRateHz) : nullptr;
    json["duration_s"] = sound ? nlohmann::ordered_json(sound->DurationSeconds) : nullptr;
    json["channels"] = sound ? nlohmann::ordered_json(sound->Channels) : nullptr;
}

// The cycle counts exist once a stretch was found, which the quality marks.
void AddCycleCounts(nlohmann::ordered_json& json, const VoiceReport& report) {
    const CycleCounts counts = CountCycles(report);
    const bool stretch = report.Quality.has_value();
    const auto count = [stretch](std::size_t value) {
        return stretch ? nlohmann::ordered_json(value) : nlohmann::ordered_json(nullptr);
    };
    json["cycles_analysed"] = count(counts.Analysed);
    json["cycles_marked"] = count(counts.Marked);
    json["cycles_off_track"] = count(counts.OffTrack);
    json["cycles_misshapen"] = count(counts.Misshapen);
    json["cycles_unscored"] = count(counts.Unscored);
}

// The index and its measures, null throughout without one.
void AddAvqi(nlohmann::ordered_json& json, const std::optional<AvqiFigures>& avqi) {
    const auto figure = [&avqi](double AvqiFigures::*member) {
        return avqi ? nlohmann::ordered_json((*avqi).*member) : nlohmann::ordered_json(nullptr);
    };
    json["avqi"] = figure(&AvqiFigures::Avqi);
    json["avqi_cpps_db"] = figure(&AvqiFigures::CppsDb);
    json["avqi_hnr_db"] = figure(&AvqiFigures::HnrDb);
    json["avqi_shimmer_local_pct"] = figure(&AvqiFigures::ShimmerLocalPct);
    json["avqi_shimmer_local_db"] = figure(&AvqiFigures::ShimmerLocalDb);
    json["avqi_ltas_slope_db"] = figure(&AvqiFigures::LtasSlopeDb);
    json["avqi_ltas_tilt_db"] = figure(&AvqiFigures::LtasTiltDb);
    json["avqi_speech_voiced_s"] = figure(&AvqiFigures::SpeechVoicedSeconds);
}

// The index of the vowel with its speech; a problem with the speech leaves
// the vowel's report as it is and says why in the warning.
void MeasureAvqi(RecordingReport& record, ScannedRecording& vowel) {
    try {
        record.Report.Avqi = MeasureRecordingAvqi(vowel, record.SpeechPath);
        record.AvqiWarning =
            record.Report.Avqi ? ShortSpeechWarning(*record.Report.Avqi)
                               : "AVQI not measured: the vowel and speech give no voice to measure";
    } catch (const std::exception& error) {
        record.AvqiWarning = "AVQI not measured: " + record.SpeechPath + ": " + error.what();
    }
}

// "<key>_outside_norm" for every measure with a threshold: true or false
// where the value exists, null where it does not.
void AddNormMarks(nlohmann::ordered_json& json, const VoiceReport& report) {
    for (const MeasureLine& line : MeasureLines(report)) {
        if (line.Norm->Threshold) {
            json[std::string(line.Norm->Key) + "_outside_norm"] =
                line.Value ? nlohmann::ordered_json(line.Outside) : nullptr;
        }
    }
    if (!report.Avqi) {
        json["avqi_outside_norm"] = nullptr;
    }
}

}  // namespace

RecordingReport ReportRecording(const std::string& path, std::optional<double> atSeconds,
                                unsigned threads, const std::string& speechPath,
                                StandardErrors errors) {
    RecordingReport record;
    record.Path = path;
    record.SpeechPath = speechPath;
    record.Grade = RecordingNameGrade(path);
    try {
        RecordingFile recording(path, threads);
        record.Sound =
            SoundFacts{recording.SampleRate(), recording.Duration(), recording.Channels()};
        record.Report = ReportVoice(recording, atSeconds);
        record.Outcome = record.Report.Outcome;
        if (errors == StandardErrors::Estimate) {
            EstimateSpreads(record.Report, threads);
        }
        if (!speechPath.empty()) {
            MeasureAvqi(record, recording);
        }
    } catch (const TesmeraError& error) {
        record.Outcome = {error.Code(), std::string("unreadable: ") + error.what()};
    } catch (const std::exception& error) {
        record.Outcome = {StatusCode::Unreadable, std::string("unreadable: ") + error.what()};
    }
    return record;
}

void ReportRecordings(std::span<const BatchEntry> entries, std::optional<double> atSeconds,
                      unsigned jobs, const std::function<void(RecordingReport&&)>& use,
                      const SpeechFinder& speech, StandardErrors errors) {
    // Each recording gets its share of the jobs, so one long recording
    // still uses them all.
    const auto files = static_cast<unsigned>(std::max<std::size_t>(1, entries.size()));
    const unsigned workers = std::max(1U, jobs);
    const unsigned threads = workers / std::min(workers, files);
    OrderedParallelRun<RecordingReport> run(jobs, [entries, atSeconds, threads, &speech, errors] {
        return [entries, atSeconds, threads, &speech, errors](std::size_t i) {
            if (entries[i].Problem) {
                RecordingReport record;
                record.Path = entries[i].Path;
                record.Grade = RecordingNameGrade(record.Path);
                record.Outcome = *entries[i].Problem;
                return record;
            }
            return ReportRecording(entries[i].Path, atSeconds, threads,
                                   speech ? speech(entries[i].Path) : std::string(), errors);
        };
    });
    run.Run(entries.size(), use);
}

nlohmann::ordered_json ReportRecordJson(const RecordingReport& record) {
    const VoiceReport& report = record.Report;
    // Figures are given for a report that reached its cycles, "too short"
    // included, so a user sees how far it got.
    const bool figures = report.AnalysedCycles > 0;
    const auto when = [figures](nlohmann::ordered_json value) {
        return figures ? value : nlohmann::ordered_json(nullptr);
    };
    nlohmann::ordered_json json;
    AddText(json, "path", record.Path);
    json["status"] = record.Outcome.Text;
    json["status_code"] = StatusCodeName(record.Outcome.Code);
    json["summary"] = ReportSummary(report, record.Outcome);
    AddSound(json, record.Sound);
    json["expert_grade"] = record.Grade ? nlohmann::ordered_json(*record.Grade) : nullptr;
    json["stretch_start_s"] = when(report.StretchStartSeconds);
    json["stretch_end_s"] = when(report.StretchEndSeconds);
    AddCycleCounts(json, report);
    json["steady"] = when(report.Steady);
    json["unsteady_reason"] = when(report.Steady ? nlohmann::ordered_json(nullptr)
                                                 : nlohmann::ordered_json(report.UnsteadyReason));
    json["f0_mean_hz"] = when(report.F0MeanHz);
    json["f0_sd_hz"] = when(report.F0SdHz);
    json["jitter_local_pct"] = when(Figure(report.Jitter.Local, Percent));
    json["jitter_local_abs_us"] = when(Figure(report.Jitter.LocalAbsolute, MicrosecondsPerSecond));
    json["jitter_rap_pct"] = when(Figure(report.Jitter.Rap, Percent));
    json["jitter_ppq5_pct"] = when(Figure(report.Jitter.Ppq5, Percent));
    json["shimmer_local_pct"] = when(Figure(report.Shimmer.Local, Percent));
    json["shimmer_local_db"] = when(Figure(report.Shimmer.LocalDb));
    json["shimmer_apq3_pct"] = when(Figure(report.Shimmer.Apq3, Percent));
    json["shimmer_apq5_pct"] = when(Figure(report.Shimmer.Apq5, Percent));
    json["hnr_db"] = when(Figure(report.HnrDb));
    json["cpps_db"] = Figure(report.CppsDb);
    // The standard errors of the figures measured from the recording's own
    // units, which `compare` needs to tell a real change from noise.
    const ReportEstimates estimates = EstimatesOf(report);
    for (std::size_t i = 0; i < ComparedFigureCount; ++i) {
        if (ComparedFigures[i].Model < 0 && ComparedFigures[i].Resampled) {
            json[std::string(ComparedFigures[i].Key) + "_se"] = Figure(estimates[i].StandardError);
        }
    }
    AddQuality(json, report.Quality);  // needs no cycles, so given without them too
    AddAvqi(json, report.Avqi);
    AddNormMarks(json, report);
    json["models"] = nlohmann::ordered_json::array();
    for (std::size_t m = 0; m < ScoreModelCount; ++m) {
        json["models"].push_back(
            ModelJson(ScoreModels[m].id, report.Models[m], estimates[ModelFigure(m)], figures));
    }
    return json;
}

}  // namespace tesmera
