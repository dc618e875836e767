// SPDX-License-Identifier: GPL-3.0-or-later
// Where the expert grades of a batch come from: a table the user gives
// (--grades), and unless turned off (--no-name-grades) the last character of
// each file name, as the window reads it.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "cli/voice_analysis.h"

namespace tesmera {

// GradeOrigin values, as the outputs write them.
constexpr const char* GradeFromTable = "table";
constexpr const char* GradeFromName = "name";

class GradeSource {
  public:
    // Grades from file names only.
    GradeSource() = default;

    // Reads the table: CSV with a header line naming a "path" or a "name"
    // column and a "grade" column (other columns ignored, quoted fields
    // allowed); each row gives the grade, a whole number, of the file with
    // that path (as given to the batch, or the same file) or that name
    // (with or without its extension); a byte-order mark before the header
    // is skipped. A file listed on two lines with different grades is
    // refused, naming both lines. Throws UsageError naming the table
    // and the line for a table that cannot be read or used.
    static GradeSource FromTable(const std::string& tablePath, bool nameGrades);
    // No table; `nameGrades` false leaves every grade absent.
    static GradeSource NamesOnly(bool nameGrades);

    // Sets `grade`, `note` and `origin` of the input at `path`, whose name
    // gave `grade` (nothing when it gives none, `note` then says why): the
    // table's grade when it has the input, else the name's (when allowed),
    // else none.
    void Apply(const std::string& path, std::optional<std::int32_t>& grade, std::string& note,
               std::string& origin) const;
    void Apply(VoiceAnalysis& record) const;

    // A grade of the table and the line that gives it.
    struct TableRow {
        std::int32_t grade = 0;
        int line = 0;
    };

  private:
    std::optional<std::int32_t> TableGrade(const std::string& path) const;

    bool nameGrades_ = true;
    std::string tablePath_;
    std::map<std::string, TableRow> byPath_;  // normalised absolute paths
    std::map<std::string, TableRow> byName_;  // names, and names without extension
};

// True when the name's grade is the last digit of a longer number
// ("rec_2023.wav" gives 3), which is seldom meant as a grade.
bool GradeIsPartOfANumber(const std::string& path);

}  // namespace tesmera
