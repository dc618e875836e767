// SPDX-License-Identifier: GPL-3.0-or-later
// The outputs of every batch command: one record per input as CSV or JSON,
// or a table for a person at a terminal. Each writes as the records come,
// so a long batch needs no memory per input; a command only says how its
// records look in each format (a RecordFormat).
#pragma once

#include <exception>
#include <memory>
#include <optional>
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
    // record), and what follows the last record (`noted`: some record's
    // part needs the closing note).
    virtual std::string TableHeading() const = 0;
    virtual std::string TableEntry(const Record& record, bool first) const = 0;
    virtual bool TableNeedsNote(const Record& /*record*/) const { return false; }
    virtual std::string TableClosing(bool noted) const = 0;
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

// One record a line (JSON Lines), each written as it comes.
template <typename Record>
class JsonLinesRecordWriter final : public RecordWriter<Record> {
  public:
    // The format must outlive the writer.
    JsonLinesRecordWriter(const std::string& path, const RecordFormat<Record>&& format) = delete;
    JsonLinesRecordWriter(const std::string& path, const RecordFormat<Record>& format)
        : output_(path), format_(format) {}
    void Write(const Record& record) override {
        output_.Write(format_.JsonText(record));
        output_.Write("\n");
    }
    void Finish() override { output_.Close(); }

  private:
    TextOutput output_;
    const RecordFormat<Record>& format_;
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
        noted_ = noted_ || format_.TableNeedsNote(record);
    }
    void Finish() override {
        output_.Write(format_.TableClosing(noted_));
        output_.Close();
    }

  private:
    TextOutput output_;
    const RecordFormat<Record>& format_;
    bool first_ = true;
    bool noted_ = false;
};

// Where a batch command's records go (empty: not there).
struct RecordPaths {
    std::string csv;
    std::string json;
    std::string jsonLines;

    bool AnyFile() const { return !csv.empty() || !json.empty() || !jsonLines.empty(); }
    // The table goes to standard output when no file is asked for.
    bool UsesStandardOutput() const {
        const auto standard = std::string(TextOutput::StandardOutputName);
        return !AnyFile() || csv == standard || json == standard || jsonLines == standard;
    }
};

// An output of a batch that fails on its own: after its first failure it is
// left alone and the failure kept for the end, while the others go on, so
// one full disk does not cost the other outputs their records.
class GuardedOutput {
  public:
    template <typename Action>
    void Attempt(Action&& action) {
        if (failure_) {
            return;
        }
        try {
            action();
        } catch (const std::exception& error) {
            failure_ = error.what();
        }
    }
    const std::optional<std::string>& Failure() const { return failure_; }

  private:
    std::optional<std::string> failure_;
};

// The record outputs a batch command's options ask for: CSV, JSON and JSON
// Lines into the files named, else the table. Each output is opened by the
// constructor, so a path that cannot be written fails before the batch
// starts; later each fails on its own (see GuardedOutput).
template <typename Record>
class RecordOutputs {
  public:
    // The format must outlive the outputs.
    RecordOutputs(const RecordPaths& paths, const RecordFormat<Record>&& format) = delete;
    RecordOutputs(const RecordPaths& paths, const RecordFormat<Record>& format) {
        if (!paths.csv.empty()) {
            Add(std::make_unique<CsvRecordWriter<Record>>(paths.csv, format));
        }
        if (!paths.json.empty()) {
            Add(std::make_unique<JsonRecordWriter<Record>>(paths.json, format));
        }
        if (!paths.jsonLines.empty()) {
            Add(std::make_unique<JsonLinesRecordWriter<Record>>(paths.jsonLines, format));
        }
        if (outputs_.empty()) {
            Add(std::make_unique<TableRecordWriter<Record>>(format));
        }
    }
    void Write(const Record& record) {
        for (Output& output : outputs_) {
            output.guard.Attempt([&] { output.writer->Write(record); });
        }
    }
    // Closes every output that has not failed, so what was written is
    // complete (a JSON array ends even when the batch stopped early);
    // returns each failure's message.
    std::vector<std::string> Finish() {
        std::vector<std::string> failures;
        for (Output& output : outputs_) {
            output.guard.Attempt([&] { output.writer->Finish(); });
            if (output.guard.Failure()) {
                failures.push_back(*output.guard.Failure());
            }
        }
        return failures;
    }

  private:
    struct Output {
        std::unique_ptr<RecordWriter<Record>> writer;
        GuardedOutput guard;
    };
    void Add(std::unique_ptr<RecordWriter<Record>> writer) {
        outputs_.push_back({std::move(writer), {}});
    }

    std::vector<Output> outputs_;
};

}  // namespace tesmera
