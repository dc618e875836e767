// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/GradeSource.h"

#include <charconv>
#include <filesystem>
#include <fstream>
#include <string_view>
#include <vector>

#include "analysis/number_text.h"
#include "analysis/reports.h"
#include "cli/UsageError.h"
#include "wave/file_name.h"
#include "wave/file_node.h"
#include "wave/path_problem.h"

namespace tesmera {

namespace {

namespace fs = std::filesystem;

// One CSV record from `in` (quoted fields may span lines); false at the end.
bool ReadCsvRecord(std::istream& in, std::vector<std::string>& fields, int& lineNumber) {
    fields.assign(1, std::string());
    std::string line;
    bool quoted = false;
    bool any = false;
    while (std::getline(in, line)) {
        any = true;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        for (std::size_t i = 0; i < line.size(); ++i) {
            const char c = line[i];
            if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                fields.back() += '"';
                ++i;
            } else if (c == '"') {
                quoted = !quoted;
            } else if (c == ',' && !quoted) {
                fields.emplace_back();
            } else {
                fields.back() += c;
            }
        }
        if (!quoted) {
            return true;
        }
        fields.back() += '\n';
    }
    return any;
}

std::optional<std::size_t> ColumnOf(const std::vector<std::string>& header, std::string_view name) {
    for (std::size_t i = 0; i < header.size(); ++i) {
        if (AsciiLower(header[i]) == name) {
            return i;
        }
    }
    return std::nullopt;
}

// A spreadsheet's "CSV UTF-8" starts with a byte-order mark, which is not
// part of the first column's name.
void SkipByteOrderMark(std::istream& in) {
    constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";
    std::string start(ByteOrderMark.size(), '\0');
    in.read(start.data(), static_cast<std::streamsize>(start.size()));
    if (start != ByteOrderMark) {
        in.clear();
        in.seekg(0);
    }
}

std::int32_t ParseGrade(const std::string& text, const std::string& where) {
    std::int32_t grade = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), grade);
    if (error != std::errc() || end != text.data() + text.size()) {
        throw UsageError(where + ": grade '" + text + "' is not a whole number");
    }
    return grade;
}

// Keeps the row's grade for `key`. A file listed again with the same grade
// is harmless; with another grade the table contradicts itself, and taking
// either would hide a slip in it.
void Enter(std::map<std::string, GradeSource::TableRow>& rows, const std::string& key,
           GradeSource::TableRow row, const std::string& where) {
    const auto [entry, added] = rows.try_emplace(key, row);
    if (!added && entry->second.grade != row.grade) {
        throw UsageError(where + ": '" + key + "' has grade " + IntegerText(row.grade) +
                         ", but line " + std::to_string(entry->second.line) + " gives it grade " +
                         IntegerText(entry->second.grade));
    }
}

}  // namespace

GradeSource GradeSource::NamesOnly(bool nameGrades) {
    GradeSource source;
    source.nameGrades_ = nameGrades;
    return source;
}

GradeSource GradeSource::FromTable(const std::string& tablePath, bool nameGrades) {
    GradeSource source = NamesOnly(nameGrades);
    source.tablePath_ = tablePath;
    std::ifstream in(tablePath, std::ios::binary);
    if (!in) {
        throw UsageError(tablePath + ": the grade table cannot be read: " + ReadProblem(tablePath));
    }
    SkipByteOrderMark(in);
    int lineNumber = 0;
    std::vector<std::string> header;
    if (!ReadCsvRecord(in, header, lineNumber)) {
        throw UsageError(tablePath + ": the grade table is empty");
    }
    const auto pathColumn = ColumnOf(header, "path");
    const auto nameColumn = ColumnOf(header, "name");
    const auto gradeColumn = ColumnOf(header, "grade");
    if (!gradeColumn || (!pathColumn && !nameColumn)) {
        throw UsageError(tablePath +
                         ": the grade table needs a header with a 'grade' column and a 'path' "
                         "or 'name' column");
    }
    std::vector<std::string> row;
    while (ReadCsvRecord(in, row, lineNumber)) {
        if (row.size() == 1 && row[0].empty()) {
            continue;  // a blank line
        }
        const std::string where = tablePath + " line " + std::to_string(lineNumber);
        if (row.size() <= *gradeColumn) {
            throw UsageError(where + ": no grade");
        }
        const std::int32_t grade = ParseGrade(row[*gradeColumn], where);
        if (pathColumn && *pathColumn < row.size() && !row[*pathColumn].empty()) {
            Enter(source.byPath_, NormalPath(row[*pathColumn]), {grade, lineNumber}, where);
        }
        if (nameColumn && *nameColumn < row.size() && !row[*nameColumn].empty()) {
            Enter(source.byName_, row[*nameColumn], {grade, lineNumber}, where);
        }
    }
    return source;
}

std::optional<std::int32_t> GradeSource::TableGrade(const std::string& path) const {
    // Normalising a path asks the file system about every folder on it: not
    // worth doing for a table without paths, or without a table.
    if (!byPath_.empty()) {
        if (const auto found = byPath_.find(NormalPath(path)); found != byPath_.end()) {
            return found->second.grade;
        }
    }
    if (byName_.empty()) {
        return std::nullopt;
    }
    const fs::path name = fs::path(path).filename();
    for (const fs::path& key : {name, name.stem()}) {
        if (const auto found = byName_.find(key.string()); found != byName_.end()) {
            return found->second.grade;
        }
    }
    return std::nullopt;
}

void GradeSource::Apply(const std::string& path, std::optional<std::int32_t>& grade,
                        std::string& note, std::string& origin) const {
    if (const auto fromTable = TableGrade(path)) {
        grade = *fromTable;
        note.clear();
        origin = GradeFromTable;
    } else if (nameGrades_ && grade) {
        origin = GradeFromName;
    } else if (!nameGrades_) {
        grade.reset();
        note = tablePath_.empty()
                   ? "grades from names are turned off"
                   : "not in " + tablePath_ + " and grades from names are turned off";
    }
}

void GradeSource::Apply(VoiceAnalysis& record) const {
    Apply(record.Path, record.ExpertGrade, record.GradeNote, record.GradeOrigin);
}

bool GradeIsPartOfANumber(const std::string& path) {
    const std::string stem = GradeStem(AsciiLower(FileNamePart(path)));
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    return stem.size() >= 2 && isDigit(stem.back()) && isDigit(stem[stem.size() - 2]);
}

}  // namespace tesmera
