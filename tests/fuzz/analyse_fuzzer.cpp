// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as a voice file through the load and compute path and the CSV
// and JSON writers: only the window's own message texts, no NaN, scores
// 1..5 when scored, orders 1..M, outputs that parse back, and the window's
// two buttons telling the same as the command line.
#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <regex>
#include <span>
#include <string>
#include <vector>

#include "analysis/fourier_apr.h"
#include "analysis/reports.h"
#include "analysis/scores.h"
#include "cli/analysis_format.h"
#include "cli/voice_analysis.h"
#include "fuzz/fuzz_support.h"
#include "wave/errors.h"
#include "wave/voice_period.h"

namespace tesmera::fuzz {
namespace {

bool KnownMessage(const std::string& message) {
    static const std::array<std::string, 14> fixed{
        " V souboru WAVE nebylo nalezeno navesti \"RIFF\" ",
        " V souboru WAVE nebylo nalezeno navesti \"WAVE\" ",
        " V souboru WAVE nebyla nalezena identifikace \"fmt_\" ",
        " Data v souboru WAVE nejsou ve formatu PCM ",
        " Data v souboru WAVE nejsou MONO ",
        " Data v souboru WAVE nejsou 16-bitova ",
        " V souboru WAVE nebylo nalezeno navesti \"data\" ",
        std::string(NothingToAnalyseWarning),
        std::string(NormIsZeroWarning),
        std::string(ZeroCoefficientWarning),
        "File not found.",
        "File access denied.",
        "Read beyond end of file.",
        "Invalid floating point operation.",
    };
    static const std::regex rate(" Data byla vzorkovana rychlosti = -?[0-9]+");
    return std::find(fixed.begin(), fixed.end(), message) != fixed.end() ||
           std::regex_match(message, rate);
}

void CheckRecord(const VoiceAnalysis& record) {
    for (const Status& problem : record.Problems) {
        Require(KnownMessage(problem.Text), "unknown message: " + problem.Text);
        Require(problem.Code != StatusCode::Error, "no code for: " + problem.Text);
    }
    if (record.Stage == AnalysisStage::NotLoaded) {
        return;
    }
    Require(record.SampleCount >= 0, "negative sample count");
    for (const double value :
         {record.Mean, record.StdDev, record.MaxAbs, record.PeriodFrequency, record.PeriodMs}) {
        RequireFinite(value, "statistic not finite");
    }
    Require(record.MaxAbs <= 32768, "peak above 16 bits");
    if (record.Stage != AnalysisStage::Analysed) {
        return;
    }
    const std::int32_t M = MaximumOrder(record.SampleCount);
    // One sample has no series: the order stays as it was, unset.
    if (record.SampleCount >= 2) {
        Require(record.ApproxOrder >= 1 && record.ApproxOrder <= M, "order outside 1..M");
    } else {
        Require(record.ApproxOrder == 0, "order for a period without a series");
    }
    for (std::size_t k = 0; k < CoefficientCount; ++k) {
        RequireFinite(record.ax[k], "ax not finite");
        RequireFinite(record.bx[k], "bx not finite");
        RequireFinite(record.AA[k], "AA not finite");
        Require(record.AA[k] >= 0, "negative amplitude");
    }
    RequireFinite(record.AmplitudeNorm, "norm not finite");
    for (std::size_t j = 0; j < ScoreModelCount; ++j) {
        RequireFinite(record.ScoreValue[j], "score value not finite");
        if (record.Scored) {
            Require(record.Score[j] >= 1 && record.Score[j] <= 5, "score outside 1..5");
        } else {
            Require(record.Score[j] == 0, "score without the models");
        }
    }
    if (record.ExpertGrade) {
        Require(*record.ExpertGrade >= 0 && *record.ExpertGrade <= 9, "grade outside 0..9");
    }
}

void CheckOutputs(const ScratchFolder& folder, const VoiceAnalysis& record) {
    const std::string csvPath = folder.File("out.csv");
    const std::string jsonPath = folder.File("out.json");
    const AnalysisFormat format;
    CsvRecordWriter<VoiceAnalysis> csv(csvPath, format);
    JsonRecordWriter<VoiceAnalysis> json(jsonPath, format);
    csv.Write(record);
    json.Write(record);
    csv.Finish();
    json.Finish();
    const nlohmann::json parsed = nlohmann::json::parse(ReadWhole(jsonPath));
    Require(parsed.is_array() && parsed.size() == 1, "JSON is not one record");
    Require(parsed[0]["status"] == record.StatusText(), "JSON status differs");
    const std::string text = ReadWhole(csvPath);
    Require(text.find("nan") == std::string::npos && text.find("inf") == std::string::npos,
            "CSV holds a non-finite number");
}

// What the window shows for a file: Load, then Compute, through the core
// calls its commands make (a missing grade stops Compute; an error ends a
// command in the error box's text).
struct WindowRun {
    PeriodAnalysis record;
    std::vector<std::string> messages;
};

WindowRun RunLikeTheWindow(const std::string& path) {
    static std::vector<double> samples(MaxSamples);
    static std::vector<double> fundamental(MaxSamples);
    static std::vector<double> approximation(MaxSamples);
    WindowRun run;
    run.record.Path = path;
    const WarningSink show = [&run](const Status& warning) {
        run.messages.push_back(warning.Text);
    };
    bool loaded = false;
    try {
        loaded = LoadPeriodFile(run.record, samples, show);
    } catch (const TesmeraError& error) {
        show({error.Code(), ErrorBoxText(error.what())});
    }
    // After a failed load Compute only warns that nothing is loaded; a
    // batch never presses it, so that warning is not compared.
    if (!loaded) {
        return run;
    }
    if (!Analysable(true, run.record.SampleCount)) {
        show({StatusCode::TooLong, std::string(NothingToAnalyseWarning)});
        return run;
    }
    const auto count = static_cast<std::size_t>(run.record.SampleCount);
    try {
        ExpandPeriod(run.record, std::span(samples).first(count), FundamentalTraceOrder,
                     ApproxEnergyTolerance, fundamental, approximation);
        RatePeriod(run.record, MissingGrade::Stops, show);
    } catch (const TesmeraError& error) {
        show({error.Code(), ErrorBoxText(error.what())});
    }
    return run;
}

// The same bytes give the same texts, in the same order, and the same
// figures in the window and on the command line.
void CheckWindowAgrees(const std::string& path, const VoiceAnalysis& record) {
    const WindowRun window = RunLikeTheWindow(path);
    std::vector<std::string> texts;
    for (const Status& problem : record.Problems) {
        texts.push_back(problem.Text);
    }
    Require(window.messages == texts, "the window shows other messages");
    const PeriodAnalysis& shown = window.record;
    Require(shown.Stage == record.Stage, "the window reaches another stage");
    Require(shown.SampleCount == record.SampleCount && shown.MaxAbs == record.MaxAbs &&
                shown.Mean == record.Mean && shown.StdDev == record.StdDev,
            "the window loads other statistics");
    Require(shown.ApproxOrder == record.ApproxOrder && shown.AA == record.AA,
            "the window expands another series");
    Require(shown.Scored == record.Scored && shown.Score == record.Score &&
                shown.ScoreValue == record.ScoreValue,
            "the window gives other scores");
}

}  // namespace
}  // namespace tesmera::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tesmera;
    static const fuzz::ScratchFolder folder;
    static VoiceFileAnalyser analyser;
    const std::string path = folder.Write("voice3.wav", {data, size});
    const VoiceAnalysis record = analyser.Analyse(path);
    fuzz::CheckRecord(record);
    fuzz::CheckOutputs(folder, record);
    fuzz::CheckWindowAgrees(path, record);
    return 0;
}
