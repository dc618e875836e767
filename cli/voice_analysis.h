// SPDX-License-Identifier: GPL-3.0-or-later
// One voice file through the period pipeline the window runs, for batch use:
// every text the window would have shown is collected instead of shown.
#pragma once

#include <string>
#include <vector>

#include "analysis/period_analysis.h"

namespace tesmera {

struct VoiceAnalysis : PeriodAnalysis {
    // Every warning and error the window would have shown for this file, in
    // the order shown (error texts already in their error-box form).
    // A name without a digit grade ends the window's compute with a
    // conversion error; a batch keeps the analysis instead, and the file
    // still counts as "ok" (see GradeNote).
    std::vector<Status> Problems;
    // Where ExpertGrade came from: GradeFromTable, GradeFromName, or empty
    // when there is none (set by a batch's GradeSource).
    std::string GradeOrigin;

    // True when the window would have shown no warning and no error.
    bool Ok() const { return Problems.empty(); }
    // "ok", or the problems' texts joined by " | ".
    std::string StatusText() const;
    // "ok"; "no_grade" when ok but no grade was found; otherwise the
    // problems' codes in order, joined by " | " as the texts are.
    std::string StatusCodes() const;
};

// Loads and analyses voice files one after the other: samples are read from
// the data tag's offset, a silent period is analysed (its norm warning ends
// in zero scores), and a period longer than MaxSamples is counted and
// described but not analysed.
class VoiceFileAnalyser {
  public:
    // Never throws for a bad file: its failure is in Problems.
    VoiceAnalysis Analyse(const std::string& path);

  private:
    PeriodAnalyser analyser_;
};

// One file with buffers of its own.
VoiceAnalysis AnalyseVoiceFile(const std::string& path);

}  // namespace tesmera
