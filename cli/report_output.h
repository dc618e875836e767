// SPDX-License-Identifier: GPL-3.0-or-later
// The outputs of `report`: JSON (an array of ReportRecordJson objects),
// CSV (one row per recording, the same fields flattened) and the terminal
// table a person reads.
#pragma once

#include <span>
#include <string>

#include "cli/recording_report.h"

namespace tesmera {

// The array, indented by two spaces, ending in a line break.
std::string ReportJsonText(std::span<const RecordingReport> records);

// A header line and one line per recording. Nested fields are named by
// their path: "SCORE(10).median_value", "SCORE(10).grade_share_1" ...
// "SCORE(10).grade_share_5"; null values are empty fields, true and false
// are written as such.
std::string ReportCsvText(std::span<const RecordingReport> records);

// Per recording: its name, status, grade, stretch and cycle count with
// the steadiness verdict, a row per model with the median's score (marked
// "?" when borderline), the median, the IQR and the grade shares, then the
// perturbation figures.
std::string ReportTableText(std::span<const RecordingReport> records);

}  // namespace tesmera
