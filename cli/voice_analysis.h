// The window's load and compute commands as one Qt-free step per voice file,
// for batch use: the same header checks, sample loading and analysis, with
// every text the window would have shown collected instead of shown.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/FourierApr.h"
#include "analysis/scores.h"

namespace tesmera {

// How far a file got; each stage's values are valid from that stage on.
enum class AnalysisStage {
    NotLoaded,  // header rejected or a file error: no values
    Loaded,     // samples read: SampleCount and the statistics
    Analysed,   // series, amplitudes, normalisation and scores
};

struct VoiceAnalysis {
    std::string Path;
    // Every warning and error text the window would have shown for this
    // file, in the order shown (errors already in their error-box form).
    std::vector<std::string> Messages;
    AnalysisStage Stage = AnalysisStage::NotLoaded;

    // Loaded.
    std::int32_t SampleCount = 0;
    double Mean = 0;
    double StdDev = 0;
    double MaxAbs = 0;
    double PeriodFrequency = 0;  // Hz, at the nominal rate
    double PeriodMs = 0;         // ms, at the nominal rate

    // Analysed. After a normalisation warning the scores stay 0, as the
    // window reports them.
    std::int32_t ApproxOrder = 0;
    std::array<double, CoefficientCount> ax{};
    std::array<double, CoefficientCount> bx{};
    std::array<double, CoefficientCount> AA{};
    double AmplitudeNorm = 0;
    std::array<double, NormHarmonics> AANorm{};  // harmonics 1..15 at 0..14
    std::array<double, ScoreModelCount> ScoreValue{};
    std::array<std::int32_t, ScoreModelCount> Score{};
    bool Scored = false;  // the models were applied (no normalisation warning)

    // The expert grade from the file name. A name without a digit grade
    // ends the window's compute with a conversion error before the scores;
    // a batch keeps the analysis instead: the grade is absent, GradeNote
    // holds the conversion's message, and the file still counts as "ok".
    std::optional<std::int32_t> ExpertGrade;
    std::string GradeNote;
    // Where ExpertGrade came from: GradeFromTable, GradeFromName, or empty
    // when there is none (set by a batch's GradeSource).
    std::string GradeOrigin;

    // True when the window would have shown no warning and no error.
    bool Ok() const { return Messages.empty(); }
    // "ok", or the messages joined by " | ".
    std::string Status() const;
};

// Loads and analyses voice files as the window's two commands would, with
// the faults they mend: samples are read from the data tag's offset, a
// silent period is analysed (its norm warning ends in zero scores), and a
// period longer than MaxSamples is counted and described but not analysed.
// Its working buffers serve file after file, so a batch allocates nothing
// per file for them.
class VoiceFileAnalyser {
  public:
    VoiceFileAnalyser();

    // Never throws for a bad file: its failure is in Messages.
    VoiceAnalysis Analyse(const std::string& path);

  private:
    std::vector<double> samples_;  // MaxSamples each
    std::vector<double> fundamental_;
    std::vector<double> approximation_;
};

// One file with buffers of its own.
VoiceAnalysis AnalyseVoiceFile(const std::string& path);

}  // namespace tesmera
