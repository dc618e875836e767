// SPDX-License-Identifier: GPL-3.0-or-later
// How `analyze` writes one voice file's analysis: CSV and JSON records with
// the fields of VisitRecordFields (JSON: an object per line, series as
// arrays, the models as an array of objects, absent values null; CSV: a
// series' entries numbered "aa_0", a model's figures named by ModelColumn; always valid UTF-8, a
// name that is not is written with U+FFFD and its bytes in hex beside it, "path_bytes"), or a table
// row of file name, sample count, period frequency, approximation order, grade, the six scores and
// the status.
#pragma once

#include "cli/record_writers.h"
#include "cli/voice_analysis.h"

namespace tesmera {

class AnalysisFormat final : public RecordFormat<VoiceAnalysis> {
  public:
    void CsvHeader(std::string& line) const override;
    void CsvRow(const VoiceAnalysis& record, std::string& line) const override;
    std::string JsonText(const VoiceAnalysis& record) const override;
    std::string TableHeading() const override;
    std::string TableEntry(const VoiceAnalysis& record, bool first) const override;
    std::string TableClosing(bool noted) const override;
};

}  // namespace tesmera
