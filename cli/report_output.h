// SPDX-License-Identifier: GPL-3.0-or-later
// How `report` writes one recording's report: JSON (ReportRecordJson
// objects, indented by two spaces), CSV (one row per recording, the same
// fields flattened) and the terminal table a person reads.
#pragma once

#include "cli/record_writers.h"
#include "cli/recording_report.h"

namespace tesmera {

// JSON: one ReportRecordJson object per line. CSV: one row per recording,
// the same fields flattened, a model's figures named by ModelColumn
// ("model_10_median_value", "model_10_grade_share_1" ...); null values are
// empty fields, true and false are written as such.
// Table, per recording: its name, status, grade, stretch and cycle count
// with the steadiness verdict, a row per model with the median's score
// (marked "?" when borderline), the median, the IQR and the grade shares,
// then the perturbation figures; a note on "?" closes it when a mark was
// printed.
class ReportFormat final : public RecordFormat<RecordingReport> {
  public:
    void CsvHeader(std::string& line) const override;
    void CsvRow(const RecordingReport& record, std::string& line) const override;
    std::string JsonText(const RecordingReport& record) const override;
    std::string TableHeading() const override;
    std::string TableEntry(const RecordingReport& record, bool first) const override;
    bool TableNeedsNote(const RecordingReport& record) const override;
    std::string TableClosing(bool noted) const override;
};

}  // namespace tesmera
