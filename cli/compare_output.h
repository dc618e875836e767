// SPDX-License-Identifier: GPL-3.0-or-later
// How `compare` writes its rows, one per compared figure: JSON objects,
// CSV rows of the same fields, or a table with both paths above it.
#pragma once

#include <string>

#include "cli/record_writers.h"
#include "recording/report_comparison.h"

namespace tesmera {

struct ComparisonRow {
    const std::string* BeforePath = nullptr;
    const std::string* AfterPath = nullptr;
    const ComparedFigure* Figure = nullptr;
    FigureChange Change;
};

// Fields: before_path, after_path, figure, unit, key, model (null but for
// a model's median), before, after, change, noise, verdict; a figure
// missing on one side gives null values beyond it and "not compared".
class ComparisonFormat final : public RecordFormat<ComparisonRow> {
  public:
    void CsvHeader(std::string& line) const override;
    void CsvRow(const ComparisonRow& row, std::string& line) const override;
    std::string JsonText(const ComparisonRow& row) const override;
    std::string TableHeading() const override;
    std::string TableEntry(const ComparisonRow& row, bool first) const override;
    std::string TableClosing(bool noted) const override;
};

}  // namespace tesmera
