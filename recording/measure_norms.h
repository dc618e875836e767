// SPDX-License-Identifier: GPL-3.0-or-later
// The voice report's measures beside their published norms: one data table
// of thresholds with their sources, and one list of rows (label, value,
// unit, norm, outside or not) that the command line's table, the recording
// window and a printed page all draw, so they cannot disagree.
//
// docs/measures.md gives the full citation of every source named here.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "recording/voice_report.h"

namespace tesmera {

// Which side of a threshold speaks for a disorder.
enum class OutsideWhen {
    AtOrAbove,  // perturbation and AVQI: the threshold itself counts as outside
    Below,      // CPPS: a disorder lies below the cut-off; the cut-off itself is normal
};

struct MeasureNorm {
    // The measure's key in the JSON and CSV records ("jitter_local_pct").
    std::string_view Key;
    std::string_view Label;  // "jitter local"
    std::string_view Unit;   // of the displayed value: "%", "µs", "dB", "Hz", "" for AVQI
    int Digits = 0;          // decimals the reports show
    // In Unit; absent where the literature gives a reference, not a
    // threshold (F0, HNR) or nothing for the measure as Praat computes it.
    std::optional<double> Threshold;
    OutsideWhen Outside = OutsideWhen::AtOrAbove;
    std::string_view Norm;    // "below 1.04 %", or the reference in words
    std::string_view Source;  // "MDVP, in the Praat manual"
    std::string_view Caveat;  // language, sex, vowel or software it depends on
};

// Every measure of the voice report in the order the reports list them:
// F0 mean, jitter local/absolute/RAP/PPQ5, shimmer local/dB/APQ3/APQ5,
// HNR, CPPS, AVQI.
std::span<const MeasureNorm> MeasureNorms();

// True when `value` (in the norm's unit) lies on the disorder's side of the
// norm's threshold; false without a threshold.
bool OutsideNorm(const MeasureNorm& norm, double value);

struct MeasureLine {
    const MeasureNorm* Norm = nullptr;  // into MeasureNorms(): label, unit, norm, source
    std::optional<double> Value;        // in Norm->Unit; absent where undefined
    bool Outside = false;               // a value outside the norm's threshold
};

// One line per measure of MeasureNorms(), AVQI only when the report has it.
// A report without analysed cycles has only CPPS (and AVQI) defined.
std::vector<MeasureLine> MeasureLines(const VoiceReport& report);

// The value as the reports write it: Digits decimals with `decimal` as
// separator, a space and the unit ("1.234 %"), or "n/a" when absent.
std::string MeasureValueText(const MeasureLine& line, std::string_view decimal = ".");

}  // namespace tesmera
