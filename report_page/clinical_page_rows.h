// SPDX-License-Identifier: GPL-3.0-or-later
// The texts of the one-page clinical report, as plain values, so the page's
// painting only places them and a test can read them without a PDF. Numbers
// are rounded as the command line's report table rounds them.
#pragma once

#include <string>
#include <vector>

#include "recording/voice_report.h"

namespace tesmera {

// One line of the measures table; "n/a" stands for a figure that does not
// exist.
struct MeasureRow {
    std::string Label;
    std::string Value;
    std::string Unit;
    std::string Norm;  // the normal range or threshold; empty when none is known
    bool Outside = false;
};

// F0 (mean and SD), jitter local/absolute/RAP/PPQ5, shimmer local/dB/APQ3/
// APQ5, HNR and CPPS, in that order, each with its published norm as the
// other reports give it (MeasureLines). The one list the page's table is
// drawn from.
std::vector<MeasureRow> PageMeasureRows(const VoiceReport& report);

// One line of the models table: "SCORE(10)", the median value, the grade
// with "?" when borderline. Without analysed cycles the figures are "n/a".
struct ModelRow {
    std::string Model;
    std::string Median;
    std::string Grade;
};
std::vector<ModelRow> PageModelRows(const VoiceReport& report);

// The line a reader takes in first, as every report opens (ReportSummary):
// the models' grade vote, AVQI, steadiness and quality.
std::string PageSummaryLine(const VoiceReport& report);

// "steady", or "not steady: " and the reason.
std::string PageSteadinessText(const VoiceReport& report);
// The recording quality's verdict, or "n/a" without a stretch.
std::string PageQualityText(const VoiceReport& report);

// "AVQI 4.10": the index rounded as the page shows it.
std::string AvqiText(double avqi);

}  // namespace tesmera
