// SPDX-License-Identifier: GPL-3.0-or-later
// Recordings through the reader and the period extraction. The first byte
// chooses the form: the bytes themselves as a sound file (the reader's
// refusals), or a WAV built from them (a rate, a channel count, an optional
// place, then 16-bit samples), which reaches the extraction itself. A cut
// period must be a finite, plausible period that the voice-file path loads.
// The same recording then goes through the voice report and its three
// outputs: known statuses, finite figures, scores 1..5, grade shares that
// sum to 1 and cycle counts that agree everywhere.
#include <sndfile.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "cli/recording_report.h"
#include "cli/report_output.h"
#include "cli/voice_analysis.h"
#include "fuzz/fuzz_support.h"
#include "recording/period_extraction.h"
#include "recording/pitch.h"
#include "recording/sound_input.h"
#include "recording/voice_file_writer.h"

namespace tesmera::fuzz {
namespace {

constexpr std::int32_t Rates[] = {8000, 11025, 16000, 22050, 44100, 48000, 96000};

struct Recipe {
    std::int32_t rate;
    int channels;
    std::optional<double> atSeconds;
};

// Writes samples built from the bytes as a WAV through libsndfile.
void WriteBuiltRecording(const std::string& path, const std::uint8_t* data, std::size_t size,
                         Recipe& recipe) {
    recipe.rate = Rates[data[0] % std::size(Rates)];
    recipe.channels = 1 + data[1] % 2;
    if (data[2] & 1) {
        recipe.atSeconds = data[3] / 100.0;
    }
    std::vector<std::int16_t> samples((size - 4) / 2);
    // No samples at all leaves the vector without storage to copy into.
    if (!samples.empty()) {
        std::memcpy(samples.data(), data + 4, samples.size() * 2);
    }
    // A short pattern repeated makes a voiced recording, the case worth
    // exploring; the bytes decide the cycle's shape and length.
    // Half a second: long enough for a stable stretch, short enough for
    // many runs a second.
    const std::size_t length = std::max<std::size_t>(samples.size(), recipe.rate / 2);
    std::vector<std::int16_t> repeated(length - length % recipe.channels);
    for (std::size_t i = 0; i < repeated.size(); ++i) {
        repeated[i] = samples.empty() ? 0 : samples[i % samples.size()];
    }
    SF_INFO info{};
    info.samplerate = recipe.rate;
    info.channels = recipe.channels;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    Require(file != nullptr, "cannot write the built recording");
    sf_write_short(file, repeated.data(), static_cast<sf_count_t>(repeated.size()));
    sf_close(file);
}

void CheckPeriod(const ScratchFolder& folder, const ExtractedPeriod& period, double duration) {
    RequireFinite(period.F0, "F0 not finite");
    Require(period.F0 >= LowestF0 * 0.9 && period.F0 <= HighestF0 * 1.1, "F0 outside the range");
    Require(period.CutStartSeconds >= 0 && period.CutStartSeconds < period.CutEndSeconds &&
                period.CutEndSeconds <= duration + 1e-9,
            "cut outside the recording");
    Require(period.StretchStartSeconds <= period.StretchEndSeconds, "stretch reversed");
    Require(!period.Samples.empty(), "empty period");
    const std::string path = folder.File("period2.wav");
    WriteVoicePeriod(path, period.Samples);
    const VoiceAnalysis record = AnalyseVoiceFile(path);
    Require(record.Stage != AnalysisStage::NotLoaded, "extracted period does not load");
    Require(record.SampleCount == static_cast<std::int32_t>(period.Samples.size()),
            "extracted period loads another length");
}

bool KnownReportStatus(const Status& status, bool readable) {
    if (!readable) {
        return status.Code == StatusCode::Unreadable && status.Text.starts_with("unreadable: ") &&
               status.Text.size() > 12;
    }
    static const StatusCode known[] = {StatusCode::Ok,
                                       StatusCode::Silent,
                                       StatusCode::Unvoiced,
                                       StatusCode::UnvoicedAtTime,
                                       StatusCode::OutsideRecording,
                                       StatusCode::TooShort,
                                       StatusCode::NotAVoice,
                                       StatusCode::TwoVoices};
    return std::ranges::find(known, status.Code) != std::end(known);
}

void CheckOptionalFinite(const std::optional<double>& figure) {
    if (figure) {
        RequireFinite(*figure, "perturbation figure not finite");
    }
}

// Every cycle lies after the one before and inside the stretch's reach; the
// analysed ones are accepted, cut and scored 1..5.
std::size_t CheckCycles(const VoiceReport& report) {
    std::size_t scored = 0;
    for (std::size_t i = 0; i < report.Cycles.size(); ++i) {
        const ReportedCycle& cycle = report.Cycles[i];
        RequireFinite(cycle.StartSample, "cycle start not finite");
        RequireFinite(cycle.EndSample, "cycle end not finite");
        Require(cycle.StartSample < cycle.EndSample, "cycle reversed");
        Require(i == 0 || report.Cycles[i - 1].EndSample == cycle.StartSample,
                "cycles do not follow each other");
        if (!cycle.Scored) {
            continue;
        }
        ++scored;
        Require(cycle.Verdict == CycleVerdict::CvAccepted && !cycle.Period.empty(),
                "a refused or empty cycle scored");
        for (std::size_t m = 0; m < ScoreModelCount; ++m) {
            RequireFinite(cycle.ScoreValue[m], "cycle score value not finite");
            Require(cycle.Score[m] >= 1 && cycle.Score[m] <= 5, "cycle score outside 1..5");
        }
    }
    return scored;
}

void CheckModels(const VoiceReport& report) {
    for (const ModelSummary& model : report.Models) {
        RequireFinite(model.MedianValue, "median not finite");
        Require(std::isfinite(model.Iqr) && model.Iqr >= 0, "IQR not a finite spread");
        Require(model.Score >= 1 && model.Score <= 5, "model score outside 1..5");
        double shares = 0;
        for (const double share : model.GradeShares) {
            Require(share >= 0 && share <= 1, "grade share outside 0..1");
            shares += share;
        }
        Require(std::fabs(shares - 1) <= 1e-9, "grade shares do not sum to 1");
    }
    Require(std::isfinite(report.F0MeanHz) && report.F0MeanHz > 0, "mean F0 not positive");
    Require(std::isfinite(report.F0SdHz) && report.F0SdHz >= 0, "F0 deviation not a spread");
}

void CheckReport(const VoiceReport& report) {
    RequireFinite(report.StretchStartSeconds, "stretch start not finite");
    RequireFinite(report.StretchEndSeconds, "stretch end not finite");
    Require(report.StretchStartSeconds <= report.StretchEndSeconds, "report stretch reversed");
    Require(CheckCycles(report) == report.AnalysedCycles, "analysed cycles miscounted");
    Require(report.Ok() == (report.AnalysedCycles >= ReportMinimumCycles),
            "status disagrees with the cycle count");
    if (report.AnalysedCycles > 0) {
        CheckModels(report);
    }
    for (const auto& figure : {report.Jitter.Local, report.Jitter.LocalAbsolute, report.Jitter.Rap,
                               report.Jitter.Ppq5, report.Shimmer.Local, report.Shimmer.LocalDb,
                               report.Shimmer.Apq3, report.Shimmer.Apq5, report.HnrDb}) {
        CheckOptionalFinite(figure);
    }
}

// The table, the CSV and the JSON a user reads: no non-finite number in any,
// and the JSON tells the status, the cycle count and the sound's facts of
// the report.
void CheckReportOutputs(const RecordingReport& record) {
    static const std::regex nonFinite(R"((^|[^A-Za-z])-?(nan|inf)([^A-Za-z]|$))",
                                      std::regex::icase);
    const ReportFormat format;
    Require(!std::regex_search(format.TableEntry(record, true), nonFinite),
            "report table holds a non-finite number");
    std::string csv;
    format.CsvRow(record, csv);
    Require(!std::regex_search(csv, nonFinite), "report CSV holds a non-finite number");
    const nlohmann::json parsed = nlohmann::json::parse(format.JsonText(record));
    Require(parsed.is_object(), "report JSON is not one record");
    Require(parsed["status"] == record.Outcome.Text, "report JSON status differs");
    Require(parsed["status_code"] == StatusCodeName(record.Outcome.Code),
            "report JSON status code differs");
    // Without a stretch there is no cycle count, which is null rather than 0.
    const nlohmann::json& cycles = parsed["cycles_analysed"];
    Require(record.Report.Quality ? cycles == record.Report.AnalysedCycles : cycles.is_null(),
            "report JSON cycles differ");
    Require(parsed["sample_rate_hz"].is_null() != record.Sound.has_value(),
            "report JSON sound facts differ");
}

}  // namespace
}  // namespace tesmera::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tesmera;
    static const fuzz::ScratchFolder folder;
    if (size < 5) {
        return 0;
    }
    const std::string path = folder.File("recording.wav");
    fuzz::Recipe recipe{};
    if (data[0] & 0x80) {
        folder.Write("recording.wav", {data + 1, size - 1});
    } else {
        fuzz::WriteBuiltRecording(path, data + 1, size - 1, recipe);
    }
    bool readable = false;
    try {
        RecordingFile file(path);
        readable = true;
        const std::span<const double> read = file.Samples(0, file.SampleCount());
        const std::vector<double> samples(read.begin(), read.end());
        for (const double x : samples) {
            fuzz::RequireFinite(x, "sample not finite");
        }
        const ExtractedPeriod period = ExtractPeriod(file, recipe.atSeconds);
        fuzz::CheckPeriod(folder, period, file.Duration());
        // The same samples held in memory: the same cut.
        fuzz::Require(
            ExtractPeriod(MonoRecording{file.SampleRate(), samples}, recipe.atSeconds).Samples ==
                period.Samples,
            "the samples in memory gave another cut");
    } catch (const RecordingError& error) {
        fuzz::Require(std::strlen(error.what()) > 0, "empty refusal");
    }
    const RecordingReport record = ReportRecording(path, recipe.atSeconds);
    fuzz::Require(fuzz::KnownReportStatus(record.Outcome, readable), "unknown report status");
    fuzz::CheckReport(record.Report);
    fuzz::CheckReportOutputs(record);
    return 0;
}
