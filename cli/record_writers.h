// SPDX-License-Identifier: GPL-3.0-or-later
// The outputs of every batch command: one record per input as CSV or JSON,
// or a table for a person at a terminal. Each writes as the records come,
// so a long batch needs no memory per input; a command only says how its
// records look in each format (a RecordFormat).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "cli/TextOutput.h"

namespace tesmera {

// How one command's records are written.
template <typename Record>
class RecordFormat {
  public:
    virtual ~RecordFormat() = default;
    // The CSV header line and one record's line, each with its "\n", into
    // `line` (a buffer that serves line after line).
    virtual void CsvHeader(std::string& line) const = 0;
    virtual void CsvRow(const Record& record, std::string& line) const = 0;
    // One record as a JSON value of the array, without a line break at
    // either end; any line break inside it is followed by two blanks.
    virtual std::string JsonText(const Record& record) const = 0;
    // The table: its heading, each record's part (`first` for the first
    // record), and what follows the last record.
    virtual std::string TableHeading() const = 0;
    virtual std::string TableEntry(const Record& record, bool first) const = 0;
    virtual std::string TableClosing(bool anyRecord) const = 0;
};

template <typename Record>
class RecordWriter {
  public:
    virtual ~RecordWriter() = default;
    virtual void Write(const Record& record) = 0;
    // Writes any closing text and closes the output; throws OutputFileError.
    virtual void Finish() = 0;
};

// A header line, then one line per record; fields are quoted when they hold
// a comma, a quote or a line break.
template <typename Record>
class CsvRecordWriter final : public RecordWriter<Record> {
  public:
    // The format must outlive the writer.
    CsvRecordWriter(const std::string& path, const RecordFormat<Record>&& format) = delete;
    CsvRecordWriter(const std::string& path, const RecordFormat<Record>& format)
        : output_(path), format_(format) {
        format_.CsvHeader(line_);
        output_.Write(line_);
    }
    void Write(const Record& record) override {
        format_.CsvRow(record, line_);
        output_.Write(line_);
    }
    void Finish() override { output_.Close(); }

  private:
    TextOutput output_;
    const RecordFormat<Record>& format_;
    std::string line_;
};

// An array with one record after the other, each written as it comes, so
// memory stays flat however long the batch; "[]" when there is none.
template <typename Record>
class JsonRecordWriter final : public RecordWriter<Record> {
  public:
    // The format must outlive the writer.
    JsonRecordWriter(const std::string& path, const RecordFormat<Record>&& format) = delete;
    JsonRecordWriter(const std::string& path, const RecordFormat<Record>& format)
        : output_(path), format_(format) {
        output_.Write("[");
    }
    void Write(const Record& record) override {
        output_.Write(first_ ? "\n  " : ",\n  ");
        output_.Write(format_.JsonText(record));
        first_ = false;
    }
    void Finish() override {
        output_.Write(first_ ? "]\n" : "\n]\n");
        output_.Close();
    }

  private:
    TextOutput output_;
    const RecordFormat<Record>& format_;
    bool first_ = true;
};

// The table on standard output.
template <typename Record>
class TableRecordWriter final : public RecordWriter<Record> {
  public:
    explicit TableRecordWriter(const RecordFormat<Record>&& format) = delete;
    explicit TableRecordWriter(const RecordFormat<Record>& format)
        : output_(std::string(TextOutput::StandardOutputName)), format_(format) {
        output_.Write(format_.TableHeading());
    }
    void Write(const Record& record) override {
        output_.Write(format_.TableEntry(record, first_));
        first_ = false;
    }
    void Finish() override {
        output_.Write(format_.TableClosing(!first_));
        output_.Close();
    }

  private:
    TextOutput output_;
    const RecordFormat<Record>& format_;
    bool first_ = true;
};

// The writers a batch command's options ask for: CSV and JSON into the
// files named (empty: none), else the table. Each output is opened here, so
// a path that cannot be written fails before the batch starts.
template <typename Record>
std::vector<std::unique_ptr<RecordWriter<Record>>> RecordWritersFor(
    const std::string& csvPath, const std::string& jsonPath, const RecordFormat<Record>& format) {
    std::vector<std::unique_ptr<RecordWriter<Record>>> writers;
    if (!csvPath.empty()) {
        writers.push_back(std::make_unique<CsvRecordWriter<Record>>(csvPath, format));
    }
    if (!jsonPath.empty()) {
        writers.push_back(std::make_unique<JsonRecordWriter<Record>>(jsonPath, format));
    }
    if (writers.empty()) {
        writers.push_back(std::make_unique<TableRecordWriter<Record>>(format));
    }
    return writers;
}

}  // namespace tesmera
